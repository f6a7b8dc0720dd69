#include "catalog/catalog_table.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <utility>

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
  EXPECT_EQ(empty.LastTrailer(), nullptr);
  EXPECT_TRUE(Walked(empty).empty());
  EXPECT_TRUE(empty.Record(CatalogTable::kMaxRecords).file_name.empty());

  CatalogTable table = SampleTable(3);
  EXPECT_EQ(table.CatalogEnd(), 4);
  EXPECT_EQ(Walked(table), (std::vector<int>{1, 2, 3}));
  ASSERT_TRUE(IsTrailer(table.Record(table.CatalogEnd())));
  EXPECT_EQ(TrailerFileType(*table.LastTrailer()), "mp3");
  EXPECT_EQ(table.LastTrailer()->size, 1);
  EXPECT_EQ(table.StoredEnd(), 5);  // the writer takes the trailer too
  table.Erase();
  EXPECT_EQ(table.CatalogEnd(), 1);

  CatalogTable all_files;
  all_files.SetRecord(1, SampleRecord(1));
  all_files.SetRecord(2, MakeTrailer("*.*", 0, "now"));
  EXPECT_EQ(all_files.Record(2).file_name, "*.*.*");
  EXPECT_EQ(TrailerFileType(*all_files.LastTrailer()), "*.*");
}

TEST(CatalogTableTest, TotalsAreExactBeyondSinglePrecisionAndSizesAreTrue) {
  // 16,777,217 cannot be held by a float; an exact total keeps the last byte.
  CatalogTable table;
  CatalogRecord record = SampleRecord(1);
  record.size = 16777216;
  table.SetRecord(1, record);
  record.size = 1;
  table.SetRecord(2, record);
  EXPECT_EQ(table.TotalSize(), 16777217);
  // Files of 3 GB and 5 TB count whole; the data file's Size field holds at most 2 GiB - 1.
  record.size = int64_t{3} << 30;
  table.SetRecord(3, record);
  record.size = int64_t{5} << 40;
  table.SetRecord(4, record);
  EXPECT_EQ(table.TotalSize(), 16777217 + (int64_t{3} << 30) + (int64_t{5} << 40));
  EXPECT_EQ(StoredSize(int64_t{3} << 31), kMaxStoredSize);
  EXPECT_EQ(StoredSize(2147483647), 2147483647);
  EXPECT_EQ(StoredSize(-5), -5);  // as a file held it
}

TEST(CatalogRecordTest, FolderKeySplicesTheLabelOfALabelledDisk) {
  for (const auto& [path, label, key] : {std::tuple{"D:\\Music\\", "MyCD", "D:\\MyCD\\Music\\"},
                                         {"D:\\", "MyCD", "D:\\MyCD\\"},
                                         {"D:\\Music\\", "D:\\", "D:\\Music\\"}}) {
    CatalogRecord record;
    record.path = path;
    record.disk_label = label;
    EXPECT_EQ(FolderKey(record), key);
  }
}

// The first record whose field is empty, found by looking at each record.
int SearchedEnd(const CatalogTable& table, std::string CatalogRecord::*field) {
  int index = 1;
  while (!(table.Record(index).*field).empty()) ++index;
  return index;
}

// The index of the last trailer before the written end, 0 when none.
int SearchedLastTrailer(const CatalogTable& table) {
  int last = 0;
  for (int i = 1; i < SearchedEnd(table, &CatalogRecord::file_name); ++i) {
    if (IsTrailer(table.Record(i))) last = i;
  }
  return last;
}

int LastTrailerIndex(const CatalogTable& table) {
  const CatalogRecord* trailer = table.LastTrailer();
  if (trailer == nullptr) return 0;
  for (int i = 1; i <= table.HeldCount(); ++i) {
    if (&table.Record(i) == trailer) return i;
  }
  return -1;  // not a record of this table
}

void ExpectEndsAsSearched(const CatalogTable& table) {
  const int catalog_end = SearchedEnd(table, &CatalogRecord::path);
  EXPECT_EQ(table.CatalogEnd(), catalog_end);
  EXPECT_EQ(table.FileCount(), catalog_end - 1);
  EXPECT_EQ(table.StoredEnd(), SearchedEnd(table, &CatalogRecord::file_name));
  EXPECT_EQ(LastTrailerIndex(table), SearchedLastTrailer(table));
  int walked = 0;
  table.Walk([&](int index, const CatalogRecord& record) {
    EXPECT_EQ(index, ++walked);
    EXPECT_EQ(&record, &table.Record(index));
  });
  EXPECT_EQ(walked, catalog_end - 1);
}

TEST(CatalogTableEndsTest, GapsLeftByAWriteFarAheadEndTheCatalog) {
  CatalogTable table;
  table.SetRecord(1, SampleRecord(1));
  table.SetRecord(5, SampleRecord(5));
  EXPECT_EQ(table.HeldCount(), 5);
  EXPECT_EQ(table.CatalogEnd(), 2);
  EXPECT_EQ(table.StoredEnd(), 2);
  table.SetRecord(2, SampleRecord(2));
  table.SetRecord(4, SampleRecord(4));
  EXPECT_EQ(table.CatalogEnd(), 3);
  table.SetRecord(3, SampleRecord(3));
  EXPECT_EQ(table.CatalogEnd(), 6);
  EXPECT_EQ(table.StoredEnd(), 6);
  ExpectEndsAsSearched(table);
}

