// How a scan treats folders it cannot list and a catalog it cannot fill: the
// catalog that was there stays as it was.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "scan/scan_disk.h"
#include "scan/scan_fixture.h"

namespace tallymere {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using testing::RecordPaths;
using testing::ScanFixture;

const ScanSettings kMp3WithoutInfo{"mp3", 0};
const ScanSettings kAllFiles{"*.*", 0};

// A catalog of one record, as an earlier scan would have left it, with the
// counters that go with it.
CatalogTable EarlierCatalog(ScanState* state) {
  CatalogTable table;
  CatalogRecord record;
  record.path = "C:\\Old\\";
  record.file_name = "old.mp3";
  record.disk_label = "C:\\";
  record.size = 42;
  table.SetRecord(1, record);
  table.SetRecord(2, MakeTrailer("mp3", 1, "then"));
  state->file_count = 1;
  state->next_record_index = 2;
  return table;
}

void ExpectCatalogKept(const CatalogTable& table, const ScanState& state) {
  ScanState fresh;
  EXPECT_EQ(table, EarlierCatalog(&fresh));
  EXPECT_EQ(state.file_count, 1);
  EXPECT_EQ(state.next_record_index, 2);
  EXPECT_TRUE(state.lstList.empty());
}

TEST(ScanFailureTest, SkipsAndCountsSubfoldersThatCannotBeListedNamingTheFirstFew) {
  ScanFixture fixture;
  fixture.Write("Music/r.mp3");
  fixture.Write("Music/Locked/l.mp3");
  fixture.Write("Music/Locked/Deep/d.mp3");
  fixture.Write("Music/Open/o.mp3");
  fixture.platform().FailListing("C:\\Music\\Locked\\");
  CatalogTable table;
  ScanReport report;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, kMp3WithoutInfo, &table, &report).ok());
  EXPECT_THAT(RecordPaths(table), ElementsAre("C:\\Music\\r.mp3", "C:\\Music\\Open\\o.mp3"));
  EXPECT_EQ(report.skipped_folder_count, 1);  // counted once, not once per listing
  EXPECT_THAT(report.skipped_folders, ElementsAre("C:\\Music\\Locked\\"));
  EXPECT_EQ(fixture.platform().ListCount("C:\\Music\\Locked\\"), 1);
  EXPECT_EQ(fixture.platform().ListCount("C:\\Music\\Locked\\Deep\\"), 0);
  EXPECT_EQ(fixture.state().file_count, 2);
  EXPECT_THAT(fixture.ui().MessageTexts(), IsEmpty());  // the caller tells the user

  for (int i = 0; i < ScanReport::kNamedFolders + 2; ++i) {
    fixture.Write("Many/L" + std::to_string(i) + "/x.mp3");
    fixture.platform().FailListing("C:\\Many\\L" + std::to_string(i) + "\\");
  }
  report = ScanReport();
  ASSERT_TRUE(fixture.Scan({"C:\\Many"}, kMp3WithoutInfo, &table, &report).ok());
  EXPECT_EQ(report.skipped_folder_count, ScanReport::kNamedFolders + 2);
  EXPECT_EQ(static_cast<int>(report.skipped_folders.size()), ScanReport::kNamedFolders);
  EXPECT_EQ(table.FileCount(), 0);
}

TEST(ScanFailureTest, ARootThatCannotBeListedFailsAndKeepsTheCatalog) {
  ScanFixture fixture;
  fixture.Write("Music/r.mp3");
  fixture.Write("Locked/l.mp3");
  fixture.platform().FailListing("C:\\Locked\\");
  CatalogTable table = EarlierCatalog(&fixture.state());

  EXPECT_THAT(fixture.Scan({"C:\\Music", "C:\\Locked"}, kMp3WithoutInfo, &table).message(),
              HasSubstr("C:\\Locked\\"));
  ExpectCatalogKept(table, fixture.state());

  // A root that does not exist fails the same way, through the real listing.
  EXPECT_THAT(fixture.Scan({"C:\\Nowhere"}, kMp3WithoutInfo, &table).message(),
              HasSubstr("C:\\Nowhere\\"));
  ExpectCatalogKept(table, fixture.state());
}

TEST(ScanFailureTest, AScanBeyondTheTableLimitOverAllFoldersKeepsTheCatalog) {
  ScanFixture fixture;
  fixture.platform().InventFiles("C:\\Big\\", CatalogTable::kMaxFileRecords + 1);
  fixture.platform().InventFiles("C:\\One\\", 20000);
  fixture.platform().InventFiles("C:\\Two\\", 20000);
  CatalogTable table = EarlierCatalog(&fixture.state());
  EXPECT_EQ(fixture.Scan({"C:\\Big"}, kAllFiles, &table).message(), CatalogFullMessage());
  ExpectCatalogKept(table, fixture.state());
  EXPECT_EQ(fixture.Scan({"C:\\One", "C:\\Two"}, kAllFiles, &table).message(),
            CatalogFullMessage());
  ExpectCatalogKept(table, fixture.state());

  // 32765 files just fit, leaving room for the trailer.
  fixture.platform().InventFiles("C:\\Fits\\", CatalogTable::kMaxFileRecords);
  ASSERT_TRUE(fixture.Scan({"C:\\Fits"}, kAllFiles, &table).ok());
  EXPECT_EQ(table.FileCount(), CatalogTable::kMaxFileRecords);
  EXPECT_EQ(fixture.state().file_count, CatalogTable::kMaxFileRecords);
  EXPECT_EQ(fixture.state().next_record_index, CatalogTable::kCapacity);
  EXPECT_EQ(fixture.ui().Status(1), " Loading 32765 files, please wait . . .");
}

}  // namespace
}  // namespace tallymere
