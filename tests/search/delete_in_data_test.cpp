#include "search/delete_in_data.h"

#include <gtest/gtest.h>

namespace tallymere {
namespace {

CatalogRecord File(std::string path, std::string name) {
  CatalogRecord record;
  record.path = std::move(path);
  record.file_name = std::move(name);
  record.disk_label = "C:\\";
  return record;
}

TEST(DeleteInDataTest, TheFirstMatchGoesAndEveryLaterRecordMovesUpTrailerIncluded) {
  CatalogTable table;
  table.SetRecord(1, File("C:\\A\\", "x.mp3"));
  table.SetRecord(2, File("C:\\B\\", "x.mp3"));
  table.SetRecord(3, File("C:\\A\\", "x.mp3"));  // the same file catalogued twice
  table.SetRecord(4, MakeTrailer("mp3", 1, "then"));

  EXPECT_FALSE(DeleteFileInData(&table, "C:\\A\\X.MP3"));  // exact, letter case included
  EXPECT_FALSE(DeleteFileInData(&table, "C:\\A\\x.mp"));
  EXPECT_EQ(table.FileCount(), 3);

  EXPECT_TRUE(DeleteFileInData(&table, "C:\\A\\x.mp3"));
  EXPECT_EQ(table.Record(1).path, "C:\\B\\");
  EXPECT_EQ(table.Record(2).path, "C:\\A\\");
  EXPECT_TRUE(IsTrailer(table.Record(3)));
  EXPECT_TRUE(table.Record(4).file_name.empty());

  EXPECT_TRUE(DeleteFileInData(&table, "C:\\B\\x.mp3"));
  EXPECT_TRUE(DeleteFileInData(&table, "C:\\A\\x.mp3"));
  // The last file gone: the trailer is record 1 and no file is left.
  EXPECT_TRUE(IsTrailer(table.Record(1)));
  EXPECT_EQ(table.FileCount(), 0);
  EXPECT_EQ(table.StoredEnd(), 2);
}

}  // namespace
}  // namespace tallymere
