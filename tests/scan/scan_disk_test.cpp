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

using ::testing::ElementsAre;
using testing::FindRecord;
using testing::RecordPaths;
using testing::ScanFixture;

const ScanSettings kMp3WithInfo{"mp3", 1};
const ScanSettings kMp3WithoutInfo{"mp3", 0};
const ScanSettings kAllFiles{"*.*", 1};

std::vector<std::string> StatusTexts(const testing::ScriptedUi& ui) {
  std::vector<std::string> texts;
  for (const testing::UiCall& call : ui.calls()) {
    if (call.op == "SetStatus" && call.panel == 1) texts.push_back(call.text);
  }
  return texts;
}

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// Music holds r.mp3 and x.txt, folders A (a.mp3 and A1 holding a1.mp3) and b
// (b.mp3); Empty holds only a subfolder Inner, which holds i.mp3.
void WriteMusicTree(const ScanFixture& fixture) {
  fixture.Write("Music/r.mp3");
  fixture.Write("Music/x.txt");
  fixture.Write("Music/A/a.mp3");
  fixture.Write("Music/A/A1/a1.mp3");
  fixture.Write("Music/b/b.mp3");
}

TEST(ScanDiskTest, ScansRootFirstThenSubfoldersInCaseInsensitiveOrder) {
  ScanFixture fixture;
  WriteMusicTree(fixture);
  fixture.Write("Music/Empty/Inner/i.mp3");
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, kMp3WithoutInfo, &table).ok());

  EXPECT_THAT(RecordPaths(table),
              ElementsAre("C:\\Music\\r.mp3", "C:\\Music\\A\\a.mp3", "C:\\Music\\A\\A1\\a1.mp3",
                          "C:\\Music\\b\\b.mp3", "C:\\Music\\Empty\\Inner\\i.mp3"));
  table.Walk([](int, const CatalogRecord& record) {
    EXPECT_EQ(record.path.back(), '\\') << record.path;
    EXPECT_NE(record.path, "C:\\Music\\Empty\\");  // it holds only a folder
  });
  EXPECT_EQ(fixture.state().file_count, 5);
  EXPECT_EQ(fixture.state().next_record_index, 6);
  EXPECT_TRUE(fixture.state().lstList.empty());
  EXPECT_TRUE(table.Record(6).path.empty());  // the trailer is the caller's
}

TEST(ScanDiskTest, BatchOrderDoesNotDecideFolderOrder) {
  ScanFixture fixture("C: fixed %ROOT%/c\nD: fixed %ROOT%/d\n");
  fixture.Write("A/a.mp3");
  fixture.folder().WriteFile("d/B/b.mp3", "");
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"D:\\B", "C:\\A\\"}, kMp3WithoutInfo, &table).ok());
  EXPECT_THAT(RecordPaths(table), ElementsAre("C:\\A\\a.mp3", "D:\\B\\b.mp3"));
  EXPECT_EQ(table.Record(2).disk_label, "D:\\");
}

TEST(ScanDiskTest, TypeFilterLooksAtTheLastThreeCharacters) {
  ScanFixture fixture;
  for (const char* name : {"a.MP3", "a.mp3.txt", "notmp3", "mp3", "p3", "b.Mp3"}) {
    fixture.Write(std::string("T/") + name);
  }
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\T"}, kMp3WithoutInfo, &table).ok());
  std::vector<std::string> names;
  table.Walk([&](int, const CatalogRecord& record) { names.push_back(record.file_name); });
  std::sort(names.begin(), names.end());
  EXPECT_THAT(names, ElementsAre("a.MP3", "b.Mp3", "mp3", "notmp3"));

  // Three characters, not three bytes: a type with a non-ASCII letter works.
  fixture.Write("U/song.flé");
  fixture.Write("U/song.fle");
  CatalogTable accented;
  ASSERT_TRUE(fixture.Scan({"C:\\U"}, {"flé", 0}, &accented).ok());
  EXPECT_THAT(RecordPaths(accented), ElementsAre("C:\\U\\song.flé"));
}

