#include "mp3/id3v1.h"

#include <gtest/gtest.h>

#include "mp3/mp3_fixtures.h"

namespace tallymere {
namespace {

using testing::Id3v1Block;
using testing::Id3v1Fields;

TEST(Id3v1Test, FieldsTileTheBlock) {
  std::size_t next = kTagMarker.offset + kTagMarker.width;
  for (const TagField& field : kTagTextFields) {
    EXPECT_EQ(field.offset, next);
    next = field.offset + field.width;
  }
  EXPECT_EQ(next, kTagGenreOffset);
  EXPECT_EQ(kTagTitle.offset, 3u);
  EXPECT_EQ(kTagYear.offset, 93u);
  EXPECT_EQ(kTagYear.width, 4u);
  EXPECT_EQ(kTagComment.offset, 97u);
}

TEST(Id3v1Test, RecognisesTagAndErasedTag) {
  const std::string tag = Id3v1Block({.title = "A"});
  EXPECT_TRUE(IsTagBlock(tag));
  EXPECT_FALSE(IsErasedTagBlock(tag));
  EXPECT_FALSE(IsTagBlock(tag.substr(0, 127)));

  const std::string erased = Id3v1Block({.marker = "000"});
  EXPECT_FALSE(IsTagBlock(erased));
  EXPECT_TRUE(IsErasedTagBlock(erased));

  EXPECT_FALSE(IsTagBlock(Id3v1Block({.marker = "tag"})));
  EXPECT_FALSE(IsErasedTagBlock(Id3v1Block({.marker = "00 "})));
}

TEST(Id3v1Test, TrimsSpacesAtBothEndsButKeepsNuls) {
  Id3v1Fields fields{.title = "  Two  words ", .artist = "Artist", .year = "1999"};
  Id3v1Tag tag = ReadTagBlock(Id3v1Block(fields));
  EXPECT_EQ(tag.title, "Two  words");
  EXPECT_EQ(tag.artist, "Artist");
  EXPECT_EQ(tag.album, "");
  EXPECT_EQ(tag.year, "1999");
  EXPECT_EQ(tag.genre, 17);

  fields.pad = '\0';
  tag = ReadTagBlock(Id3v1Block(fields));
  // Leading spaces go; the NULs stop the trim at the end.
  EXPECT_EQ(tag.title, std::string("Two  words ") + std::string(17, '\0'));
  EXPECT_EQ(tag.artist, std::string("Artist") + std::string(24, '\0'));
  EXPECT_EQ(tag.album, std::string(30, '\0'));
  EXPECT_EQ(tag.year, "1999");
}

TEST(Id3v1Test, DecodesWindows1252AndUtf8Texts) {
  const Id3v1Tag tag =
      ReadTagBlock(Id3v1Block({.title = "Caf\xE9 \x80", .artist = "\xCE\xA9mega"}));
  EXPECT_EQ(tag.title, "Caf\xC3\xA9 \xE2\x82\xAC");  // "Café €"
  EXPECT_EQ(tag.artist, "\xCE\xA9mega");             // "Ωmega" stays UTF-8
}

TEST(Id3v1Test, EmptyTagBlockReadsBackEmpty) {
  const std::string block = EmptyTagBlock();
  ASSERT_TRUE(IsTagBlock(block));
  const Id3v1Tag tag = ReadTagBlock(block);
  EXPECT_EQ(tag.title + tag.artist + tag.album + tag.year + tag.comment, "");
  EXPECT_EQ(tag.genre, 148);
}

}  // namespace
}  // namespace tallymere
