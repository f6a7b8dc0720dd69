#include "mp3/bitrat.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "mp3/mp3_fixtures.h"
#include "support/temp_folder.h"

namespace tallymere {
namespace {

using testing::Bytes;
using testing::Frame;
using testing::Id3v1Block;
using testing::Id3v1Fields;
using testing::Id3v2Block;
using testing::XingFrame;
using testing::Zeros;

class ReadMp3InfoTest : public ::testing::Test {
 protected:
  // Writes the bytes as a file and reads it into m_info.
  Result<std::string> Read(const std::string& bytes) {
    return ReadMp3Info(m_folder.WriteFile("song.mp3", bytes), &m_info);
  }
  // A file of the given length: the bytes, then zeros (a sparse tail).
  Result<std::string> ReadSized(const std::string& bytes, uintmax_t length) {
    const std::string path = m_folder.WriteFile("long.mp3", bytes);
    std::filesystem::resize_file(path, length);
    return ReadMp3Info(path, &m_info);
  }

  testing::TempFolder m_folder;
  Mp3Info m_info;
};

TEST_F(ReadMp3InfoTest, DecodesAHeaderAtTheStart) {
  const Result<std::string> bitrate = Read(Frame(0xFB, 0x90) + Frame(0xFB, 0x90));
  ASSERT_TRUE(bitrate.ok()) << bitrate.status().message();
  EXPECT_EQ(*bitrate, "128");
  EXPECT_EQ(m_info.MpegVersion, "1.0");
  EXPECT_EQ(m_info.MpegLayer, "III");
  EXPECT_EQ(m_info.SampleRate, 44100);
  EXPECT_EQ(m_info.FrameBitrate, 128);
  EXPECT_FALSE(m_info.HasTag);
}

TEST_F(ReadMp3InfoTest, SkipsModeBytesBelowE2) {
  const std::string bytes =
      Bytes({0x00, 0xFF, 0xE0, 0x90, 0x00, 0xFF, 0xE1, 0x90}) + Frame(0xFB, 0x50);  // 64 kbps
  EXPECT_EQ(*Read(bytes), "64");
  EXPECT_EQ(*Read(Bytes({0xFF, 0xE2, 0x90})), "80");  // E2 is the lowest taken: MPEG 2.5
}

TEST_F(ReadMp3InfoTest, TakesOnlyRateBytesFrom10ToEB) {
  std::string bytes;
  for (const int rate : {0x00, 0x0F, 0xEC, 0xEF, 0xF0, 0xFF}) {
    bytes += Bytes({0xFF, 0xFB, rate, 0x00});
  }
  EXPECT_EQ(*Read(bytes), "---");
  EXPECT_EQ(*Read(bytes + Frame(0xFB, 0x10)), "32");
  EXPECT_EQ(*Read(bytes + Frame(0xFB, 0xEB)), "320");
}

TEST_F(ReadMp3InfoTest, AcceptsTheReservedSampleRate) {
  EXPECT_EQ(*Read(Frame(0xFB, 0x9C)), "128");
  EXPECT_EQ(m_info.SampleRate, 0);
}

TEST_F(ReadMp3InfoTest, LooksForHeadersInTheFirst3000Bytes) {
  EXPECT_EQ(*Read(Zeros(2997) + Frame()), "128");
  m_info = Mp3Info();
  EXPECT_EQ(*Read(Zeros(2998) + Frame()), "---");
  EXPECT_EQ(m_info.MpegVersion, "");
  EXPECT_EQ(*Read(Zeros(5000) + Frame()), "---");
  // A sync at 2997 whose rate byte lies beyond the window is not seen.
  EXPECT_EQ(*Read(Zeros(2997) + Bytes({0xFF, 0xFB}) + Frame()), "---");
}

TEST_F(ReadMp3InfoTest, AveragesXingFiles) {
  Result<std::string> bitrate = ReadSized(XingFrame(10000), 4179592);
  ASSERT_TRUE(bitrate.ok()) << bitrate.status().message();
  EXPECT_EQ(*bitrate, "128");
  EXPECT_EQ(m_info.MpegVersion, "1.0");
  EXPECT_EQ(m_info.MpegLayer, "III");
  EXPECT_EQ(m_info.XingFrames, 10000u);

  bitrate = ReadSized(XingFrame(100000), 41795920);
  EXPECT_EQ(*bitrate, "128");
  EXPECT_EQ(m_info.XingFrames, 100000u);
}

TEST_F(ReadMp3InfoTest, XingPathReadsSampleRateButNotFrameBitrate) {
  m_info.FrameBitrate = 77;
  EXPECT_EQ(*ReadSized(XingFrame(10000, /*rate=*/0x54), 4179592), "128");  // 48000 Hz bits
  EXPECT_EQ(m_info.SampleRate, 48000);
  EXPECT_EQ(m_info.FrameBitrate, 77);
}

TEST_F(ReadMp3InfoTest, XingRoundsHalvesToEven) {
  // 514000 / 1225 × 44100 / 144 is 128500 exactly; 518000 gives 129500.
  EXPECT_EQ(*ReadSized(XingFrame(1225), 514000), "128");
  EXPECT_EQ(*ReadSized(XingFrame(1225), 518000), "130");
}

TEST_F(ReadMp3InfoTest, XingWithoutFramesIsADivisionByZero) {
  const Result<std::string> bitrate = ReadSized(XingFrame(0), 100000);
  ASSERT_FALSE(bitrate.ok());
  EXPECT_EQ(bitrate.status().message(), "Division by zero");
}

TEST_F(ReadMp3InfoTest, XingNeedsASyncByteAtTheStart) {
  std::string frame = XingFrame(10000, 0x50);
  frame[0] = 0x00;
  // Without its sync byte the first frame is no Xing frame and has no header;
  // the header search goes on to the next frame.
  EXPECT_EQ(*ReadSized(frame + Frame(0xFB, 0x90), 4179592), "128");
  EXPECT_EQ(m_info.XingFrames, 0u);
}

TEST_F(ReadMp3InfoTest, EmptyAndShortFilesHaveNoHeaderAndNoTag) {
  m_info.TagTitle = "left over";
  m_info.HasTag = true;
  EXPECT_EQ(*Read(""), "---");
  EXPECT_FALSE(m_info.HasTag);
  EXPECT_EQ(m_info.TagTitle, "");

  m_info.HasTag = true;
  EXPECT_EQ(*Read(std::string(100, 'x')), "---");
  EXPECT_FALSE(m_info.HasTag);
}

TEST_F(ReadMp3InfoTest, NoHeaderKeepsTheHeaderFieldsOfTheLastRead) {
  ASSERT_EQ(*Read(Frame(0xF3, 0x94)), "80");  // MPEG-2 Layer III, 24000 Hz
  EXPECT_EQ(*Read(Zeros(4000)), "---");
  EXPECT_EQ(m_info.MpegVersion, "2.0");
  EXPECT_EQ(m_info.MpegLayer, "III");
  EXPECT_EQ(m_info.FrameBitrate, 80);
  EXPECT_EQ(m_info.SampleRate, 24000);
}

TEST_F(ReadMp3InfoTest, ReservedVersionOrLayerGivesDashes) {
  for (const int mode : {0xEB, 0xF9}) {
    m_info = Mp3Info();
    EXPECT_EQ(*Read(Frame(static_cast<uint8_t>(mode), 0x90) + Frame()), "---") << mode;
    EXPECT_EQ(m_info.MpegVersion, "");
    EXPECT_EQ(m_info.MpegLayer, "");
    EXPECT_EQ(m_info.FrameBitrate, 0);
    EXPECT_EQ(m_info.SampleRate, 0);
  }
}

TEST_F(ReadMp3InfoTest, DecodesMpeg25Headers) {
  EXPECT_EQ(*Read(Frame(0xE3, 0x98)), "80");
  EXPECT_EQ(m_info.MpegVersion, "2.5");
  EXPECT_EQ(m_info.MpegLayer, "III");
  EXPECT_EQ(m_info.SampleRate, 8000);
}

TEST_F(ReadMp3InfoTest, ReadsASpacePaddedTag) {
  const Id3v1Fields fields{.title = "Title",
                           .artist = " Artist ",
                           .album = "Album",
                           .year = "2001",
                           .comment = "Comment",
                           .genre = 17};
  EXPECT_EQ(*Read(Frame() + Id3v1Block(fields)), "128");
  EXPECT_TRUE(m_info.HasTag);
  EXPECT_EQ(m_info.TagTitle, "Title");
  EXPECT_EQ(m_info.TagArtist, "Artist");
  EXPECT_EQ(m_info.TagAlbum, "Album");
  EXPECT_EQ(m_info.TagYear, "2001");
  EXPECT_EQ(m_info.TagComment, "Comment");
  EXPECT_EQ(m_info.TagGenre, "Rock");
}

TEST_F(ReadMp3InfoTest, KeepsTheNulsOfANulPaddedTag) {
  const Id3v1Fields fields{.title = "Title", .year = "01", .genre = 148, .pad = '\0'};
  EXPECT_EQ(*Read(Frame() + Id3v1Block(fields)), "128");
  EXPECT_TRUE(m_info.HasTag);
  EXPECT_EQ(m_info.TagTitle, "Title" + std::string(25, '\0'));
  EXPECT_EQ(m_info.TagArtist, std::string(30, '\0'));
  EXPECT_EQ(m_info.TagYear, std::string("01") + std::string(2, '\0'));
  EXPECT_EQ(m_info.TagGenre, "");
}

TEST_F(ReadMp3InfoTest, ReadsTheTagWithoutAHeader) {
  EXPECT_EQ(*Read(Id3v1Block({.title = "Only a tag", .genre = 0})), "---");
  EXPECT_TRUE(m_info.HasTag);
  EXPECT_EQ(m_info.TagTitle, "Only a tag");
  EXPECT_EQ(m_info.TagGenre, "Blues");
}

TEST_F(ReadMp3InfoTest, AnErasedTagIsNoTag) {
  m_info.TagArtist = "left over";
  EXPECT_EQ(*Read(Frame() + Id3v1Block({.artist = "Gone", .marker = "000"})), "128");
  EXPECT_FALSE(m_info.HasTag);
  EXPECT_EQ(m_info.TagArtist, "");
}

TEST_F(ReadMp3InfoTest, StepsOverAnId3v2TagFullOfSyncBytes) {
  const std::string audio = Frame(0xFB, 0x90) + Frame(0xFB, 0x90);
  EXPECT_EQ(*Read(Id3v2Block(20000) + audio + Id3v1Block({.title = "Cover"})), "128");
  EXPECT_EQ(m_info.MpegVersion, "1.0");
  EXPECT_EQ(m_info.SampleRate, 44100);
  EXPECT_EQ(m_info.TagTitle, "Cover");
  // The picture alone holds false syncs that would read as 16 kbps.
  EXPECT_EQ(*Read(testing::PictureData(2000) + audio), "16");
}

TEST_F(ReadMp3InfoTest, CountsTheWindowFromTheEndOfTheId3v2Tag) {
  EXPECT_EQ(*Read(Id3v2Block(500) + Zeros(2997) + Frame()), "128");
  EXPECT_EQ(*Read(Id3v2Block(500) + Zeros(2998) + Frame()), "---");
  // The footer counts too: without it the window would end before the header.
  EXPECT_EQ(*Read(Id3v2Block(500, /*with_footer=*/true) + Zeros(2990) + Frame(0xFB, 0x50)), "64");
}

TEST_F(ReadMp3InfoTest, FindsAXingHeaderBehindAnId3v2Tag) {
  const std::string head = Id3v2Block(1000) + XingFrame(10000);
  EXPECT_EQ(*ReadSized(head, 4179592), "128");
  EXPECT_EQ(m_info.XingFrames, 10000u);
}

TEST_F(ReadMp3InfoTest, AnId3v2TagLongerThanTheFileLeavesNoHeader) {
  std::string tag = Id3v2Block(100);
  tag[6] = 0x7F;  // claims far more than the file holds
  EXPECT_EQ(*Read(tag + Frame()), "---");
}

TEST_F(ReadMp3InfoTest, ReportsFilesThatCannotBeRead) {
  Result<std::string> bitrate = ReadMp3Info(m_folder.Path("missing.mp3"), &m_info);
  ASSERT_FALSE(bitrate.ok());
  EXPECT_EQ(bitrate.status().message(), "File not found");

  bitrate = ReadMp3Info(m_folder.MakeFolder("folder.mp3"), &m_info);
  ASSERT_FALSE(bitrate.ok());
  EXPECT_FALSE(bitrate.status().message().empty());
}

TEST_F(ReadMp3InfoTest, ReportsAFileItMayNotRead) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  const std::string locked = m_folder.WriteFile("locked.mp3", Frame());
  std::filesystem::permissions(locked, std::filesystem::perms::none);
  const Result<std::string> bitrate = ReadMp3Info(locked, &m_info);
  ASSERT_FALSE(bitrate.ok());
  EXPECT_EQ(bitrate.status().message(), "Permission denied");
}

}  // namespace
}  // namespace tallymere
