// What a scan writes into the bitrate, time and tag fields, and into Size for
// files the data file cannot hold exactly.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "mp3/mp3_fixtures.h"
#include "scan/scan_disk.h"
#include "scan/scan_fixture.h"

namespace tallymere {
namespace {

using testing::FindRecord;
using ::testing::IsEmpty;
using testing::ScanFixture;

const ScanSettings kMp3WithInfo{"mp3", 1};

// A file of `size` bytes that starts with head and ends with tail; the bytes
// between are a hole, so gigabytes cost nothing.
void WriteSparse(const std::string& path, int64_t size, const std::string& head,
                 const std::string& tail = "") {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0) << path;
  ASSERT_EQ(write(fd, head.data(), head.size()), static_cast<ssize_t>(head.size()));
  ASSERT_EQ(ftruncate(fd, size), 0);
  if (!tail.empty()) {
    const off_t at = static_cast<off_t>(size - static_cast<int64_t>(tail.size()));
    ASSERT_EQ(pwrite(fd, tail.data(), tail.size(), at), static_cast<ssize_t>(tail.size()));
  }
  close(fd);
}

testing::Id3v1Fields Tag() {
  testing::Id3v1Fields tag;
  tag.title = "Song";
  tag.artist = "Band";
  tag.album = "Record";
  return tag;
}

TEST(ScanMp3FieldsTest, ReadsBitrateTimeAndTag) {
  ScanFixture fixture;
  fixture.Folder("Music");
  WriteSparse(fixture.folder().Path("c/Music/tagged.mp3"), 4000000, testing::Frame(),
              testing::Id3v1Block(Tag()));
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, kMp3WithInfo, &table).ok());
  const CatalogRecord& record = table.Record(1);
  EXPECT_EQ(record.size, 4000000);
  EXPECT_EQ(record.bitrate, "128");
  EXPECT_EQ(record.time, "04:09");  // x = 250, T = 249
  EXPECT_EQ(record.artist, "Band");
  EXPECT_EQ(record.title, "Song");
  EXPECT_EQ(record.album, "Record");
  EXPECT_THAT(fixture.ui().MessageTexts(), IsEmpty());
}

TEST(ScanMp3FieldsTest, FileWithoutTagOrHeaderGetsWhatWasFound) {
  ScanFixture fixture;
  fixture.Write("Music/untagged.mp3", testing::Frame());
  fixture.Write("Music/noheader.mp3", testing::Zeros(500) + testing::Id3v1Block(Tag()));
  fixture.Write("Music/empty.mp3");
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, kMp3WithInfo, &table).ok());

  const CatalogRecord* untagged = FindRecord(table, "untagged.mp3");
  ASSERT_NE(untagged, nullptr);
  EXPECT_EQ(untagged->bitrate, "128");
  // 417 bytes: x = 0.026 rounds to 0, so T = -1 and the seconds part is -1.
  EXPECT_EQ(untagged->time, "-01:-01");
  EXPECT_EQ(untagged->artist, "");

  const CatalogRecord* noheader = FindRecord(table, "noheader.mp3");
  ASSERT_NE(noheader, nullptr);
  EXPECT_EQ(noheader->bitrate, "---");
  EXPECT_EQ(noheader->time, "---");
  EXPECT_EQ(noheader->artist, "Band");

  const CatalogRecord* empty = FindRecord(table, "empty.mp3");
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->bitrate, "---");
  EXPECT_EQ(empty->time, "---");
}

TEST(ScanMp3FieldsTest, ReportsAXingFileWithoutFramesAndKeepsItsRecord) {
  ScanFixture fixture;
  fixture.Write("Music/A/x.mp3", testing::XingFrame(0) + testing::Id3v1Block(Tag()));
  fixture.Folder("Music/B");
  WriteSparse(fixture.folder().Path("c/Music/B/good.mp3"), 4000000, testing::Frame(),
              testing::Id3v1Block(Tag()));
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, kMp3WithInfo, &table).ok());

  const std::vector<testing::UiCall> messages = fixture.ui().Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Division by zero. while opening \"C:\\Music\\A\\x.mp3\"");
  EXPECT_EQ(messages[0].buttons, Buttons::kOk);
  EXPECT_EQ(messages[0].icon, Icon::kStop);
  EXPECT_EQ(messages[0].title, "Tallymere");

  const CatalogRecord* broken = FindRecord(table, "x.mp3");
  ASSERT_NE(broken, nullptr);
  EXPECT_EQ(broken->bitrate, "");
  EXPECT_EQ(broken->time, "");
  EXPECT_EQ(broken->artist, "");
  EXPECT_EQ(broken->album, "");
  EXPECT_EQ(broken->title, "");
  EXPECT_EQ(fixture.state().file_count, 2);

  // The scan went on with the next file.
  const CatalogRecord* good = FindRecord(table, "good.mp3");
  ASSERT_NE(good, nullptr);
  EXPECT_EQ(good->time, "04:09");
  EXPECT_EQ(good->artist, "Band");
}

TEST(ScanMp3FieldsTest, ATenHourFileGetsItsTime) {
  ScanFixture fixture;
  fixture.Folder("Music");
  // 36000 seconds at 128 kbps (16000 bytes a second).
  WriteSparse(fixture.folder().Path("c/Music/long.mp3"), 576000000, testing::Frame());
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, kMp3WithInfo, &table).ok());
  EXPECT_EQ(table.Record(1).time, "599:59");
  EXPECT_THAT(fixture.ui().MessageTexts(), IsEmpty());
}

TEST(ScanMp3FieldsTest, RecordsAFileOfTwoGigabytesOrMoreWithTheLargestSize) {
  ScanFixture fixture;
  fixture.Folder("Big");
  WriteSparse(fixture.folder().Path("c/Big/huge.mp3"), int64_t{3} << 30, testing::Frame());
  WriteSparse(fixture.folder().Path("c/Big/edge.mp3"), int64_t{1} << 31, testing::Frame());
  WriteSparse(fixture.folder().Path("c/Big/below.mp3"), (int64_t{1} << 31) - 1, testing::Frame());
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\Big"}, kMp3WithInfo, &table).ok());
  EXPECT_EQ(FindRecord(table, "huge.mp3")->size, 2147483647);
  EXPECT_EQ(FindRecord(table, "edge.mp3")->size, 2147483647);
  EXPECT_EQ(FindRecord(table, "below.mp3")->size, 2147483647);
  EXPECT_EQ(FindRecord(table, "huge.mp3")->bitrate, "128");
  EXPECT_EQ(FindRecord(table, "huge.mp3")->time, "2236:57");  // from the recorded size
  EXPECT_EQ(table.TotalSize(), 3 * int64_t{2147483647});
}

}  // namespace
}  // namespace tallymere
