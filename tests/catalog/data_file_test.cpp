#include "catalog/data_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <random>
#include <set>
#include <vector>

#include "catalog/catalog_fixtures.h"
#include "catalog/data_file_info.h"
#include "support/temp_folder.h"
#include "support/test_platform.h"

namespace tallymere {
namespace {

// The real file system, as the program reaches it.
const Platform& Files() {
  static const testing::TestPlatform platform;
  return platform;
}

using testing::ReadFileBytes;
using testing::SampleRecord;
using testing::SampleTable;
using testing::TempFolder;

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

TEST(DataFileTest, TrailerIsEncodedByteForByte) {
  std::string out;
  EncodeRecord(MakeTrailer("mp3", 1, "8/23/99 10:15:30 PM"), &out);
  const std::string expected = Bytes({0, 0, 0, 0, 0, 0, 5, 0}) + "*.mp3" + Bytes({19, 0}) +
                               "8/23/99 10:15:30 PM" + Bytes({0, 0, 1, 0, 0, 0}) +
                               Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(out, expected);

  std::string empty;
  EncodeRecord(CatalogRecord(), &empty);
  EXPECT_EQ(empty, std::string(26, '\0'));
}

TEST(DataFileTest, SavesFileRecordsAndTrailerAndReadsThemBackIdentical) {
  TempFolder folder;
  const CatalogTable table = SampleTable(250);
  const std::string path = folder.Path("music.mpd");
  ASSERT_TRUE(SaveDataFile(Files(), table, path).ok());
  CatalogTable loaded;
  ASSERT_TRUE(LoadDataFile(Files(), path, &loaded).ok());
  EXPECT_EQ(loaded.StoredEnd(), 252);  // 250 files and the trailer
  EXPECT_TRUE(loaded == table);
  EXPECT_TRUE(IsTrailer(loaded.Record(251)));
  EXPECT_EQ(EncodeDataFile(loaded), ReadFileBytes(path));

  // Writing stops at the first record without a file name.
  CatalogTable gap = SampleTable(2);
  gap.SetRecord(5, SampleRecord(5));
  ASSERT_TRUE(DecodeDataFile(EncodeDataFile(gap), "x.mpd", &loaded).ok());
  EXPECT_EQ(loaded.StoredEnd(), 4);
}

TEST(DataFileTest, VisitingGivesTheRecordsDecodingHoldsAndStopsWhereDecodingFails) {
  CatalogTable table = SampleTable(40);
  table.MutableRecord(7).artist = "Caf\xC3\xA9";  // stored as Windows-1252, read back as UTF-8
  table.MutableRecord(8).artist.clear();          // a shorter text after a longer one
  std::string bytes = EncodeDataFile(table);
  std::vector<int> numbers;
  const auto visit = [&](int number, const CatalogRecord& record) {
    numbers.push_back(number);
    EXPECT_EQ(record, table.Record(number)) << "record " << number;
  };
  ASSERT_TRUE(VisitDataFile(bytes, "x.mpd", visit).ok());
  ASSERT_EQ(numbers.size(), 41u);
  EXPECT_EQ(numbers.front(), 1);
  EXPECT_EQ(numbers.back(), 41);

  bytes.resize(bytes.size() - 5);
  numbers.clear();
  const Status status = VisitDataFile(bytes, "cut.mpd", visit);
  EXPECT_EQ(numbers.size(), 40u);  // the trailer is the one cut short
  EXPECT_EQ(status.code(), StatusCode::kDamaged);
  CatalogTable decoded;
  EXPECT_EQ(status.message(), DecodeDataFile(bytes, "cut.mpd", &decoded).message());
}

TEST(DataFileTest, TextsRoundTripAsWindows1252OrUtf8AndSizesAsSigned32Bit) {
  CatalogRecord record = SampleRecord(1);
  record.artist = "Beyonc\xC3\xA9";           // é fits Windows-1252
  record.title = "\xE2\x82\xAC 5";            // € fits too (0x80)
  record.album = "\xE6\x97\xA5\xE6\x9C\xAC";  // Japanese: stored as UTF-8
  record.size = kMaxStoredSize;
  std::string bytes;
  EncodeRecord(record, &bytes);
  EXPECT_NE(bytes.find(Bytes({7, 0}) + "Beyonc\xE9"), std::string::npos);
  EXPECT_NE(bytes.find(Bytes({3, 0, 0x80}) + " 5"), std::string::npos);
  EXPECT_NE(bytes.find(Bytes({6, 0}) + record.album), std::string::npos);
  EXPECT_NE(bytes.find(Bytes({0xFF, 0xFF, 0xFF, 0x7F})), std::string::npos);

  CatalogTable table;
  table.SetRecord(1, record);
  CatalogTable loaded;
  ASSERT_TRUE(RecordsWereRead(DecodeDataFile(EncodeDataFile(table), "x.mpd", &loaded)));
  EXPECT_EQ(loaded.Record(1), record);

  // A record as a Windows writer stores it: one byte per character.
  const std::string text_bytes = Bytes({0, 0, 3, 0}) + "C:\\" + Bytes({3, 0}) + "C:\\" +
                                 Bytes({8, 0}) + "Caf\xE9.mp3" + Bytes({0, 0, 0, 0}) +
                                 Bytes({10, 0, 0, 0}) + Bytes({6, 0}) + "M\xF6tley" +
                                 Bytes({2, 0, 0x93, 0x94}) + Bytes({0, 0}) + Bytes({0, 0, 0, 0});
  ASSERT_TRUE(RecordsWereRead(DecodeDataFile(text_bytes, "old.mpd", &loaded)));
  const CatalogRecord& old = loaded.Record(1);
  EXPECT_EQ(old.file_name + "|" + old.artist + "|" + old.album,
            "Caf\xC3\xA9.mp3|M\xC3\xB6tley|\xE2\x80\x9C\xE2\x80\x9D");  // curly quotes
  EXPECT_EQ(old.size, 10);
}

TEST(DataFileTest, RefusesEveryTruncationWithFileRecordAndOffset) {
  const CatalogTable three = SampleTable(3);
  const std::string bytes = EncodeDataFile(three);
  // Cutting between records leaves a sound, shorter file.
  std::set<std::size_t> boundaries;
  std::string prefix;
  for (int i = 1; i <= 4; ++i) {
    EncodeRecord(three.Record(i), &prefix);
    boundaries.insert(prefix.size());
  }
  const std::size_t first = *boundaries.begin();
  CatalogTable previous = SampleTable(1);
  for (std::size_t cut = 1; cut < bytes.size(); ++cut) {
    if (boundaries.count(cut) != 0) continue;
    CatalogTable table = previous;
    const Status status = DecodeDataFile(std::string_view(bytes).substr(0, cut), "cut.mpd", &table);
    ASSERT_FALSE(status.ok()) << "cut at " << cut;
    EXPECT_EQ(status.code(), StatusCode::kDamaged);
    EXPECT_NE(status.message().find("\"cut.mpd\""), std::string::npos);
    EXPECT_NE(status.message().find("record "), std::string::npos);
    EXPECT_NE(status.message().find("byte offset "), std::string::npos);
    EXPECT_TRUE(table == previous) << "half-loaded at cut " << cut;
  }
  CatalogTable table;
  const Status status =
      DecodeDataFile(std::string_view(bytes).substr(0, first + 5), "cut.mpd", &table);
  EXPECT_EQ(status.message(),
            "This is not a Tallymere data file, or it is damaged: \"cut.mpd\", record 2 at byte "
            "offset " +
                std::to_string(first) +
                " is cut short: its Disk label runs past the end of the file.");
}

TEST(DataFileTest, RefusesLengthsPastTheEndMissingNamesAndRandomBytes) {
  CatalogTable table;
  EXPECT_FALSE(DecodeDataFile(Bytes({0xFF, 0xFF, 'a'}), "long.mpd", &table).ok());
  const Status no_name = DecodeDataFile(std::string(26, '\0'), "blank.mpd", &table);
  EXPECT_EQ(no_name.message(),
            "This is not a Tallymere data file, or it is damaged: \"blank.mpd\", record 1 at byte "
            "offset 0 has no File name, which every saved record must have.");
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    std::string noise(random() % 400, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    (void)DecodeDataFile(noise, "noise.mpd", &table);  // must neither crash nor overrun
  }
}

TEST(DataFileTest, ReadsPastTheDescribedCapacityAndRefusesPastTheBound) {
  std::string bytes;
  const CatalogRecord record = SampleRecord(1);
  std::string one;
  EncodeRecord(record, &one);
  constexpr int kBound = CatalogTable::kDescribedCapacity + 10;
  for (int i = 0; i < kBound + 1; ++i) bytes += one;
  CatalogTable table = SampleTable(2);
  const Status status = DecodeDataFile(bytes, "huge.mpd", &table, kBound);
  EXPECT_EQ(status.code(), StatusCode::kTooLarge);
  EXPECT_EQ(status.message(),
            "\"huge.mpd\" holds more than 32,776 records (record 32,777 begins at "
            "byte offset " +
                std::to_string(one.size() * kBound) + "); a catalog can hold no more.");
  EXPECT_TRUE(table == SampleTable(2));
  int visited = 0;
  const Status visit = VisitDataFile(
      bytes, "huge.mpd", [&](int, const CatalogRecord&) { ++visited; }, kBound);
  EXPECT_EQ(visited, kBound);
  EXPECT_EQ(visit.message(), status.message());
  ASSERT_TRUE(RecordsWereRead(DecodeDataFile(bytes, "big.mpd", &table)));
  EXPECT_EQ(table.StoredEnd(), kBound + 2);
}

TEST(DataFileTest, FailedSaveLeavesTheOldFileByteIdentical) {
  TempFolder folder;
  const std::string path = folder.Path("music.mpd");
  ASSERT_TRUE(SaveDataFile(Files(), SampleTable(2), path).ok());
  const std::string before = ReadFileBytes(path);

  // A file size limit makes the write fail half-way, as a full disk would.
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    const Status status = SaveDataFile(Files(), SampleTable(500), path);
    const bool names_file = status.message().find("music.mpd") != std::string::npos;
    _exit(!status.ok() && names_file ? 0 : 1);
  }
  int wait_status = 0;
  waitpid(child, &wait_status, 0);
  ASSERT_TRUE(WIFEXITED(wait_status));
  EXPECT_EQ(WEXITSTATUS(wait_status), 0) << "the save did not fail with a message naming the file";
  EXPECT_EQ(ReadFileBytes(path), before);

