#include "catalog/data_file_info.h"

#include <gtest/gtest.h>

#include <vector>

#include "catalog/catalog_fixtures.h"
#include "catalog/data_file.h"

namespace tallymere {
namespace {

using testing::SampleRecord;
using testing::SampleTable;

// Tables whose data files differ in what ends the catalog and where the
// trailers are.
std::vector<CatalogTable> Tables() {
  std::vector<CatalogTable> tables;
  tables.push_back(SampleTable(25));
  CatalogTable no_trailer;
  for (int i = 1; i <= 4; ++i) no_trailer.SetRecord(i, SampleRecord(i));
  tables.push_back(no_trailer);
  // Two catalogs one after the other: the first trailer ends the catalog, the
  // second is the last one the file holds.
  CatalogTable two = SampleTable(3);
  two.SetRecord(5, SampleRecord(5));
  two.SetRecord(6, MakeTrailer("*.*", 0, "later"));
  tables.push_back(two);
  CatalogTable pathless = SampleTable(6);
  pathless.MutableRecord(2).path.clear();
  tables.push_back(pathless);
  tables.push_back(CatalogTable());
  return tables;
}

TEST(DataFileInfoTest, FactsReadFromTheBytesEqualThoseOfTheDecodedTable) {
  for (const CatalogTable& table : Tables()) {
    const std::string bytes = EncodeDataFile(table);
    CatalogTable decoded;
    ASSERT_TRUE(DecodeDataFile(bytes, "x.mpd", &decoded).ok());
    DataFileFacts read;
    ASSERT_TRUE(ReadDataFileFacts(bytes, "x.mpd", &read).ok());
    EXPECT_EQ(read, FactsOf(decoded)) << "a table of " << decoded.HeldCount() << " records";
  }
}

TEST(DataFileInfoTest, FactsAreTheCatalogsFiguresAndTheLastTrailersType) {
  const std::vector<CatalogTable> tables = Tables();
  const DataFileFacts sample = FactsOf(tables[0]);
  EXPECT_EQ(sample.file_count, 25);
  EXPECT_EQ(sample.total_size, 25 * 4000000 + 25 * 26 / 2);
  EXPECT_EQ(sample.last_updated, "8/23/99 10:15:30 PM");
  EXPECT_EQ(sample.trailer_file_type, "mp3");

  EXPECT_EQ(FactsOf(tables[1]).trailer_file_type, std::nullopt);
  EXPECT_EQ(FactsOf(tables[1]).last_updated, "");
  const DataFileFacts two = FactsOf(tables[2]);
  EXPECT_EQ(two.file_count, 3);
  EXPECT_EQ(two.last_updated, "8/23/99 10:15:30 PM");
  EXPECT_EQ(two.trailer_file_type, "*.*");
  EXPECT_EQ(FactsOf(tables[3]).file_count, 1);
}

TEST(DataFileInfoTest, ADamagedFileLeavesTheFactsAsTheyWere) {
  std::string bytes = EncodeDataFile(SampleTable(2));
  bytes.pop_back();
  DataFileFacts facts;
  facts.file_count = 7;
  const Status status = ReadDataFileFacts(bytes, "cut.mpd", &facts);
  EXPECT_EQ(status.code(), StatusCode::kDamaged);
  EXPECT_NE(status.message().find("it is damaged: \"cut.mpd\", record 3"), std::string::npos);
  EXPECT_EQ(facts.file_count, 7);
}

TEST(DataFileInfoTest, LabelsShowTheFactsWithTheFileAndItsType) {
  const std::array<std::string, 7> labels =
      DataFileInfoLabels("/home/me/music.mpd", 1234, "mp3", SampleTable(2));
  EXPECT_EQ(labels[0], "File Name:   music.mpd");
  EXPECT_EQ(labels[1], "Path:   /home/me/");
  EXPECT_EQ(labels[2], "Size:   1234 bytes");
  EXPECT_EQ(labels[3], "Last Updated:   8/23/99 10:15:30 PM");
  EXPECT_EQ(labels[4], "File Type:   \"mp3\"");
  EXPECT_EQ(labels[5], "Total Files Cataloged:   2");
  EXPECT_EQ(labels[6], "Total File Size:   7.63 MB");
  EXPECT_EQ(DataFileInfoLabels("x.mpd", std::nullopt, "", CatalogTable())[2], "Size:");
}

}  // namespace
}  // namespace tallymere