TEST(ScanDiskTest, FillsTheFileFieldsAndLeavesMp3FieldsEmptyWithoutTheFlag) {
  ScanFixture fixture;
  const std::string path = fixture.Write("Music/a.mp3", testing::Frame() + std::string(100, 'x'));
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\Music\\"}, kMp3WithoutInfo, &table).ok());
  const CatalogRecord& record = table.Record(1);
  EXPECT_EQ(record.path, "C:\\Music\\");
  EXPECT_EQ(record.file_name, "a.mp3");
  EXPECT_EQ(record.size, static_cast<int32_t>(testing::kFrameBytes + 100));
  EXPECT_EQ(record.modified, FormatDateTime(info.st_mtim.tv_sec));
  EXPECT_EQ(record.disk_label, "C:\\");
  EXPECT_EQ(record.bitrate, "");
  EXPECT_EQ(record.time, "");
}

TEST(ScanDiskTest, AllFilesNeverReadsMp3InformationNorShowsFileFound) {
  ScanFixture fixture;
  testing::Id3v1Fields tag;
  tag.artist = "Artist";
  tag.title = "Title";
  fixture.Write("Music/a.mp3", testing::Frame() + testing::Id3v1Block(tag));
  fixture.Write("Music/notes.txt", "text");
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, kAllFiles, &table).ok());
  ASSERT_EQ(table.FileCount(), 2);
  table.Walk([](int, const CatalogRecord& record) {
    EXPECT_EQ(record.bitrate, "");
    EXPECT_EQ(record.time, "");
    EXPECT_EQ(record.artist, "");
    EXPECT_EQ(record.title, "");
    EXPECT_EQ(record.album, "");
  });
  for (const std::string& text : StatusTexts(fixture.ui())) {
    EXPECT_FALSE(text.starts_with("File found")) << text;
  }
}

TEST(ScanDiskTest, ShowsFolderFileAndLoadingStatusTexts) {
  ScanFixture fixture;
  WriteMusicTree(fixture);
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, kMp3WithoutInfo, &table).ok());
  const std::vector<std::string> texts = StatusTexts(fixture.ui());
  EXPECT_TRUE(Contains(texts, "Scanning folder ... C:\\Music\\A"));
  EXPECT_TRUE(Contains(texts, "Scanning folder ... C:\\Music\\A\\A1"));
  EXPECT_TRUE(Contains(texts, "Scanning folder ... C:\\Music\\b"));
  EXPECT_TRUE(Contains(texts, "File found ... C:\\Music\\A\\a.mp3"));
  EXPECT_TRUE(Contains(texts, "File found ... C:\\Music\\r.mp3"));
  EXPECT_FALSE(Contains(texts, "File found ... C:\\Music\\x.txt"));
  EXPECT_EQ(fixture.ui().Status(1), " Loading 4 files, please wait . . .");
}

TEST(ScanDiskTest, YieldsOncePerListedEntryAndOncePerScannedFolder) {
  ScanFixture fixture;
  WriteMusicTree(fixture);
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, kMp3WithoutInfo, &table).ok());
  // Entries: Music 4 (r.mp3, x.txt, A, b), A 2, A1 1, b 1; then 4 folders.
  EXPECT_EQ(fixture.ui().yield_count(), 8 + 4);
}

TEST(ScanDiskTest, ListsEveryFolderOnce) {
  ScanFixture fixture;
  WriteMusicTree(fixture);
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, kMp3WithInfo, &table).ok());
  for (const char* folder :
       {"C:\\Music\\", "C:\\Music\\A\\", "C:\\Music\\A\\A1\\", "C:\\Music\\b\\"}) {
    EXPECT_EQ(fixture.platform().ListCount(folder), 1) << folder;
  }
  EXPECT_EQ(table.FileCount(), 4);
}

