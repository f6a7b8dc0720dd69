#include "mp3/genres.h"

#include <gtest/gtest.h>

#include <set>

namespace tallymere {
namespace {

TEST(GenresTest, KeepsTheTraditionalSpellings) {
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
}

TEST(GenresTest, NamesExactlyTheFirst148Entries) {
  std::set<std::string_view> distinct;
  for (int index = 0; index < 256; ++index) {
    if (index < kNamedGenres) {
      EXPECT_FALSE(Genres[index].empty()) << index;
      distinct.insert(Genres[index]);
    } else {
      EXPECT_TRUE(Genres[index].empty()) << index;
    }
  }
  EXPECT_EQ(distinct.size(), 148u);
}

TEST(GenresTest, GenreByteMatchesNamesExactly) {
  EXPECT_EQ(GenreByte("Rock"), 17);
  EXPECT_EQ(GenreByte("rock"), 148);
  EXPECT_EQ(GenreByte("Rock "), 148);
  EXPECT_EQ(GenreByte(""), 148);
  EXPECT_EQ(GenreByte("Psychedelic"), 148);
  EXPECT_EQ(GenreByte("Blues"), 0);
  EXPECT_EQ(GenreByte("Synth Pop"), 147);
  for (int index = 0; index < kNamedGenres; ++index) {
    EXPECT_EQ(GenreByte(Genres[index]), index) << Genres[index];
  }
}

TEST(GenresTest, GenreNameOfUnnamedBytesIsEmpty) {
  EXPECT_EQ(GenreName(17), "Rock");
  EXPECT_EQ(GenreName(148), "");
  EXPECT_EQ(GenreName(254), "");
  EXPECT_EQ(GenreName(255), "");
}

}  // namespace
}  // namespace tallymere
