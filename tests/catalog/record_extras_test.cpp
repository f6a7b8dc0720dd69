#include "catalog/record_extras.h"

#include <gtest/gtest.h>

#include "catalog/catalog_fixtures.h"
#include "catalog/data_file.h"
#include "common/little_endian.h"

namespace tallymere {
namespace {

using testing::SampleRecord;
using testing::SampleTable;

constexpr int64_t k3GB = 3LL * 1024 * 1024 * 1024;
constexpr int64_t k5TB = 5LL * 1024 * 1024 * 1024 * 1024;

// Three files: a 3 GB film, a song with a fingerprint, a 5 TB image.
CatalogTable LargeTable() {
  CatalogTable table = SampleTable(4);
  table.MutableRecord(1).size = k3GB;
  table.MutableRecord(2).extras = {0x0123456789ABCDEFull, 3'000'000};
  table.MutableRecord(4).size = k5TB;
  return table;
}

// The records a described reader walks: up to and including the trailer.
std::vector<StoredRecord> DescribedRecords(std::string_view bytes) {
  std::vector<StoredRecord> records;
  EXPECT_TRUE(VisitStoredRecords(bytes, "x.mpd", [&](int, const StoredRecord& record) {
                records.push_back(record);
                return true;
              }).ok());
  return records;
}

TEST(RecordExtrasTest, TrueSizesAndFingerprintsRoundTripBehindTheDescribedRecords) {
  const CatalogTable table = LargeTable();
  const std::string bytes = EncodeDataFile(table);
  CatalogTable loaded;
  ASSERT_TRUE(DecodeDataFile(bytes, "big.mpd", &loaded).ok());
  EXPECT_TRUE(loaded == table);
  EXPECT_EQ(loaded.Record(1).size, k3GB);
  EXPECT_EQ(loaded.Record(4).size, k5TB);
  EXPECT_EQ(loaded.StoredEnd(), 6);  // the extension record is no record of the table
  EXPECT_EQ(StoredRecordCount(table), 6);

  // The described records come first, with the Size a described reader sees.
  const StoredExtras extras = FindStoredExtras(bytes);
  std::string described;
  for (int i = 1; i <= 5; ++i) EncodeRecord(table.Record(i), &described);
  ASSERT_EQ(extras.start, described.size());
  EXPECT_EQ(bytes.substr(0, extras.start), described);
  CatalogTable plain;
  ASSERT_TRUE(DecodeDataFile(described, "plain.mpd", &plain).ok());
  EXPECT_EQ(plain.Record(1).size, kMaxStoredSize);
  EXPECT_EQ(plain.Record(4).size, kMaxStoredSize);
  EXPECT_EQ(plain.Record(2).extras, RecordExtras());
  // A described reader takes the extension record for one past the
  // catalog's end: it is no trailer, and its File name keeps it saved.
  EXPECT_NE(bytes.find(kExtrasRecordName, extras.start), std::string::npos);
  EXPECT_FALSE(kExtrasRecordName.starts_with("*."));
}

TEST(RecordExtrasTest, CatalogsWithinTheDescribedFieldsAreWrittenByteForByteAsBefore) {
  CatalogTable table = SampleTable(30);
  table.MutableRecord(7).size = kMaxStoredSize;  // the largest described Size needs no entry
  table.MutableRecord(8).size = 0;
  const std::string bytes = EncodeDataFile(table);
  std::string expected;
  for (int i = 1; i <= 31; ++i) EncodeRecord(table.Record(i), &expected);
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ(bytes.find("Tallymere"), std::string::npos);
  EXPECT_EQ(StoredRecordCount(table), 31);
}

TEST(RecordExtrasTest, EntriesThatNoLongerFitTheirRecordsAreIgnored) {
  const CatalogTable table = LargeTable();
  const std::string bytes = EncodeDataFile(table);
  const StoredExtras extras = FindStoredExtras(bytes);
  const std::string_view tail = std::string_view(bytes).substr(extras.start);

  // A program that knows nothing of entries swapped records 1 and 2: the
  // entries' record numbers no longer name their files, and the identity
  // check says so.
  std::string moved;
  for (int i : {2, 1, 3, 4, 5}) EncodeRecord(table.Record(i), &moved);
  moved.append(tail);
  CatalogTable loaded;
  ASSERT_TRUE(DecodeDataFile(moved, "moved.mpd", &loaded).ok());
  EXPECT_EQ(loaded.Record(1).extras, RecordExtras());  // the song lost its fingerprint
  EXPECT_EQ(loaded.Record(2).size, kMaxStoredSize);    // the film keeps the Size field
  EXPECT_EQ(loaded.Record(4).size, k5TB);              // the image kept its place

  // The same program wrote records after the extension records: they are
  // passed over wherever they stand and the entries no longer read.
  std::string after(bytes);
  EncodeRecord(SampleRecord(9), &after);
  ASSERT_TRUE(DecodeDataFile(after, "after.mpd", &loaded).ok());
  EXPECT_EQ(loaded.StoredEnd(), 7);
  EXPECT_EQ(loaded.Record(6).file_name, SampleRecord(9).file_name);
  EXPECT_EQ(loaded.Record(1).size, kMaxStoredSize);

  // A Size field that is not the largest value wins over its entry: the
  // record was changed by a program that wrote a size of its own.
  CatalogTable edited = table;
  edited.MutableRecord(1).size = 12345;
  std::string rewritten;
  for (int i = 1; i <= 5; ++i) EncodeRecord(edited.Record(i), &rewritten);
  rewritten.append(tail);
  ASSERT_TRUE(DecodeDataFile(rewritten, "edited.mpd", &loaded).ok());
  EXPECT_EQ(loaded.Record(1).size, 12345);
  EXPECT_EQ(loaded.Record(4).size, k5TB);
}

TEST(RecordExtrasTest, DamagedExtensionRecordsLeaveTheDescribedFieldsOrAreRefused) {
  const CatalogTable table = LargeTable();
  const std::string bytes = EncodeDataFile(table);
  const std::size_t start = FindStoredExtras(bytes).start;
  CatalogTable loaded;
  // Cut at the record boundary: no footer, the catalog reads as described.
  ASSERT_TRUE(DecodeDataFile(std::string_view(bytes).substr(0, start), "cut.mpd", &loaded).ok());
  EXPECT_EQ(loaded.Record(1).size, kMaxStoredSize);
  // Cut anywhere inside: refused with the record and its offset.
  for (std::size_t cut = start + 1; cut < bytes.size(); cut += 7) {
    const Status status =
        DecodeDataFile(std::string_view(bytes).substr(0, cut), "cut.mpd", &loaded);
    ASSERT_EQ(status.code(), StatusCode::kDamaged) << cut;
    EXPECT_NE(status.message().find("record 6 at byte offset " + std::to_string(start)),
              std::string::npos)
        << status.message();
  }
  // A footer pointing past the file, or into the middle of a record, is no footer.
  for (uint64_t offset : {uint64_t{bytes.size()} + 10, uint64_t{start} + 3, uint64_t{0}}) {
    std::string broken(bytes);
    std::string encoded;
    PutFixed64(&encoded, offset);
    broken.replace(broken.size() - 4 - 8, 8, encoded);
    ASSERT_TRUE(DecodeDataFile(broken, "broken.mpd", &loaded).ok()) << offset;
    EXPECT_EQ(loaded.Record(4).size, kMaxStoredSize);
    EXPECT_EQ(loaded.StoredEnd(), 6);
  }
  // Entries of unknown kinds or cut short end the stream; what was read stays.
  std::vector<ExtrasEntry> entries = ParseEntries(std::string(5, '\x01'));
  EXPECT_TRUE(entries.empty());
  std::string stream;
  PutFixed32(&stream, 1);
  PutFixed32(&stream, 2);
  stream.push_back('\x01');
  PutFixed64(&stream, static_cast<uint64_t>(k3GB));
  stream += std::string("\x07\x07\x07\x07\x07\x07\x07\x07\x80", 9);
  entries = ParseEntries(stream);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].true_size, k3GB);
}

