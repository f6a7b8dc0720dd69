// ReadMp3Info on a file the caller has open: the same answers as by path, in
// as few reads as the file's size allows.

#include <gtest/gtest.h>

#include <filesystem>

#include "mp3/bitrat.h"
#include "mp3/mp3_fixtures.h"
#include "platform/binary_file.h"
#include "support/temp_folder.h"

namespace tallymere {
namespace {

using testing::Frame;
using testing::Id3v1Block;
using testing::Id3v2Block;
using testing::XingFrame;
using testing::Zeros;

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
      // whose audio lies beyond it.
      {Id3v2Block(500) + Frame() + tag, 0, 1},
      {Id3v2Block(20000) + Frame(0xFB, 0x50) + tag, 0, 3},
      {Zeros(5000), 0, 2},
  };
  for (const Case& c : cases) {
    const uintmax_t length = c.length != 0 ? c.length : c.bytes.size();
    SCOPED_TRACE(length);
    const std::string path = folder.WriteFile("song.mp3", c.bytes);
    std::filesystem::resize_file(path, length);
    Mp3Info by_path;
    const std::string expected = Described(ReadMp3Info(path, &by_path), by_path);

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