  EXPECT_NE(
      SaveDataFile(Files(), SampleTable(1), folder.Path("no/such/a.mpd")).message().find("a.mpd"),
      std::string::npos);
  CatalogTable table = SampleTable(1);
  EXPECT_NE(LoadDataFile(Files(), folder.Path("no/such/x.mpd"), &table).message().find("x.mpd"),
            std::string::npos);
  EXPECT_TRUE(table == SampleTable(1));
}

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

// A catalog cut short right after a record, its trailer lost: its records
// are read and handed over, and the status says what is missing. Records an
// earlier scan left after the trailer are no loss.
TEST(DataFileTest, AFileCutShortAfterARecordIsReadAndSaysItsTrailerIsMissing) {
  CatalogTable table = SampleTable(3);
  table.SetRecord(4, MakeTrailer("mp3", 1, "then"));
  const std::string whole = EncodeDataFile(table);
  std::string first_three;
  for (int i = 1; i <= 3; ++i) EncodeRecord(table.Record(i), &first_three);
  CatalogTable read = SampleTable(1);
  const Status status = DecodeDataFile(first_three, "cut.mpd", &read);
  EXPECT_EQ(status.code(), StatusCode::kIncomplete);
  EXPECT_EQ(status.message(),
            "\"cut.mpd\" ends without the trailer record that closes a catalog: it was cut short "
            "after record 3, and what stood after it is lost. The records before it were read.");
  EXPECT_EQ(read.StoredEnd(), 4);
  EXPECT_EQ(read.Record(3), table.Record(3));
  int visited = 0;
  EXPECT_EQ(
      VisitDataFile(first_three, "cut.mpd", [&](int, const CatalogRecord&) { ++visited; }).code(),
      StatusCode::kIncomplete);
  EXPECT_EQ(visited, 3);
  DataFileFacts facts;
  EXPECT_EQ(ReadDataFileFacts(first_three, "cut.mpd", &facts).code(), StatusCode::kIncomplete);
  EXPECT_EQ(facts.file_count, 3);
  // Whole, or with an old record after the trailer, or empty: nothing to say.
  EXPECT_TRUE(DecodeDataFile(whole, "x.mpd", &read).ok());
  std::string with_leftover = whole;
  EncodeRecord(SampleRecord(9), &with_leftover);
  EXPECT_TRUE(DecodeDataFile(with_leftover, "x.mpd", &read).ok());
  EXPECT_TRUE(DecodeDataFile("", "x.mpd", &read).ok());
}

TEST(DataFileInfoTest, FactsReadFromTheBytesEqualThoseOfTheDecodedTable) {
  for (const CatalogTable& table : Tables()) {
    const std::string bytes = EncodeDataFile(table);
    CatalogTable decoded;
    ASSERT_TRUE(RecordsWereRead(DecodeDataFile(bytes, "x.mpd", &decoded)));
    DataFileFacts read;
    ASSERT_TRUE(RecordsWereRead(ReadDataFileFacts(bytes, "x.mpd", &read)));
    EXPECT_EQ(read, FactsOf(decoded)) << "a table of " << decoded.HeldCount() << " records";
  }
  // A damaged file leaves the facts as they were.
  std::string bytes = EncodeDataFile(SampleTable(2));
  bytes.pop_back();
  DataFileFacts facts;
  facts.file_count = 7;
  const Status status = ReadDataFileFacts(bytes, "cut.mpd", &facts);
  EXPECT_EQ(status.code(), StatusCode::kDamaged);
  EXPECT_NE(status.message().find("it is damaged: \"cut.mpd\", record 3"), std::string::npos);
  EXPECT_EQ(facts.file_count, 7);
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