TEST(RecordExtrasTest, SizeFieldsOfMinusOneAndTheLargestValueReadSensibly) {
  ExtrasEntry entry;
  entry.true_size = k5TB;
  EXPECT_EQ(SizeWithEntry(kMaxStoredSize, entry), k5TB);
  EXPECT_EQ(SizeWithEntry(-1, entry), -1);  // a size of its own, as described readers see it
  entry.true_size = 100;                    // disagrees: smaller than the field can hold
  EXPECT_EQ(SizeWithEntry(kMaxStoredSize, entry), kMaxStoredSize);
  entry.true_size = -1;
  EXPECT_EQ(SizeWithEntry(kMaxStoredSize, entry), kMaxStoredSize);
  EXPECT_EQ(StoredSize(k5TB), kMaxStoredSize);

  EXPECT_EQ(StoredSize(-1), -1);

  // A record of Size -1 reads and writes back as it is, with or without
  // an entry of its own beside it.
  CatalogTable table = SampleTable(2);
  table.MutableRecord(1).size = -1;
  table.MutableRecord(2).extras = {1, 2};
  const std::string bytes = EncodeDataFile(table);
  CatalogTable loaded;
  ASSERT_TRUE(DecodeDataFile(bytes, "minus.mpd", &loaded).ok());
  EXPECT_EQ(loaded.Record(1).size, -1);
  EXPECT_EQ(EncodeDataFile(loaded), bytes);
}

TEST(RecordExtrasTest, ManyEntriesSpanSeveralExtensionRecords) {
  // 25 bytes a fingerprint's entry and about 393 KB a record: 60,000 need four.
  CatalogTable table;
  constexpr int kFiles = 60'000;
  table.Reserve(kFiles + 2);
  for (int i = 1; i <= kFiles; ++i) {
    CatalogRecord record = SampleRecord(i);
    record.extras = {static_cast<uint64_t>(i) * 7919, 1000 + i};
    table.SetRecord(i, std::move(record));
  }
  table.SetRecord(kFiles + 1, MakeTrailer("mp3", 1, "8/23/99 10:15:30 PM"));
  EXPECT_EQ(StoredRecordCount(table), kFiles + 1 + 4);
  const std::string bytes = EncodeDataFile(table);
  CatalogTable loaded;
  ASSERT_TRUE(DecodeDataFile(bytes, "many.mpd", &loaded).ok());
  EXPECT_TRUE(loaded == table);
  EXPECT_EQ(DescribedRecords(bytes).size(), static_cast<std::size_t>(kFiles + 1));
}

}  // namespace
}  // namespace tallymere
