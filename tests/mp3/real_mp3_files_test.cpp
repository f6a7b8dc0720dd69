// ReadMp3Info over files made by a real encoder and taggers (tests/data/mp3, see its README).

#include <gtest/gtest.h>

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

// "bitrate version layer frame-kbps Hz frames", then the ID3v1 tag's texts or
// "untagged", of a read that starts with a frame bitrate of 77 and a stale tag
// flag; "error: ..." on failure.
std::string Read(std::string_view name, bool tagged) {
  Mp3Info info;
  info.FrameBitrate = 77;
  info.HasId3v1Tag = !tagged;
  const Result<std::string> bitrate = testing::ReadMp3File(DataFile(name), &info);
  if (!bitrate) return "error: " + bitrate.status().message();
  return *bitrate + " " + info.MpegVersion + " " + info.MpegLayer + " " +
         std::to_string(info.FrameBitrate) + " " +
         std::to_string(static_cast<int>(info.SampleRate)) + " " + std::to_string(info.XingFrames) +
         " " +
         (info.HasId3v1Tag ? info.TagTitle + "|" + info.TagArtist + "|" + info.TagAlbum + "|" +
                                 info.TagYear + "|" + info.TagComment + "|" + info.TagGenre
                           : "untagged");
}

// An "Info" header counts the frames of a constant-bitrate file; the bitrate
// stays the frames' own (an average would give 134 and 67). The averages are
// worked out in the README; the first frames carry 32 to 128 kbps, so none can
// come from a frame's own bitrate, which an average leaves alone.
TEST(RealMp3FilesTest, ReadsTheHeaderOrTheAverageOfFilesOfEveryVersionAndChannelMode) {
  constexpr std::pair<std::string_view, std::string_view> kFiles[] = {
      {"cbr128_44100_stereo.mp3", "128 1.0 III 128 44100 21 untagged"},
      {"mpeg2_cbr32_22050_mono.mp3", "32 2.0 III 32 22050 0 untagged"},
      {"mpeg25_cbr8_8000_mono.mp3", "8 2.5 III 8 8000 0 untagged"},
      // Every text field full; 0xE9 on disk is Windows-1252 e acute: 30 bytes
      // in the tag, 31 in UTF-8.
      {"id3v1_full_cbr64_32000_mono.mp3",
       "64 1.0 III 64 32000 29 Thirty Bytes Of Title Fill It!|An Artist Whose Name Fills All|"
       "Caf\xC3\xA9 Album Of Exactly 30 Bytes|1999|A comment thirty bytes in all.|Synth Pop"},
      {"vbr_xing_44100_joint.mp3", "99 1.0 III 77 44100 32 untagged"},
      {"vbr_xing_44100_mono.mp3", "58 1.0 III 77 44100 40 untagged"},
      {"vbr_xing_48000_joint.mp3", "101 1.0 III 77 48000 35 untagged"},
      {"mpeg2_vbr_xing_22050_mono.mp3", "29 2.0 III 77 22050 79 untagged"},
      {"mpeg2_vbr_xing_24000_stereo.mp3", "59 2.0 III 77 24000 65 untagged"},
      {"mpeg25_vbr_xing_11025_mono.mp3", "17 2.5 III 77 11025 60 untagged"},
      // The picture of its leading ID3v2 tag holds a false sync (checked below).
      {"id3v2_picture_cbr112_48000.mp3", "112 1.0 III 112 48000 18 untagged"},
  };
  for (const auto& [name, read] : kFiles) {
    EXPECT_EQ(Read(name, !read.ends_with("untagged")), read) << name;
  }
  EXPECT_EQ(testing::ReadFileBytes(DataFile("id3v2_picture_cbr112_48000.mp3")).substr(906, 3),
            "\xFF\xFE\x30");
}

}  // namespace
}  // namespace tallymere
