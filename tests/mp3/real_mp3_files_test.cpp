// ReadMp3Info over files made by a real encoder and taggers (tests/data/mp3, see its README).

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "mp3/bitrat.h"
#include "support/temp_folder.h"
#include "support/test_platform.h"

namespace tallymere {
namespace {

std::string DataFile(std::string_view name) {
  return std::string(TALLYMERE_TEST_DATA) + "/mp3/" + std::string(name);
}

// "error: ..." on failure.
std::string Read(std::string_view name, Mp3Info* info) {
  const Result<std::string> bitrate = testing::ReadMp3File(DataFile(name), info);
  return bitrate.ok() ? *bitrate : "error: " + bitrate.status().message();
}

// "version layer kbps Hz" of a read.
std::string Header(const Mp3Info& info) {
  return info.MpegVersion + " " + info.MpegLayer + " " + std::to_string(info.FrameBitrate) + " " +
         std::to_string(static_cast<int>(info.SampleRate));
}

std::string Tag(const Mp3Info& info) {
  return info.TagTitle + "|" + info.TagArtist + "|" + info.TagAlbum + "|" + info.TagYear + "|" +
         info.TagComment + "|" + info.TagGenre;
}

struct ConstantBitrateFile {
  std::string_view name;
  std::string_view bitrate;
  std::string_view header;
  uint32_t info_frames;  // the frame count of lame's "Info" header, 0 without one
  bool has_tag;
};

// An "Info" header counts the frames of a constant-bitrate file; the bitrate
// stays the frames' own (an average would give 134 and 67).
TEST(RealMp3FilesTest, ReadsTheHeaderOfConstantBitrateFilesOfEveryVersion) {
  constexpr ConstantBitrateFile kFiles[] = {
      {"cbr128_44100_stereo.mp3", "128", "1.0 III 128 44100", 21, false},
      {"mpeg2_cbr32_22050_mono.mp3", "32", "2.0 III 32 22050", 0, false},
      {"mpeg25_cbr8_8000_mono.mp3", "8", "2.5 III 8 8000", 0, false},
      {"id3v1_full_cbr64_32000_mono.mp3", "64", "1.0 III 64 32000", 29, true},
  };
  for (const ConstantBitrateFile& file : kFiles) {
    SCOPED_TRACE(file.name);
    Mp3Info info;
    info.HasTag = !file.has_tag;  // a stale flag must be overwritten either way
    EXPECT_EQ(Read(file.name, &info), file.bitrate);
    EXPECT_EQ(Header(info), file.header);
    EXPECT_EQ(info.XingFrames, file.info_frames);
    EXPECT_EQ(info.HasTag, file.has_tag);
  }
}

struct VariableBitrateFile {
  std::string_view name;
  std::size_t bytes;
  uint32_t xing_frames;
  std::string_view average;
  std::string_view version_layer_rate;
};

// The averages are worked out in the README; the first frames carry 32 to 128
// kbps, so none can come from a frame's own bitrate.
TEST(RealMp3FilesTest, AveragesVariableBitrateFilesOfEveryVersionAndChannelMode) {
  constexpr VariableBitrateFile kFiles[] = {
      {"vbr_xing_44100_joint.mp3", 10348, 32, "99", "1.0 III 44100"},
      {"vbr_xing_44100_mono.mp3", 7552, 40, "58", "1.0 III 44100"},
      {"vbr_xing_48000_joint.mp3", 10560, 35, "101", "1.0 III 48000"},
      {"mpeg2_vbr_xing_22050_mono.mp3", 7466, 79, "29", "2.0 III 22050"},
      {"mpeg2_vbr_xing_24000_stereo.mp3", 11544, 65, "59", "2.0 III 24000"},
      {"mpeg25_vbr_xing_11025_mono.mp3", 6815, 60, "17", "2.5 III 11025"},
  };
  for (const VariableBitrateFile& file : kFiles) {
    SCOPED_TRACE(file.name);
    ASSERT_EQ(testing::ReadFileBytes(DataFile(file.name)).size(), file.bytes);
    Mp3Info info;
    info.FrameBitrate = 77;  // the average leaves the frame bitrate alone
    info.HasTag = true;
    EXPECT_EQ(Read(file.name, &info), file.average);
    EXPECT_EQ(info.XingFrames, file.xing_frames);
    EXPECT_EQ(info.MpegVersion + " " + info.MpegLayer + " " +
                  std::to_string(static_cast<int>(info.SampleRate)),
              file.version_layer_rate);
    EXPECT_EQ(info.FrameBitrate, 77);
    EXPECT_FALSE(info.HasTag);
  }
}

TEST(RealMp3FilesTest, StepsOverALeadingId3v2TagWithACoverPicture) {
  const std::string bytes =
      testing::ReadFileBytes(DataFile("id3v2_picture_cbr112_48000.mp3")).substr(0, 3000);
  // The picture holds a false sync where a reader not stepping over the tag would look.
  ASSERT_EQ(bytes.substr(906, 3), "\xFF\xFE\x30");
  Mp3Info info;
  EXPECT_EQ(Read("id3v2_picture_cbr112_48000.mp3", &info), "112");
  EXPECT_EQ(Header(info), "1.0 III 112 48000");
  EXPECT_FALSE(info.HasTag);
  EXPECT_EQ(Tag(info), "|||||");
}

TEST(RealMp3FilesTest, ReadsAnId3v1TagWhoseTextFieldsAreFull) {
  Mp3Info info;
  EXPECT_EQ(Read("id3v1_full_cbr64_32000_mono.mp3", &info), "64");
  EXPECT_TRUE(info.HasTag);
  EXPECT_EQ(info.TagTitle, "Thirty Bytes Of Title Fill It!");
  EXPECT_EQ(info.TagArtist, "An Artist Whose Name Fills All");
  // 0xE9 on disk is Windows-1252 e acute: 30 bytes in the tag, 31 in UTF-8.
  EXPECT_EQ(info.TagAlbum, "Caf\xC3\xA9 Album Of Exactly 30 Bytes");
  EXPECT_EQ(info.TagYear, "1999");
  EXPECT_EQ(info.TagComment, "A comment thirty bytes in all.");
  EXPECT_EQ(info.TagGenre, "Synth Pop");
}

}  // namespace
}  // namespace tallymere
