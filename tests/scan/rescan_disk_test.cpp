// The comparison and replacement behind Rescan Disk, on catalogs laid out by
// hand: what counts as a change, and what a replacement may not disturb.

#include "scan/rescan_disk.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "common/format.h"

namespace tallymere {
namespace {

CatalogRecord Song(std::string label, std::string path, std::string name, int32_t size = 1) {
  CatalogRecord record;
  record.disk_label = std::move(label);
  record.path = std::move(path);
  record.file_name = std::move(name);
  record.size = size;
  record.modified = FormatDateTime(1'000'000'000);
  return record;
}

DiskRescan RescanOf(std::vector<CatalogRecord> records) {
  DiskRescan rescan;
  rescan.label = "Music01";
  rescan.scan.file_count = static_cast<int>(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    rescan.scan.table.SetRecord(static_cast<int>(i) + 1, std::move(records[i]));
  }
  return rescan;
}

const NodeKey kDisk = NodeKey::Parse("E:\\Music01\\", true);

TEST(RescanDiskTest, ADateInTheOlderFormIsNoChange) {
  // The old form below is written in UTC and carries no zone.
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  CatalogTable catalog;
  CatalogRecord old_form = Song("Music01", "E:\\", "a.mp3");
  old_form.modified = "09/09/01 01:46:40";  // the same moment, as earlier versions wrote it
  catalog.SetRecord(1, old_form);
  catalog.SetRecord(2, Song("Music01", "E:\\", "b.mp3"));
  catalog.SetRecord(3, MakeTrailer("mp3", 1, "x"));
  CatalogRecord later = Song("Music01", "E:\\", "b.mp3");
  later.modified = FormatDateTime(1'000'000'060);
  later.artist = "Someone";
  DiskRescan rescan = RescanOf({Song("Music01", "E:\\", "a.mp3"), later});
  CompareDisk(catalog, kDisk, &rescan);
  ASSERT_EQ(rescan.changes.size(), 1u);
  EXPECT_EQ(DiskChangeLine(rescan.changes[0]),
            "~ E:\\b.mp3 (date " + Song("Music01", "E:\\", "b.mp3").modified + " to " +
                FormatDateTime(1'000'000'060) + "; artist \"\" to \"Someone\")");
  EXPECT_EQ(DiskChangesSummary(rescan),
            "Disk Music01: 0 files added, 0 removed, 1 changed (size, date or tag).");
}

TEST(RescanDiskTest, AReplacementKeepsEveryOtherRecordOrRefusesWhatDoesNotFit) {
  // Another disk, this one, a hard drive's file, the trailer, and a record an
  // earlier scan left after it: only this disk's records change.
  CatalogTable catalog;
  catalog.SetRecord(1, Song("Other", "E:\\", "o.mp3"));
  catalog.SetRecord(2, Song("music01", "E:\\", "old.mp3"));
  catalog.SetRecord(3, Song("C:\\", "C:\\Music\\", "c.mp3"));
  catalog.SetRecord(4, MakeTrailer("mp3", 1, "before"));
  catalog.SetRecord(5, Song("Music01", "E:\\Sub\\", "late.mp3"));
  DiskRescan rescan =
      RescanOf({Song("Music01", "E:\\", "new1.mp3", 5), Song("Music01", "E:\\", "new2.mp3", 6)});
  rescan.scan.settings.file_type = "mp3";
  const CatalogTable before = catalog;
  ASSERT_TRUE(ReplaceDiskRecords(&catalog, kDisk, &rescan, "now"));
  std::vector<std::string> names;
  for (int i = 1; i <= 6; ++i) names.push_back(catalog.Record(i).file_name);
  EXPECT_EQ(names,
            (std::vector<std::string>{"o.mp3", "new1.mp3", "new2.mp3", "c.mp3", "*.mp3", ""}));
  EXPECT_EQ(catalog.Record(1), before.Record(1));
  EXPECT_EQ(catalog.Record(4), before.Record(3));
  EXPECT_EQ(catalog.Record(5).modified, "now");

  // Past the 32,765 files of the described table the disk still goes in...
  constexpr int kFull = CatalogTable::kDescribedCapacity;
  CatalogTable full;
  for (int i = 1; i < kFull; ++i) {
    full.SetRecord(i, Song(i == 1 ? "Music01" : "C:\\", "C:\\", "f" + std::to_string(i)));
  }
  full.SetRecord(kFull, MakeTrailer("mp3", 1, "before"));
  const CatalogTable full_before = full;
  DiskRescan two = RescanOf({Song("Music01", "E:\\", "a"), Song("Music01", "E:\\", "b")});
  ASSERT_TRUE(ReplaceDiskRecords(&full, kDisk, &two, "now"));
  EXPECT_EQ(full.FileCount(), kFull);
  // ...and past the bound the caller sets nothing moves.
  full = full_before;
  two = RescanOf({Song("Music01", "E:\\", "a"), Song("Music01", "E:\\", "b")});
  two.scan.settings.max_files = kFull - 1;
  const Status refused = ReplaceDiskRecords(&full, kDisk, &two, "now");
  EXPECT_EQ(refused.code(), StatusCode::kNoSpace);
  EXPECT_EQ(refused.message(),
            "The disk's 2 files and the 32,764 other files catalogued do not fit in one catalog, "
            "which holds at most 32,765 files.");
  EXPECT_TRUE(full == full_before);
}

}  // namespace
}  // namespace tallymere
