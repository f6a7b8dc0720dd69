#include "catalog/catalog_table.h"

#include <gtest/gtest.h>

#include "catalog/catalog_fixtures.h"

namespace tallymere {
namespace {

using testing::SampleRecord;
using testing::SampleTable;

TEST(CatalogTableTest, EmptyTableEndsAtRecordOneAndTotalsNothing) {
  CatalogTable table;
  EXPECT_EQ(table.CatalogEnd(), 1);
  EXPECT_EQ(table.FileCount(), 0);
  EXPECT_EQ(table.TotalSize(), 0);
  EXPECT_EQ(table.FindTrailer(), nullptr);
  int visited = 0;
  table.Walk([&](int, const CatalogRecord&) { ++visited; });
  EXPECT_EQ(visited, 0);
  EXPECT_TRUE(table.Record(CatalogTable::kCapacity).file_name.empty());
}

TEST(CatalogTableTest, WalkStopsAtTheTrailerWhichRemembersTypeAndFlag) {
  CatalogTable table = SampleTable(3);
  EXPECT_EQ(table.CatalogEnd(), 4);
  ASSERT_NE(table.FindTrailer(), nullptr);
  EXPECT_EQ(TrailerFileType(*table.FindTrailer()), "mp3");
  EXPECT_EQ(table.FindTrailer()->size, 1);
  EXPECT_EQ(table.WrittenEnd(), 5);  // the writer takes the trailer too

  CatalogTable all_files;
  all_files.SetRecord(1, SampleRecord(1));
  all_files.SetRecord(2, MakeTrailer("*.*", 0, "now"));
  EXPECT_EQ(all_files.Record(2).file_name, "*.*.*");
  EXPECT_EQ(TrailerFileType(*all_files.FindTrailer()), "*.*");

  std::vector<int> seen;
  table.Walk([&](int index, const CatalogRecord&) { seen.push_back(index); });
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
  table.Erase();
  EXPECT_EQ(table.CatalogEnd(), 1);
}

TEST(CatalogTableTest, TotalsAreExactBeyondSinglePrecision) {
  CatalogTable table;
  // 16,777,217 cannot be held by a float; an exact total keeps the last byte.
  CatalogRecord big = SampleRecord(1);
  big.size = 16777216;
  CatalogRecord one = SampleRecord(2);
  one.size = 1;
  table.SetRecord(1, big);
  table.SetRecord(2, one);
  EXPECT_EQ(table.TotalSize(), 16777217);
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
  EXPECT_EQ(ClampSize(int64_t{3} << 31), kMaxRecordSize);
  EXPECT_EQ(ClampSize(2147483647), 2147483647);
}

}  // namespace
}  // namespace tallymere
