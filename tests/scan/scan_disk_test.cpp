#include "scan/scan_disk.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/format.h"
#include "mp3/mp3_fixtures.h"
#include "scan/scan_fixture.h"

namespace tallymere {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsSupersetOf;
using ::testing::Not;
using testing::RecordPaths;
using testing::ScanFixture;
using ::testing::StartsWith;

const ScanSettings kMp3WithInfo{"mp3", 1};
const ScanSettings kMp3WithoutInfo{"mp3", 0};
const ScanSettings kAllFiles{"*.*", 1};

// The texts status panel 1 showed, in order.
std::vector<std::string> StatusTexts(const testing::ScriptedUi& ui) {
  std::vector<std::string> texts;
  for (const testing::UiCall& call : ui.calls()) {
    if (call.op == "SetStatus" && call.panel == 1) texts.push_back(call.text);
  }
  return texts;
}

TEST(ScanDiskTest, ScansRootFirstThenSubfoldersInCaseInsensitiveOrderListingEachOnce) {
  ScanFixture fixture;
  for (const char* file :
       {"r.mp3", "x.txt", "A/a.mp3", "A/A1/a1.mp3", "b/b.mp3", "Empty/Inner/i.mp3"}) {
    fixture.Write(std::string("Music/") + file);
  }
  std::vector<std::pair<int, int>> progress;
  fixture.set_progress([&](int folders, int files) { progress.emplace_back(folders, files); });
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, kMp3WithInfo, &table).ok());

  EXPECT_THAT(RecordPaths(table),
              ElementsAre("C:\\Music\\r.mp3", "C:\\Music\\A\\a.mp3", "C:\\Music\\A\\A1\\a1.mp3",
                          "C:\\Music\\b\\b.mp3", "C:\\Music\\Empty\\Inner\\i.mp3"));
  EXPECT_EQ(fixture.file_count(), 5);
  EXPECT_TRUE(table.Record(6).path.empty());  // the trailer is the caller's
  for (const char* folder : {"C:\\Music\\", "C:\\Music\\A\\", "C:\\Music\\A\\A1\\",
                             "C:\\Music\\b\\", "C:\\Music\\Empty\\", "C:\\Music\\Empty\\Inner\\"}) {
    EXPECT_EQ(fixture.platform().ListCount(folder), 1) << folder;
  }
  // Entries: Music 5 (r.mp3, x.txt, A, b, Empty), A 2, A1 1, b 1, Empty 1,
  // Inner 1; then 6 folders.
  EXPECT_EQ(fixture.ui().yield_count(), 11 + 6);

  EXPECT_THAT(
      StatusTexts(fixture.ui()),
      IsSupersetOf({"Scanning folder ... C:\\Music\\A", "Scanning folder ... C:\\Music\\A\\A1",
                    "Scanning folder ... C:\\Music\\b", "File found ... C:\\Music\\A\\a.mp3",
                    "File found ... C:\\Music\\r.mp3"}));
  EXPECT_THAT(StatusTexts(fixture.ui()), Not(Contains("File found ... C:\\Music\\x.txt")));

  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back(), std::make_pair(6, 5));
  for (std::size_t i = 1; i < progress.size(); ++i) {
    EXPECT_GE(progress[i].first, progress[i - 1].first);
    EXPECT_GE(progress[i].second, progress[i - 1].second);
  }
}

TEST(ScanDiskTest, BatchOrderDoesNotDecideFolderOrderNorIsAnotherDrivesMountPointEntered) {
  ScanFixture fixture("C: fixed %ROOT%/c\nD: fixed %ROOT%/d\nE: removable %ROOT%/c/mnt/e\n");
  fixture.Write("A/a.mp3");
  fixture.folder().WriteFile("d/B/b.mp3", "");
  fixture.Write("mnt/e/ondisk.mp3");
  fixture.Write("mnt/e/deeper/more.mp3");
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"D:\\B", "C:\\A\\"}, kMp3WithoutInfo, &table).ok());
  EXPECT_THAT(RecordPaths(table), ElementsAre("C:\\A\\a.mp3", "D:\\B\\b.mp3"));
  EXPECT_EQ(table.Record(2).disk_label, "D:\\");

  ASSERT_TRUE(fixture.Scan({"C:\\"}, kMp3WithoutInfo, &table).ok());
  EXPECT_THAT(RecordPaths(table), ElementsAre("C:\\A\\a.mp3"));
  EXPECT_EQ(fixture.platform().ListCount("C:\\mnt\\"), 1);
  EXPECT_EQ(fixture.platform().ListCount("C:\\mnt\\e\\"), 0);
}

