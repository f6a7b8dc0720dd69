#include "mp3/bitrat.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "mp3/mp3_fixtures.h"
#include "platform/binary_file.h"
#include "support/temp_folder.h"
#include "support/test_platform.h"
#include "support/unprivileged.h"

namespace tallymere {
namespace {

using testing::Bytes;
using testing::Frame;
using testing::Id3v1Block;
using testing::Id3v2Block;
using testing::VbriFrame;
using testing::XingFrame;
using testing::Zeros;

class ReadMp3InfoTest : public ::testing::Test {
 protected:
  // Writes the bytes as a file and reads it into m_info; "error: ..." on failure.
  std::string Read(const std::string& bytes) { return ReadSized(bytes, bytes.size()); }
  // A file of the given length: the bytes, then zeros (a sparse tail).
  std::string ReadSized(const std::string& bytes, uintmax_t length) {
    const std::string path = m_folder.WriteFile("song.mp3", bytes);
    std::filesystem::resize_file(path, length);
    return Text(testing::ReadMp3File(path, &m_info));
  }
  static std::string Text(const Result<std::string>& bitrate) {
    return bitrate.ok() ? *bitrate : "error: " + bitrate.status().message();
  }
  // "version layer kbps Hz" of the last read.
  std::string Header() const {
    return m_info.MpegVersion + " " + m_info.MpegLayer + " " + std::to_string(m_info.FrameBitrate) +
           " " + std::to_string(static_cast<int>(m_info.SampleRate));
  }
  std::string Tag() const {
    return m_info.TagTitle + "|" + m_info.TagArtist + "|" + m_info.TagAlbum + "|" + m_info.TagYear +
           "|" + m_info.TagComment + "|" + m_info.TagGenre;
  }

