#include "mp3/id3v2.h"

#include <gtest/gtest.h>

#include "mp3/mp3_fixtures.h"

namespace tallymere {
namespace {

using testing::Bytes;
using testing::Id3v2Block;

TEST(Id3v2Test, LengthCountsHeaderSevenBitSizeAndFooter) {
  EXPECT_EQ(Id3v2TagLength(Id3v2Block(20000)), 20010u);
  EXPECT_EQ(Id3v2TagLength(Id3v2Block(0)), 10u);
  EXPECT_EQ(Id3v2TagLength(Id3v2Block(300, /*with_footer=*/true)), 320u);
  EXPECT_EQ(Id3v2TagLength("ID3" + Bytes({4, 0, 0, 0, 0, 2, 1})), 10u + 257u);
  EXPECT_EQ(Id3v2TagLength("ID3" + Bytes({4, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F})), 10u + 0x0FFFFFFFu);
}

TEST(Id3v2Test, RefusesWhatIsNotATagHeader) {
  EXPECT_EQ(Id3v2TagLength(""), 0u);
  EXPECT_EQ(Id3v2TagLength("ID3" + Bytes({3, 0, 0, 0, 0, 2})), 0u);        // too short
  EXPECT_EQ(Id3v2TagLength("ID3" + Bytes({3, 0, 0, 0, 0, 0x80, 1})), 0u);  // not sync-safe
  EXPECT_EQ(Id3v2TagLength("ID3" + Bytes({0xFF, 0, 0, 0, 0, 2, 1})), 0u);  // bad version
  EXPECT_EQ(Id3v2TagLength("id3" + Bytes({3, 0, 0, 0, 0, 2, 1})), 0u);
  EXPECT_EQ(Id3v2TagLength(testing::Frame()), 0u);
}

}  // namespace
}  // namespace tallymere
