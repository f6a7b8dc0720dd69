#include "mp3/bitrat.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

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
  // The bitrate, "version layer kbps Hz" and the VBR frame count of a read.
  std::string ReadVbr(const std::string& bytes, uintmax_t length) {
    const std::string bitrate = ReadSized(bytes, length);
    return bitrate + " " + Header() + " " + std::to_string(m_info.XingFrames);
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
  EXPECT_FALSE(m_info.HasId3v1Tag);

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
  m_info.HasId3v1Tag = true;
  EXPECT_EQ(Read(""), "---");
  EXPECT_FALSE(m_info.HasId3v1Tag);
  EXPECT_EQ(m_info.TagTitle, "");
  m_info.HasId3v1Tag = true;
  EXPECT_EQ(Read(std::string(100, 'x')), "---");
  EXPECT_FALSE(m_info.HasId3v1Tag);

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

TEST_F(ReadMp3InfoTest, AveragesXingAndVbriFilesFromTheirLengthAndFrameCount) {
  // The first frame, the file's length, and "bitrate version layer frame-kbps Hz frames".
  const std::tuple<std::string, uintmax_t, const char*> kCases[] = {
      {XingFrame(10000), 4179592, "128 1.0 III 77 44100 10000"},
      {XingFrame(100000), 41795920, "128 1.0 III 77 44100 100000"},
      // The frame's own sample rate counts: 139.32 kbps at 48000 Hz.
      {XingFrame(10000, /*rate=*/0x54), 4179592, "139 1.0 III 77 48000 10000"},
      // 500000 bytes over 1000 frames of 1152 samples at 48000 Hz: 166.67 kbps.
      {VbriFrame(1000, 0xFB, 0x94), 500000, "167 1.0 III 77 48000 1000"},
      // 36 bytes into a mono MPEG-2 frame too: 576 samples at 22050 Hz, 153.13 kbps.
      {VbriFrame(1000, 0xF3, 0x80, 0xC4), 500000, "153 2.0 III 77 22050 1000"},
  };
  for (const auto& [frame, length, read] : kCases) {
    m_info = Mp3Info();
    m_info.FrameBitrate = 77;  // the frame bitrate is not the file's and stays as it was
    EXPECT_EQ(ReadVbr(frame, length), read);
  }
  // Without its sync byte the first frame is no Xing frame: the search goes on.
  m_info = Mp3Info();
  std::string unsynced = XingFrame(10000, 0x50);
  unsynced[0] = 0x00;
  EXPECT_EQ(ReadVbr(unsynced + Frame(0xFB, 0x90), 4179592), "128 1.0 III 128 44100 0");
}

// The Xing header follows the side information of its version and channel
// mode; at another offset the frame's bitrate stands.
TEST_F(ReadMp3InfoTest, FindsTheXingHeaderWhereTheFramesVersionAndChannelModePutIt) {
  struct Layout {
    const char* what;
    uint8_t mode, rate, channels;
    std::size_t offset;
    int64_t file_size;  // of 10000 frames
    const char *average, *frame_bitrate, *version, *hz;
  };
  // MPEG-2 and 2.5 frames hold half the samples of MPEG-1 ones, so half the
  // bytes give the same average as MPEG-1 at twice the rate.
  const Layout kLayouts[] = {
      {"MPEG-1 stereo", 0xFB, 0x90, 0x04, 36, 8359184, "256", "128", "1.0 III", "44100"},
      {"MPEG-1 joint stereo", 0xFB, 0x90, 0x44, 36, 8359184, "256", "128", "1.0 III", "44100"},
      {"MPEG-1 dual channel", 0xFB, 0x94, 0x84, 36, 8359184, "279", "128", "1.0 III", "48000"},
      {"MPEG-1 mono", 0xFB, 0x98, 0xC4, 21, 8359184, "186", "128", "1.0 III", "32000"},
      {"MPEG-2 stereo", 0xF3, 0x80, 0x04, 21, 4179592, "128", "64", "2.0 III", "22050"},
      {"MPEG-2 mono", 0xF3, 0x88, 0xC4, 13, 4179592, "93", "64", "2.0 III", "16000"},
      {"MPEG 2.5 stereo", 0xE3, 0x84, 0x44, 21, 4179592, "70", "64", "2.5 III", "12000"},
      {"MPEG 2.5 mono", 0xE3, 0x80, 0xC4, 13, 4179592, "64", "64", "2.5 III", "11025"},
  };
  for (const Layout& l : kLayouts) {
    SCOPED_TRACE(l.what);
    // "bitrate version layer frame-kbps Hz frames"
    const auto read = [&](const char* kbps, const char* frame_kbps, const char* frames) {
      return std::string(kbps) + " " + l.version + " " + frame_kbps + " " + l.hz + " " + frames;
    };
    for (const std::size_t offset : {13u, 21u, 36u}) {
      m_info = Mp3Info();
      const std::string frame = XingFrame({.frames = 10000,
                                           .mode = l.mode,
                                           .rate = l.rate,
                                           .channels = l.channels,
                                           .offset = offset});
      EXPECT_EQ(ReadVbr(frame, l.file_size), offset == l.offset
                                                 ? read(l.average, "0", "10000")
                                                 : read(l.frame_bitrate, l.frame_bitrate, "0"))
          << offset;
    }
  }
}

// Without a usable frame count, with a count that cannot belong to the file
// (its average lies outside the bitrates of the frame's version), or with a
// constant-bitrate "Info" header, the first frame's bitrate stands.
TEST_F(ReadMp3InfoTest, TakesTheFirstFramesBitrateWhenTheHeaderGivesNoAverage) {
  const std::tuple<const char*, std::string, const char*> kCases[] = {
      // what, the first frame of a file of 8359184 bytes (256 kbps over 10000
      // frames), and "bitrate version layer frame-kbps Hz frames" of its read
      {"frame count 0", XingFrame(0), "128 1.0 III 128 44100 5"},
      {"no frame count flag", XingFrame({.frames = 10000, .flags = 0x0E}),
       "128 1.0 III 128 44100 5"},
      {"VBRI frame count 0", VbriFrame(0), "128 1.0 III 128 44100 5"},
      {"Info", XingFrame({.frames = 10000, .marker = "Info"}), "128 1.0 III 128 44100 10000"},
      {"reserved sample rate", XingFrame(10000, 0x9C), "128 1.0 III 128 0 10000"},
      {"Layer II frame", XingFrame({.frames = 10000, .mode = 0xFD}), "160 1.0 II 160 44100 5"},
      {"Layer I frame", VbriFrame(10000, 0xFF, 0x90), "288 1.0 I 288 44100 5"},
      {"reserved version", XingFrame({.frames = 10000, .mode = 0xEB}), "---   0 0 5"},
      // An average of 0 kbps would make the playing time a division by zero.
      {"Xing count 4294967295", XingFrame(4294967295u), "128 1.0 III 128 44100 5"},
      {"Xing count 100000000", XingFrame(100000000), "128 1.0 III 128 44100 5"},
      {"VBRI count for 2560 kbps", VbriFrame(1000), "128 1.0 III 128 44100 5"},
      {"MPEG-2 average of 256 kbps", VbriFrame(10000, 0xF3, 0x80, 0xC4), "64 2.0 III 64 22050 5"},
  };
  for (const auto& [what, frame, read] : kCases) {
    m_info = Mp3Info();
    m_info.XingFrames = 5;
    EXPECT_EQ(ReadVbr(frame, 8359184), read) << what;
  }
}

TEST_F(ReadMp3InfoTest, ReadsTheTagWithOrWithoutAHeaderButNotAnErasedOne) {
  EXPECT_EQ(Read(Frame() + Id3v1Block({"Title", " Artist ", "Album", "2001", "Comment", 17})),
            "128");
  EXPECT_TRUE(m_info.HasId3v1Tag);
  EXPECT_EQ(Tag(), "Title|Artist|Album|2001|Comment|Rock");

  EXPECT_EQ(Read(Id3v1Block({.title = "Only a tag", .genre = 0})), "---");
  EXPECT_TRUE(m_info.HasId3v1Tag);
  EXPECT_EQ(Tag(), "Only a tag|||||Blues");

  // An erased tag is no tag.
  EXPECT_EQ(Read(Frame() + Id3v1Block({.artist = "Gone", .marker = "000"})), "128");
  EXPECT_FALSE(m_info.HasId3v1Tag);
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

  m_info = Mp3Info();
  EXPECT_EQ(ReadVbr(Id3v2Block(1000) + XingFrame(10000), 4179592), "128 1.0 III 0 44100 10000");

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
struct CountedFile : RandomAccessFile {
  explicit CountedFile(const std::string& path) { EXPECT_TRUE(m_file.Open(path, OpenMode::kRead)); }
  Result<int64_t> Length() const override { return m_file.Length(); }
  Status ReadAt(int64_t offset, std::size_t size, std::string* bytes) const override {
    ++m_reads;
    return m_file.ReadAt(offset, size, bytes);
  }
  Status WriteAt(int64_t, std::string_view) override { return Status::Error("read only"); }
  Status Close() override { return m_file.Close(); }

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

TEST(Mp3OpenFileTest, AnswersAsByPathInOneReadUpToAPageAndOneMoreForATagBeyondOrFails) {
  testing::TempFolder folder;
  const std::string tag = Id3v1Block({.title = "Song"});
  // The bytes, the file's length (the bytes, then zeros; 0: the bytes alone)
  // and the reads ReadMp3Info makes of the open file.
  const std::tuple<std::string, uintmax_t, int> kCases[] = {
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
  for (const auto& [bytes, sparse_length, reads] : kCases) {
    const uintmax_t length = sparse_length != 0 ? sparse_length : bytes.size();
    SCOPED_TRACE(length);
    const std::string path = folder.WriteFile("song.mp3", bytes);
    std::filesystem::resize_file(path, length);
    Mp3Info by_path;
    const std::string expected = Described(testing::ReadMp3File(path, &by_path), by_path);

    CountedFile file(path);
    Mp3Info open;
    EXPECT_EQ(Described(ReadMp3Info(file, static_cast<int64_t>(length), &open), open), expected);
    EXPECT_EQ(open.HasId3v1Tag, by_path.HasId3v1Tag);
    EXPECT_EQ(file.m_reads, reads);
  }
  // A failed read is reported as the system says it.
  CountedFile closed(folder.WriteFile("closed.mp3", Frame()));
  ASSERT_TRUE(closed.Close().ok());
  Mp3Info info;
  EXPECT_EQ(Described(ReadMp3Info(closed, 417, &info), info), "error: Bad file descriptor");
}

}  // namespace
}  // namespace tallymere