  testing::TempFolder m_folder;
  Mp3Info m_info;
};

TEST_F(ReadMp3InfoTest, DecodesTheFirstHeaderInTheFirst3000Bytes) {
  EXPECT_EQ(Read(Frame(0xFB, 0x90) + Frame(0xFB, 0x90)), "128");
  EXPECT_EQ(Header(), "1.0 III 128 44100");
  EXPECT_FALSE(m_info.HasTag);

  // Mode bytes E0 and E1 are no sync; E2 is the lowest taken (MPEG 2.5).
  EXPECT_EQ(Read(Bytes({0x00, 0xFF, 0xE0, 0x90, 0x00, 0xFF, 0xE1, 0x90}) + Frame(0xFB, 0x50)),
            "64");
  EXPECT_EQ(Read(Bytes({0xFF, 0xE2, 0x90})), "80");
  // Rate bytes are taken from 10 to EB only.
  std::string refused;
  for (const int rate : {0x00, 0x0F, 0xEC, 0xEF, 0xF0, 0xFF})
    refused += Bytes({0xFF, 0xFB, rate, 0});
  EXPECT_EQ(Read(refused), "---");
  EXPECT_EQ(Read(refused + Frame(0xFB, 0x10)), "32");
  EXPECT_EQ(Read(refused + Frame(0xFB, 0xEB)), "320");
  // The reserved sample rate is accepted as 0.
  EXPECT_EQ(Read(Frame(0xFB, 0x9C)), "128");
  EXPECT_EQ(m_info.SampleRate, 0);

  EXPECT_EQ(Read(Zeros(2997) + Frame()), "128");
  m_info = Mp3Info();
  EXPECT_EQ(Read(Zeros(2998) + Frame()), "---");
  EXPECT_EQ(m_info.MpegVersion, "");
  EXPECT_EQ(Read(Zeros(5000) + Frame()), "---");
  // A sync at 2997 whose rate byte lies beyond the window is not seen.
  EXPECT_EQ(Read(Zeros(2997) + Bytes({0xFF, 0xFB}) + Frame()), "---");
}

TEST_F(ReadMp3InfoTest, WithoutAUsableHeaderGivesDashes) {
  m_info.TagTitle = "left over";
  m_info.HasTag = true;
  EXPECT_EQ(Read(""), "---");
  EXPECT_FALSE(m_info.HasTag);
  EXPECT_EQ(m_info.TagTitle, "");
  m_info.HasTag = true;
  EXPECT_EQ(Read(std::string(100, 'x')), "---");
  EXPECT_FALSE(m_info.HasTag);

  // No header at all keeps the header fields of the last read...
  ASSERT_EQ(Read(Frame(0xF3, 0x94)), "80");
  EXPECT_EQ(Read(Zeros(4000)), "---");
  EXPECT_EQ(Header(), "2.0 III 80 24000");
  // ...but a reserved version or layer "0" sets nothing and gives dashes.
  for (const int mode : {0xEB, 0xF9}) {
    m_info = Mp3Info();
    EXPECT_EQ(Read(Frame(static_cast<uint8_t>(mode), 0x90) + Frame()), "---") << mode;
    EXPECT_EQ(Header(), "  0 0") << mode;
  }
}

TEST_F(ReadMp3InfoTest, AveragesXingFilesFromTheirLengthAndFrameCount) {
  EXPECT_EQ(ReadSized(XingFrame(10000), 4179592), "128");
  EXPECT_EQ(m_info.XingFrames, 10000u);
  EXPECT_EQ(ReadSized(XingFrame(100000), 41795920), "128");
  EXPECT_EQ(m_info.XingFrames, 100000u);
  EXPECT_EQ(m_info.MpegVersion + " " + m_info.MpegLayer, "1.0 III");

  // The frame's own sample rate counts (139.32 kbps at 48000 Hz); the frame
  // bitrate is not the file's and stays as it was.
  m_info.FrameBitrate = 77;
  EXPECT_EQ(ReadSized(XingFrame(10000, /*rate=*/0x54), 4179592), "139");
  EXPECT_EQ(m_info.SampleRate, 48000);
  EXPECT_EQ(m_info.FrameBitrate, 77);

  // 514000 / 1225 × 44100 / 144 is 128500 exactly: halves round to even.
  EXPECT_EQ(ReadSized(XingFrame(1225), 514000), "128");
  EXPECT_EQ(ReadSized(XingFrame(1225), 518000), "130");

  // Without its sync byte the first frame is no Xing frame: the search goes on.
  m_info = Mp3Info();
  std::string frame = XingFrame(10000, 0x50);
  frame[0] = 0x00;
  EXPECT_EQ(ReadSized(frame + Frame(0xFB, 0x90), 4179592), "128");
  EXPECT_EQ(m_info.XingFrames, 0u);
}

// The Xing header follows the side information of its version and channel mode.
TEST_F(ReadMp3InfoTest, FindsTheXingHeaderWhereTheFramesVersionAndChannelModePutIt) {
  struct Layout {
    const char* what;
    uint8_t mode;
    uint8_t rate;
    uint8_t channels;
    std::size_t offset;
    int64_t file_size;    // of 10000 frames
    const char* average;  // in kbps, within the bitrates of the version
    const char* header;
    const char* frame_bitrate;  // what a marker at another offset leaves
  };
  // MPEG-2 and 2.5 frames hold half the samples of MPEG-1 ones, so half the
  // bytes give the same average as MPEG-1 at twice the rate.
  const Layout kLayouts[] = {
      {"MPEG-1 stereo", 0xFB, 0x90, 0x04, 36, 8359184, "256", "1.0 III 0 44100", "128"},
      {"MPEG-1 joint stereo", 0xFB, 0x90, 0x44, 36, 8359184, "256", "1.0 III 0 44100", "128"},
      {"MPEG-1 dual channel", 0xFB, 0x94, 0x84, 36, 8359184, "279", "1.0 III 0 48000", "128"},
      {"MPEG-1 mono", 0xFB, 0x98, 0xC4, 21, 8359184, "186", "1.0 III 0 32000", "128"},
      {"MPEG-2 stereo", 0xF3, 0x80, 0x04, 21, 4179592, "128", "2.0 III 0 22050", "64"},
      {"MPEG-2 mono", 0xF3, 0x88, 0xC4, 13, 4179592, "93", "2.0 III 0 16000", "64"},
      {"MPEG 2.5 stereo", 0xE3, 0x84, 0x44, 21, 4179592, "70", "2.5 III 0 12000", "64"},
      {"MPEG 2.5 mono", 0xE3, 0x80, 0xC4, 13, 4179592, "64", "2.5 III 0 11025", "64"},
  };
  for (const Layout& layout : kLayouts) {
    SCOPED_TRACE(layout.what);
    for (const std::size_t offset : {13u, 21u, 36u}) {
      m_info = Mp3Info();
      const std::string frame = XingFrame({.frames = 10000,
                                           .mode = layout.mode,
                                           .rate = layout.rate,
                                           .channels = layout.channels,
                                           .offset = offset});
      const std::string bitrate = ReadSized(frame, layout.file_size);
      if (offset == layout.offset) {
        EXPECT_EQ(bitrate, layout.average);
        EXPECT_EQ(m_info.XingFrames, 10000u);
        EXPECT_EQ(Header(), layout.header);
      } else {
        EXPECT_EQ(bitrate, layout.frame_bitrate) << offset;
        EXPECT_EQ(m_info.XingFrames, 0u) << offset;
        EXPECT_EQ(m_info.FrameBitrate, std::stoi(layout.frame_bitrate)) << offset;
      }
    }
  }
}

TEST_F(ReadMp3InfoTest, AveragesVbriFilesFromTheirFrameCount) {
  // 500000 bytes over 1000 frames of 1152 samples at 48000 Hz: 166.67 kbps.
  EXPECT_EQ(ReadSized(VbriFrame(1000, 0xFB, 0x94), 500000), "167");
  EXPECT_EQ(m_info.XingFrames, 1000u);
  EXPECT_EQ(Header(), "1.0 III 0 48000");
  // 36 bytes into the frame for a mono MPEG-2 frame too: 1000 frames of 576
  // samples at 22050 Hz are 153.13 kbps.
  EXPECT_EQ(ReadSized(VbriFrame(1000, 0xF3, 0x80, 0xC4), 500000), "153");
  EXPECT_EQ(m_info.XingFrames, 1000u);
  EXPECT_EQ(Header(), "2.0 III 0 22050");
}

// Without a usable frame count, with a count that cannot belong to the file
// (its average lies outside the bitrates of the frame's version), or with a
// constant-bitrate "Info" header, the first frame's bitrate stands.
TEST_F(ReadMp3InfoTest, TakesTheFirstFramesBitrateWhenTheHeaderGivesNoAverage) {
  struct Case {
    const char* what;
    std::string frame;
    const char* bitrate;  // of a file of 8359184 bytes, 256 kbps over 10000 frames
    uint32_t xing_frames;
    const char* header;
  };
  const Case kCases[] = {
      {"frame count 0", XingFrame(0), "128", 5, "1.0 III 128 44100"},
      {"no frame count flag", XingFrame({.frames = 10000, .flags = 0x0E}), "128", 5,
       "1.0 III 128 44100"},
      {"VBRI frame count 0", VbriFrame(0), "128", 5, "1.0 III 128 44100"},
      {"Info", XingFrame({.frames = 10000, .marker = "Info"}), "128", 10000, "1.0 III 128 44100"},
      {"reserved sample rate", XingFrame(10000, 0x9C), "128", 10000, "1.0 III 128 0"},
      {"Layer II frame", XingFrame({.frames = 10000, .mode = 0xFD}), "160", 5, "1.0 II 160 44100"},
      {"Layer I frame", VbriFrame(10000, 0xFF, 0x90), "288", 5, "1.0 I 288 44100"},
      {"reserved version", XingFrame({.frames = 10000, .mode = 0xEB}), "---", 5, "  0 0"},
      // An average of 0 kbps would make the playing time a division by zero.
      {"Xing count 4294967295", XingFrame(4294967295u), "128", 5, "1.0 III 128 44100"},
      {"Xing count 100000000", XingFrame(100000000), "128", 5, "1.0 III 128 44100"},
      {"VBRI count for 2560 kbps", VbriFrame(1000), "128", 5, "1.0 III 128 44100"},
      {"MPEG-2 average of 256 kbps", VbriFrame(10000, 0xF3, 0x80, 0xC4), "64", 5,
       "2.0 III 64 22050"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    m_info = Mp3Info();
    m_info.XingFrames = 5;
    EXPECT_EQ(ReadSized(c.frame, 8359184), c.bitrate);
    EXPECT_EQ(m_info.XingFrames, c.xing_frames);
    EXPECT_EQ(Header(), c.header);
  }
}

TEST_F(ReadMp3InfoTest, ReadsSpacePaddedAndNulPaddedTagsWithOrWithoutAHeader) {
  EXPECT_EQ(Read(Frame() + Id3v1Block({"Title", " Artist ", "Album", "2001", "Comment", 17})),
            "128");
  EXPECT_TRUE(m_info.HasTag);
  EXPECT_EQ(Tag(), "Title|Artist|Album|2001|Comment|Rock");

  // NULs are kept as read; a genre byte beyond the names has no name.
  EXPECT_EQ(Read(Frame() + Id3v1Block({.title = "Title", .year = "01", .genre = 148, .pad = '\0'})),
            "128");
  EXPECT_EQ(Tag(), "Title" + Zeros(25) + "|" + Zeros(30) + "|" + Zeros(30) + "|01" + Zeros(2) +
                       "|" + Zeros(30) + "|");

  EXPECT_EQ(Read(Id3v1Block({.title = "Only a tag", .genre = 0})), "---");
  EXPECT_TRUE(m_info.HasTag);
  EXPECT_EQ(Tag(), "Only a tag|||||Blues");

  // An erased tag is no tag.
  EXPECT_EQ(Read(Frame() + Id3v1Block({.artist = "Gone", .marker = "000"})), "128");
  EXPECT_FALSE(m_info.HasTag);
  EXPECT_EQ(Tag(), "|||||");
}

TEST_F(ReadMp3InfoTest, StepsOverAnId3v2TagFullOfSyncBytes) {
  const std::string audio = Frame(0xFB, 0x90) + Frame(0xFB, 0x90);
  EXPECT_EQ(Read(Id3v2Block(20000) + audio + Id3v1Block({.title = "Cover"})), "128");
  EXPECT_EQ(Header(), "1.0 III 128 44100");
  EXPECT_EQ(m_info.TagTitle, "Cover");
  // The picture alone holds false syncs that would read as 16 kbps.
  EXPECT_EQ(Read(testing::PictureData(2000) + audio), "16");

  // The window counts from the end of the tag, footer included.
  EXPECT_EQ(Read(Id3v2Block(500) + Zeros(2997) + Frame()), "128");
  EXPECT_EQ(Read(Id3v2Block(500) + Zeros(2998) + Frame()), "---");
  EXPECT_EQ(Read(Id3v2Block(500, /*with_footer=*/true) + Zeros(2990) + Frame(0xFB, 0x50)), "64");

  EXPECT_EQ(ReadSized(Id3v2Block(1000) + XingFrame(10000), 4179592), "128");
  EXPECT_EQ(m_info.XingFrames, 10000u);

  std::string tag = Id3v2Block(100);
  tag[6] = 0x7F;  // claims far more than the file holds
  EXPECT_EQ(Read(tag + Frame()), "---");
}

TEST_F(ReadMp3InfoTest, ReportsFilesThatCannotBeRead) {
  EXPECT_EQ(Text(testing::ReadMp3File(m_folder.Path("missing.mp3"), &m_info)),
            "error: File not found");
  EXPECT_FALSE(testing::ReadMp3File(m_folder.MakeFolder("folder.mp3"), &m_info).ok());
  const std::string locked = m_folder.WriteFile("locked.mp3", Frame());
  testing::RunAsUnprivileged({m_folder.path()}, [&] {
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    const Result<std::string> read = testing::ReadMp3File(locked, &m_info);
    EXPECT_EQ(read.code(), StatusCode::kNoAccess);
    EXPECT_EQ(Text(read), "error: Permission denied");
  });
}

// A file whose reads are counted.
class CountedFile : public RandomAccessFile {
 public:
  explicit CountedFile(const std::string& path) { EXPECT_TRUE(m_file.Open(path, OpenMode::kRead)); }
  Result<int64_t> Length() const override { return m_file.Length(); }
  Status ReadAt(int64_t offset, std::size_t size, std::string* bytes) const override {
    ++m_reads;
    return m_file.ReadAt(offset, size, bytes);
  }
  Status WriteAt(int64_t, std::string_view) override { return Status::Error("read only"); }
  Status Close() override { return m_file.Close(); }
  int reads() const { return m_reads; }

 private:
  BinaryFile m_file;
  mutable int m_reads = 0;
};

// "bitrate version layer Hz frames title" of a read.
std::string Described(const Result<std::string>& bitrate, const Mp3Info& info) {
  if (!bitrate) return "error: " + bitrate.status().message();
  return *bitrate + " " + info.MpegVersion + " " + info.MpegLayer + " " +
         std::to_string(static_cast<int>(info.SampleRate)) + " " + std::to_string(info.XingFrames) +
         " " + info.TagTitle;
}

TEST(Mp3OpenFileTest, AnswersAsByPathInOneReadUpToAPageAndOneMoreForATagBeyond) {
  testing::TempFolder folder;
  const std::string tag = Id3v1Block({.title = "Song"});
  struct Case {
    std::string bytes;
    uintmax_t length;  // the bytes, then zeros; 0: the bytes alone
    int reads;
  };
  const std::vector<Case> cases = {
      {"", 0, 0},
      {Frame() + Frame() + tag, 0, 1},
      {Frame() + Zeros(4096 - 417 - 128) + tag, 4096, 1},
      {Frame() + Zeros(4097 - 417 - 128) + tag, 4097, 2},
      {XingFrame(10000) + Zeros(1000), 4179592, 2},
      // A leading ID3v2 tag whose audio lies within the first page, and one
      // whose audio lies beyond it: one more read holds the audio and, in
      // so short a file, the tag.
      {Id3v2Block(500) + Frame() + tag, 0, 1},
      {Id3v2Block(20000) + Frame(0xFB, 0x50) + tag, 0, 2},
      {Id3v2Block(20000) + Frame(0xFB, 0x50) + Zeros(5000) + tag, 0, 3},
      {Zeros(5000), 0, 2},
  };
  for (const Case& c : cases) {
    const uintmax_t length = c.length != 0 ? c.length : c.bytes.size();
    SCOPED_TRACE(length);
    const std::string path = folder.WriteFile("song.mp3", c.bytes);
    std::filesystem::resize_file(path, length);
    Mp3Info by_path;
    const std::string expected = Described(testing::ReadMp3File(path, &by_path), by_path);

    CountedFile file(path);
    Mp3Info open;
    EXPECT_EQ(Described(ReadMp3Info(file, static_cast<int64_t>(length), &open), open), expected);
    EXPECT_EQ(open.HasTag, by_path.HasTag);
    EXPECT_EQ(file.reads(), c.reads);
  }
}

TEST(Mp3OpenFileTest, AFailedReadIsReportedAsTheSystemSaysIt) {
  testing::TempFolder folder;
  const std::string path = folder.WriteFile("song.mp3", Frame());
  CountedFile file(path);
  ASSERT_TRUE(file.Close().ok());
  Mp3Info info;
  const Result<std::string> bitrate = ReadMp3Info(file, 417, &info);
  ASSERT_FALSE(bitrate.ok());
  EXPECT_EQ(bitrate.status().message(), "Bad file descriptor");
}

}  // namespace
}  // namespace tallymere
