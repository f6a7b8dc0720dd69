#include "catalog/catalog_table.h"

#include <gtest/gtest.h>

#include "catalog/catalog_fixtures.h"

namespace tallymere {
namespace {

using testing::SampleRecord;
using testing::SampleTable;

std::vector<int> Walked(const CatalogTable& table) {
  std::vector<int> seen;
  table.Walk([&](int index, const CatalogRecord&) { seen.push_back(index); });
  return seen;
}

TEST(CatalogTableTest, WalkStopsAtTheTrailerWhichRemembersTypeAndFlag) {
  CatalogTable empty;
  EXPECT_EQ(empty.CatalogEnd(), 1);
  EXPECT_EQ(empty.FileCount() + empty.TotalSize(), 0);
  EXPECT_EQ(empty.FindTrailer(), nullptr);
  EXPECT_TRUE(Walked(empty).empty());
  EXPECT_TRUE(empty.Record(CatalogTable::kCapacity).file_name.empty());

  CatalogTable table = SampleTable(3);
  EXPECT_EQ(table.CatalogEnd(), 4);
  EXPECT_EQ(Walked(table), (std::vector<int>{1, 2, 3}));
  ASSERT_NE(table.FindTrailer(), nullptr);
  EXPECT_EQ(TrailerFileType(*table.FindTrailer()), "mp3");
  EXPECT_EQ(table.FindTrailer()->size, 1);
  EXPECT_EQ(table.WrittenEnd(), 5);  // the writer takes the trailer too
  table.Erase();
  EXPECT_EQ(table.CatalogEnd(), 1);

  CatalogTable all_files;
  all_files.SetRecord(1, SampleRecord(1));
  all_files.SetRecord(2, MakeTrailer("*.*", 0, "now"));
  EXPECT_EQ(all_files.Record(2).file_name, "*.*.*");
  EXPECT_EQ(TrailerFileType(*all_files.FindTrailer()), "*.*");
}

TEST(CatalogTableTest, TotalsAreExactBeyondSinglePrecisionAndSizesClamp) {
  // 16,777,217 cannot be held by a float; an exact total keeps the last byte.
  CatalogTable table;
  CatalogRecord record = SampleRecord(1);
  record.size = 16777216;
  table.SetRecord(1, record);
  record.size = 1;
  table.SetRecord(2, record);
  EXPECT_EQ(table.TotalSize(), 16777217);
  EXPECT_EQ(ClampSize(int64_t{3} << 31), kMaxRecordSize);
  EXPECT_EQ(ClampSize(2147483647), 2147483647);
}

TEST(CatalogRecordTest, FolderKeySplicesTheLabelOfALabelledDisk) {
  CatalogRecord record;
  record.path = "D:\\Music\\";
  record.disk_label = "MyCD";
  EXPECT_EQ(FolderKey(record), "D:\\MyCD\\Music\\");
  record.path = "D:\\";
  EXPECT_EQ(FolderKey(record), "D:\\MyCD\\");
  record.disk_label = "D:\\";
  record.path = "D:\\Music\\";
  EXPECT_EQ(FolderKey(record), "D:\\Music\\");
}

}  // namespace
}  // namespace tallymere
