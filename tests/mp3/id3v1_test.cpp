#include "mp3/id3v1.h"

#include <gtest/gtest.h>

#include "mp3/mp3_fixtures.h"

namespace tallymere {
namespace {

using testing::Id3v1Block;

TEST(Id3v1Test, RecognisesTagAndErasedTag) {
  const std::string tag = Id3v1Block({.title = "A"});
  EXPECT_TRUE(IsTagBlock(tag) && !IsErasedTagBlock(tag));
  EXPECT_FALSE(IsTagBlock(tag.substr(0, 127)));
  const std::string erased = Id3v1Block({.marker = "000"});
  EXPECT_TRUE(!IsTagBlock(erased) && IsErasedTagBlock(erased));
  EXPECT_FALSE(IsTagBlock(Id3v1Block({.marker = "tag"})));
  EXPECT_FALSE(IsErasedTagBlock(Id3v1Block({.marker = "00 "})));
}

TEST(Id3v1Test, TrimsSpacesUpToTheNulsAndDecodesWindows1252OrUtf8) {
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

}  // namespace
}  // namespace tallymere
