// File names into tag fields and back, and which new names can be file names.

#include "mp3/name_fields.h"

#include <gtest/gtest.h>

#include "mp3/file_name_check.h"

namespace tallymere {
namespace {

// The patterns themselves are exercised through Write Tag Using File Name.
TEST(NameFieldsTest, KeepsTheOneSeparatorTitleAndRefusesOtherCounts) {
  const auto one = FieldsFromFileName(" Artist  - Title ");
  ASSERT_TRUE(one);
  EXPECT_EQ(one->artist + "|" + one->title, "Artist|Title ");
  EXPECT_FALSE(FieldsFromFileName("A-B"));
  EXPECT_FALSE(FieldsFromFileName("A - B - C - D - E"));
  EXPECT_FALSE(FieldsFromFileName("A - " + std::string(300, 'b')));
  EXPECT_EQ(CountNameSeparators(" - - "), 2);
}

TEST(NameFieldsTest, BuildsNamesFromTagTextsUpToTheirFirstNul) {
  Mp3Info info;
  info.TagArtist = "Artist";
  info.TagTitle = std::string("Title\0\0\0", 8);
  info.TagAlbum = "Album";
  info.TagComment = "Com";
  EXPECT_EQ(NameFromTag(info, false, false), "Artist - Title");
  EXPECT_EQ(NameFromTag(info, true, false), "Artist - Album - Title");
  EXPECT_EQ(NameFromTag(info, true, true), "Artist - Album - Com - Title");
  info.TagArtist = std::string("\0junk", 5);
  EXPECT_EQ(NameFromTag(info, false, false), "Title");
  EXPECT_EQ(NameFromTag(Mp3Info{}, true, true), "");
}

TEST(FileNameCheckTest, RefusesSeparatorsIllegalCharactersAndOverlongNames) {
  EXPECT_TRUE(IsLegalNewName("Artist - Title (Live) [1999]", ".mp3"));
  EXPECT_TRUE(IsLegalNewName("Été", ".mp3"));
  for (const std::string bad :
       {"AC/DC", "a\\b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", ".", ".."}) {
    EXPECT_FALSE(IsLegalNewName(bad, ".mp3")) << bad;
  }
  EXPECT_FALSE(IsLegalNewName(std::string("a\0b", 3), ".mp3"));
  EXPECT_FALSE(IsLegalNewName("a\tb", ".mp3"));
  EXPECT_TRUE(IsLegalNewName(std::string(251, 'x'), ".mp3"));
  EXPECT_FALSE(IsLegalNewName(std::string(252, 'x'), ".mp3"));
}

}  // namespace
}  // namespace tallymere
