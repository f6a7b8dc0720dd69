// What a scan records for small files made by a real encoder and real taggers
// (tests/data/mp3): the bitrate, the playing time from size and bitrate, and
// the ID3v1 fields.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "scan/scan_disk.h"
#include "scan/scan_fixture.h"

namespace tallymere {
namespace {

using testing::FindRecord;
using testing::ScanFixture;

// "size bitrate time artist|title|album" of the record of a file.
std::string Fields(const CatalogTable& table, const std::string& name) {
  const CatalogRecord* r = FindRecord(table, name);
  if (r == nullptr) return "no record of " + name;
  return std::to_string(r->size) + " " + r->bitrate + " " + r->time + " " + r->artist + "|" +
         r->title + "|" + r->album;
}

TEST(RealMp3ScanTest, RecordsBitrateTimeAndTagOfRealFiles) {
  constexpr std::string_view kFiles[] = {
      "cbr128_44100_stereo.mp3",        "mpeg2_cbr32_22050_mono.mp3",
      "mpeg25_cbr8_8000_mono.mp3",      "vbr_xing_44100_joint.mp3",
      "id3v2_picture_cbr112_48000.mp3", "id3v1_full_cbr64_32000_mono.mp3",
      "vbr_xing_44100_mono.mp3",        "vbr_xing_48000_joint.mp3",
      "mpeg2_vbr_xing_22050_mono.mp3",  "mpeg2_vbr_xing_24000_stereo.mp3",
      "mpeg25_vbr_xing_11025_mono.mp3",
  };
  ScanFixture fixture;
  for (const std::string_view name : kFiles) {
    const std::string bytes =
        testing::ReadFileBytes(std::string(TALLYMERE_TEST_DATA) + "/mp3/" + std::string(name));
    ASSERT_FALSE(bytes.empty()) << name;
    fixture.Write("Music/" + std::string(name), bytes);
  }
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, ScanSettings{"mp3", 1}, &table).ok());
  EXPECT_TRUE(fixture.ui().Messages().empty());

  // The time is round(size / bytes a second) - 1 seconds.
  EXPECT_EQ(Fields(table, "cbr128_44100_stereo.mp3"), "9194 128 00:00 ||");
  EXPECT_EQ(Fields(table, "mpeg2_cbr32_22050_mono.mp3"), "8255 32 00:01 ||");
  EXPECT_EQ(Fields(table, "mpeg25_cbr8_8000_mono.mp3"), "8208 8 00:07 ||");
  EXPECT_EQ(Fields(table, "vbr_xing_44100_joint.mp3"), "10348 99 00:00 ||");
  EXPECT_EQ(Fields(table, "id3v2_picture_cbr112_48000.mp3"), "10685 112 00:00 ||");
  // Variable-bitrate files: the average bitrate, and the time it gives.
  EXPECT_EQ(Fields(table, "vbr_xing_44100_mono.mp3"), "7552 58 00:00 ||");           // x = 1.04
  EXPECT_EQ(Fields(table, "vbr_xing_48000_joint.mp3"), "10560 101 00:00 ||");        // x = 0.84
  EXPECT_EQ(Fields(table, "mpeg2_vbr_xing_22050_mono.mp3"), "7466 29 00:01 ||");     // x = 2.06
  EXPECT_EQ(Fields(table, "mpeg2_vbr_xing_24000_stereo.mp3"), "11544 59 00:01 ||");  // x = 1.57
  EXPECT_EQ(Fields(table, "mpeg25_vbr_xing_11025_mono.mp3"), "6815 17 00:02 ||");    // x = 3.21
  EXPECT_EQ(Fields(table, "id3v1_full_cbr64_32000_mono.mp3"),
            "8768 64 00:00 An Artist Whose Name Fills All|Thirty Bytes Of Title Fill It!|"
            "Caf\xC3\xA9 Album Of Exactly 30 Bytes");
}

}  // namespace
}  // namespace tallymere