TEST(ScanDiskTest, TypeFilterLooksAtTheLastThreeCharacters) {
  ScanFixture fixture;
  for (const char* name : {"a.MP3", "a.mp3.txt", "notmp3", "mp3", "p3", "b.Mp3"}) {
    fixture.Write(std::string("T/") + name);
  }
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\T"}, kMp3WithoutInfo, &table).ok());
  std::vector<std::string> paths = RecordPaths(table);
  std::sort(paths.begin(), paths.end());
  EXPECT_THAT(paths, ElementsAre("C:\\T\\a.MP3", "C:\\T\\b.Mp3", "C:\\T\\mp3", "C:\\T\\notmp3"));

  // Three characters, not three bytes: a type with a non-ASCII letter works.
  fixture.Write("U/song.flé");
  fixture.Write("U/song.fle");
  ASSERT_TRUE(fixture.Scan({"C:\\U"}, {"flé", 0}, &table).ok());
  EXPECT_THAT(RecordPaths(table), ElementsAre("C:\\U\\song.flé"));
}

TEST(ScanDiskTest, FillsTheFileFieldsAndReadsMp3InformationOnlyWhenAsked) {
  ScanFixture fixture;
  const std::string path =
      fixture.Write("Music/a.mp3",
                    testing::Frame() + testing::Id3v1Block({.title = "Title", .artist = "Artist"}));
  fixture.Write("Music/notes.txt", "text");
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  const auto fields = [](const CatalogRecord& r) {
    return r.path + r.file_name + " " + r.disk_label + " " + std::to_string(r.size) + " [" +
           r.bitrate + "|" + r.time + "|" + r.artist + "|" + r.title + "|" + r.album + "]";
  };
  // "*.*" never reads MP3 information, nor says "File found"; a label given
  // goes on every record.
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, kAllFiles, &table, nullptr, "My_Disk").ok());
  ASSERT_EQ(table.FileCount(), 2);
  table.Walk([&](int, const CatalogRecord& r) {
    EXPECT_THAT(fields(r), ::testing::EndsWith(" My_Disk " + std::to_string(r.size) + " [||||]"));
  });
  EXPECT_THAT(StatusTexts(fixture.ui()), Not(Contains(StartsWith("File found"))));

  // The next request without a label: nothing of the last scan stays behind.
  ASSERT_TRUE(fixture.Scan({"C:\\Music\\"}, kMp3WithoutInfo, &table).ok());
  EXPECT_EQ(fields(table.Record(1)), "C:\\Music\\a.mp3 C:\\ 545 [||||]");
  EXPECT_EQ(table.Record(1).modified, FormatDateTime(info.st_mtim.tv_sec));
}

TEST(ScanDiskTest, NeitherListsNorEntersHiddenOrSystemEntriesOrBackslashNames) {
  ScanFixture fixture;
  const std::string real = fixture.Write("Music/real.mp3");
  fixture.Write("Music/.hidden.mp3");
  fixture.Write("Music/.secret/inside.mp3");
  fixture.Write("Music/a\\b.mp3");
  fixture.folder().WriteFile("elsewhere/far.mp3", "");
  ASSERT_EQ(symlink(real.c_str(), fixture.folder().Path("c/Music/link.mp3").c_str()), 0);
  ASSERT_EQ(symlink(fixture.folder().Path("elsewhere").c_str(),
                    fixture.folder().Path("c/Music/linked").c_str()),
            0);
  ASSERT_EQ(mkfifo(fixture.folder().Path("c/Music/pipe.mp3").c_str(), 0600), 0);
  CatalogTable table;
  ScanReport report;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, kAllFiles, &table, &report).ok());
  EXPECT_THAT(RecordPaths(table), ElementsAre("C:\\Music\\real.mp3"));
  EXPECT_EQ(report.skipped_names, 1);  // the name holding a backslash, counted once
}

}  // namespace
}  // namespace tallymere