TEST(CatalogTableEndsTest, TheLastTrailerIsTheLastOneBeforeTheStoredEnd) {
  CatalogTable table;
  table.SetRecord(1, SampleRecord(1));
  table.SetRecord(2, MakeTrailer("mp3", 1, "first"));
  table.SetRecord(3, SampleRecord(3));
  table.SetRecord(4, MakeTrailer("*.*", 0, "second"));
  EXPECT_EQ(table.LastTrailer()->modified, "second");
  EXPECT_EQ(table.CatalogEnd(), 2);  // the catalog ends at the first
  table.MutableRecord(3).file_name.clear();
  EXPECT_EQ(table.LastTrailer()->modified, "first");
  table.SetRecord(3, SampleRecord(3));
  table.MutableRecord(4).file_name = "no longer a trailer.mp3";
  EXPECT_EQ(table.LastTrailer()->modified, "first");
  table.SetRecord(2, SampleRecord(2));
  EXPECT_EQ(table.LastTrailer(), nullptr);
  ExpectEndsAsSearched(table);
}

TEST(CatalogTableEndsTest, ATableGrowsPastTheDescribedCapacity) {
  constexpr int kFull = CatalogTable::kDescribedCapacity + 2;
  CatalogTable table;
  for (int i = 1; i <= kFull; ++i) table.SetRecord(i, SampleRecord(i));
  EXPECT_EQ(table.CatalogEnd(), kFull + 1);
  EXPECT_EQ(table.StoredEnd(), kFull + 1);
  EXPECT_EQ(table.LastTrailer(), nullptr);
  // A trailer has no Path: in the last record it ends the catalog there.
  table.SetRecord(kFull, MakeTrailer("mp3", 1, "last"));
  EXPECT_EQ(table.CatalogEnd(), kFull);
  EXPECT_EQ(table.StoredEnd(), kFull + 1);
  EXPECT_EQ(table.LastTrailer()->modified, "last");
}

TEST(CatalogTableEndsTest, CopiesKeepTheirOwnEndsAndATableMovedFromIsEmpty) {
  CatalogTable table = SampleTable(3);
  table.MutableRecord(2).path.clear();
  CatalogTable copy = table;
  copy.MutableRecord(2).path = "C:\\Copy\\";
  EXPECT_EQ(table.CatalogEnd(), 2);
  EXPECT_EQ(copy.CatalogEnd(), 4);

  CatalogTable moved = std::move(table);
  EXPECT_EQ(moved.CatalogEnd(), 2);
  EXPECT_EQ(LastTrailerIndex(moved), 4);
  EXPECT_EQ(table.HeldCount() + table.CatalogEnd(), 0 + 1);
  EXPECT_EQ(table.LastTrailer(), nullptr);
  copy = std::move(moved);
  EXPECT_EQ(copy.CatalogEnd(), 2);
  EXPECT_EQ(moved.StoredEnd(), 1);
  ExpectEndsAsSearched(copy);
  ExpectEndsAsSearched(moved);
}

// Random writes over a small stretch of the table, every kind of record, with
// Path and File name changed through a reference held across queries; after
// each change the kept ends must equal a search.
TEST(CatalogTableEndsTest, EndsMatchASearchThroughRandomChanges) {
  std::mt19937 random(20240601);
  const auto pick = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  CatalogTable table;
  for (int step = 0; step < 3000; ++step) {
    const int index = pick(1, 40);
    const int kind = pick(0, 10);
    if (kind <= 2) {
      table.SetRecord(index, SampleRecord(step));
    } else if (kind == 3) {
      table.SetRecord(index, MakeTrailer(pick(0, 1) ? "mp3" : "*.*", 1, "t"));
    } else if (kind == 4) {
      table.SetRecord(index, CatalogRecord());
    } else if (kind == 5 || kind == 6) {
      CatalogRecord& record = table.MutableRecord(index);
      std::string& field = kind == 5 ? record.path : record.file_name;
      field = kind == 6 && !pick(0, 1) ? "*.mp3" : "";
      ExpectEndsAsSearched(table);
      if (pick(0, 1)) field = kind == 5 ? "C:\\Again\\" : "song.mp3";
    } else if (kind == 7) {
      (void)table.MutableRecord(index);  // handed out, left as it was
    } else if (kind == 9) {
      if (pick(0, 20) == 0) {
        table.Erase();
      } else {
        table.RemoveRecord(index);  // the records after it come up
      }
    } else {
      CatalogTable copy = table;
      if (pick(0, 1)) {
        table = copy;
      } else {
        table = std::move(copy);
      }
    }
    ExpectEndsAsSearched(table);
    if (::testing::Test::HasFailure()) FAIL() << "after step " << step;
  }
}

}  // namespace
}  // namespace tallymere