TEST(ScanDiskTest, LabelModePutsTheLabelOnEveryRecord) {
  ScanFixture fixture;
  WriteMusicTree(fixture);
  fixture.state().label_mode = true;
  fixture.state().label = "My_Disk";
  CatalogTable labelled;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, kMp3WithoutInfo, &labelled).ok());
  ASSERT_EQ(labelled.FileCount(), 4);
  labelled.Walk([](int, const CatalogRecord& r) { EXPECT_EQ(r.disk_label, "My_Disk"); });
  EXPECT_TRUE(fixture.state().label_mode);  // left as the caller set it

  fixture.state().label_mode = false;
  CatalogTable plain;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, kMp3WithoutInfo, &plain).ok());
  plain.Walk([](int, const CatalogRecord& r) { EXPECT_EQ(r.disk_label, "C:\\"); });
}

TEST(ScanDiskTest, NeitherListsNorEntersHiddenOrSystemEntries) {
  ScanFixture fixture;
  const std::string real = fixture.Write("Music/real.mp3");
  fixture.Write("Music/.hidden.mp3");
  fixture.Write("Music/.secret/inside.mp3");
  const std::string elsewhere = fixture.folder().WriteFile("elsewhere/far.mp3", "");
  ASSERT_EQ(symlink(real.c_str(), fixture.folder().Path("c/Music/link.mp3").c_str()), 0);
  ASSERT_EQ(symlink(fixture.folder().Path("elsewhere").c_str(),
                    fixture.folder().Path("c/Music/linked").c_str()),
            0);
  ASSERT_EQ(mkfifo(fixture.folder().Path("c/Music/pipe.mp3").c_str(), 0600), 0);
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, kAllFiles, &table).ok());
  EXPECT_THAT(RecordPaths(table), ElementsAre("C:\\Music\\real.mp3"));
}

TEST(ScanDiskTest, NeverEntersAnotherDrivesMountPoint) {
  ScanFixture fixture("C: fixed %ROOT%/c\nD: removable %ROOT%/c/mnt/d\n");
  fixture.Write("top.mp3");
  fixture.Write("mnt/d/ondisk.mp3");
  fixture.Write("mnt/d/deeper/more.mp3");
  CatalogTable table;
  ASSERT_TRUE(fixture.Scan({"C:\\"}, kMp3WithoutInfo, &table).ok());
  EXPECT_THAT(RecordPaths(table), ElementsAre("C:\\top.mp3"));
  EXPECT_EQ(fixture.platform().ListCount("C:\\mnt\\d\\"), 0);
}

TEST(ScanDiskTest, CountsNamesHoldingABackslashOnce) {
  ScanFixture fixture;
  fixture.Write("Music/a\\b.mp3");
  fixture.Write("Music/ok.mp3");
  CatalogTable table;
  ScanReport report;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, kMp3WithoutInfo, &table, &report).ok());
  EXPECT_THAT(RecordPaths(table), ElementsAre("C:\\Music\\ok.mp3"));
  EXPECT_EQ(report.skipped_names, 1);
}

TEST(ScanDiskTest, ReportsProgressWithFoldersFoundAndFilesRecorded) {
  ScanFixture fixture;
  WriteMusicTree(fixture);
  std::vector<std::pair<int, int>> calls;
  fixture.state().lstBox = {"C:\\Music"};
  ScanEngine engine(fixture.platform(), fixture.ui(), fixture.state());
  engine.set_progress([&](int folders, int files) { calls.emplace_back(folders, files); });
  CatalogTable table;
  ScanReport report;
  ASSERT_TRUE(engine.ScanDisk(kMp3WithoutInfo, &table, &report).ok());
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), std::make_pair(4, 4));  // Music, A, A1, b; four .mp3 files
  for (std::size_t i = 1; i < calls.size(); ++i) {
    EXPECT_GE(calls[i].first, calls[i - 1].first);
    EXPECT_GE(calls[i].second, calls[i - 1].second);
  }
}

}  // namespace
}  // namespace tallymere
