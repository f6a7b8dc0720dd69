#include "mp3/genres.h"

#include <gtest/gtest.h>

#include <set>

namespace tallymere {
namespace {

TEST(GenresTest, NamesTheFirst148EntriesInTheTraditionalSpellings) {
  EXPECT_EQ(Genres[0], "Blues");
  EXPECT_EQ(Genres[17], "Rock");
  EXPECT_EQ(Genres[48], "Ethic");
  EXPECT_EQ(Genres[67], "Psychalelic");
  EXPECT_EQ(Genres[85], "Bebob");
  EXPECT_EQ(Genres[90], "Avantegarde");
  EXPECT_EQ(Genres[131], "indie");
  EXPECT_EQ(Genres[133], "Negerpunk");
  EXPECT_EQ(Genres[140], "Comteporary Christian");
  EXPECT_EQ(Genres[144], "Trash Metal");
  EXPECT_EQ(Genres[147], "Synth Pop");
  std::set<std::string_view> distinct;
  for (int index = 0; index < 256; ++index) {
    EXPECT_EQ(Genres[index].empty(), index >= kNamedGenres) << index;
    if (index < kNamedGenres) distinct.insert(Genres[index]);
  }
  EXPECT_EQ(distinct.size(), 148u);
}

TEST(GenresTest, GenreByteMatchesNamesExactlyAndUnnamedBytesHaveNoName) {
  for (int index = 0; index < kNamedGenres; ++index) {
    EXPECT_EQ(GenreByte(Genres[index]), index) << Genres[index];
  }
  for (const char* other : {"rock", "Rock ", "", "Psychedelic"}) EXPECT_EQ(GenreByte(other), 148);
  EXPECT_EQ(GenreName(17), "Rock");
  for (const int unnamed : {148, 254, 255}) EXPECT_EQ(GenreName(unnamed), "") << unnamed;
}

}  // namespace
}  // namespace tallymere
