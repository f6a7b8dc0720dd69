#include <gtest/gtest.h>

#include <set>

#include "mp3/genres.h"
#include "mp3/id3v1.h"
#include "mp3/id3v2.h"
#include "mp3/mp3_fixtures.h"

namespace tallymere {
namespace {

using testing::Id3v1Block;

TEST(Id3v1Test, RecognisesTagsAndErasedTagsAndTrimsAndDecodesTheirTexts) {
  const std::string tag = Id3v1Block({.title = "A"});
  EXPECT_TRUE(IsTagBlock(tag) && !IsErasedTagBlock(tag));
  EXPECT_FALSE(IsTagBlock(tag.substr(0, 127)));
  const std::string erased = Id3v1Block({.marker = "000"});
  EXPECT_TRUE(!IsTagBlock(erased) && IsErasedTagBlock(erased));
  EXPECT_FALSE(IsTagBlock(Id3v1Block({.marker = "tag"})));
  EXPECT_FALSE(IsErasedTagBlock(Id3v1Block({.marker = "00 "})));

  const Id3v1Tag spaced = ReadTagBlock(Id3v1Block({.title = "  Two  words ", .year = "1999"}));
  EXPECT_EQ(spaced.title + "|" + spaced.album + "|" + spaced.year, "Two  words||1999");
  EXPECT_EQ(spaced.genre, 17);
  // Leading spaces go; the NULs stop the trim at the end.
  const Id3v1Tag nul = ReadTagBlock(Id3v1Block({.title = "  Two  words ", .pad = '\0'}));
  EXPECT_EQ(nul.title, std::string("Two  words ") + std::string(17, '\0'));
  EXPECT_EQ(nul.album, std::string(30, '\0'));

  const Id3v1Tag text =
      ReadTagBlock(Id3v1Block({.title = "Caf\xE9 \x80", .artist = "\xCE\xA9mega"}));
  EXPECT_EQ(text.title, "Caf\xC3\xA9 \xE2\x82\xAC");  // "Café €"
  EXPECT_EQ(text.artist, "\xCE\xA9mega");             // "Ωmega" stays UTF-8
}

using testing::Bytes;
using testing::Id3v2Block;

TEST(Id3v2Test, LengthCountsHeaderSevenBitSizeAndFooterOfTagHeadersOnly) {
  EXPECT_EQ(Id3v2TagLength(Id3v2Block(20000)), 20010u);
  EXPECT_EQ(Id3v2TagLength(Id3v2Block(0)), 10u);
  EXPECT_EQ(Id3v2TagLength(Id3v2Block(300, /*with_footer=*/true)), 320u);
  EXPECT_EQ(Id3v2TagLength("ID3" + Bytes({4, 0, 0, 0, 0, 2, 1})), 10u + 257u);
  EXPECT_EQ(Id3v2TagLength("ID3" + Bytes({4, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F})), 10u + 0x0FFFFFFFu);
  // What is not a tag header has no length.
  EXPECT_EQ(Id3v2TagLength(""), 0u);
  EXPECT_EQ(Id3v2TagLength("ID3" + Bytes({3, 0, 0, 0, 0, 2})), 0u);        // too short
  EXPECT_EQ(Id3v2TagLength("ID3" + Bytes({3, 0, 0, 0, 0, 0x80, 1})), 0u);  // not sync-safe
  EXPECT_EQ(Id3v2TagLength("ID3" + Bytes({0xFF, 0, 0, 0, 0, 2, 1})), 0u);  // bad version
  EXPECT_EQ(Id3v2TagLength("id3" + Bytes({3, 0, 0, 0, 0, 2, 1})), 0u);
  EXPECT_EQ(Id3v2TagLength(testing::Frame()), 0u);
}

TEST(GenresTest, NamesTheFirst148InTheTraditionalSpellingsMatchedExactlyByGenreByte) {
  std::string spellings;
  for (int index : {48, 67, 85, 90, 131, 133, 140, 144, 147})
    spellings += std::string(Genres[index]) + "|";
  EXPECT_EQ(spellings,
            "Ethic|Psychalelic|Bebob|Avantegarde|indie|Negerpunk|Comteporary Christian|Trash "
            "Metal|Synth Pop|");
  std::set<std::string_view> distinct;
  for (int index = 0; index < 256; ++index) {
    EXPECT_EQ(Genres[index].empty(), index >= kNamedGenres) << index;
    if (index < kNamedGenres) distinct.insert(Genres[index]);
  }
  EXPECT_EQ(distinct.size(), 148u);
  for (int index = 0; index < kNamedGenres; ++index) {
    EXPECT_EQ(GenreByte(Genres[index]), index) << Genres[index];
  }
  for (const char* other : {"rock", "Rock ", "", "Psychedelic"}) EXPECT_EQ(GenreByte(other), 148);
  for (const int unnamed : {148, 254, 255}) EXPECT_EQ(GenreName(unnamed), "") << unnamed;
}

}  // namespace
}  // namespace tallymere
