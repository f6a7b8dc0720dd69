#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cctype>
#include <filesystem>

#include "common/format.h"
#include "mp3/mp3_fixtures.h"
#include "scan/scan_disk.h"
#include "scan/scan_fixture.h"
#include "support/unprivileged.h"

namespace tallymere {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using testing::RecordPaths;
using testing::ScanFixture;

const ScanSettings kMp3WithoutInfo{"mp3", 0};
const ScanSettings kAllFiles{"*.*", 0};

// A catalog of one record, as an earlier scan would have left it.
CatalogTable EarlierCatalog() {
  CatalogTable table;
  CatalogRecord record;
  record.path = "C:\\Old\\";
  record.file_name = "old.mp3";
  record.disk_label = "C:\\";
  record.size = 42;
  table.SetRecord(1, record);
  table.SetRecord(2, MakeTrailer("mp3", 1, "then"));
  return table;
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
  EXPECT_EQ(fixture.file_count(), 2);
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

TEST(ScanFailureTest, ARootThatCannotBeListedOrAScanBeyondTheTableLimitKeepsTheCatalog) {
  ScanFixture fixture;
  fixture.Write("Music/r.mp3");
  fixture.Write("Locked/l.mp3");
  fixture.platform().FailListing("C:\\Locked\\");
  constexpr int kBound = CatalogTable::kDescribedCapacity - 1;
  ScanSettings bounded = kAllFiles;
  bounded.max_files = kBound;
  fixture.platform().InventFiles("C:\\Big\\", kBound + 1);
  fixture.platform().InventFiles("C:\\One\\", 20000);
  fixture.platform().InventFiles("C:\\Two\\", 20000);
  CatalogTable table = EarlierCatalog();
  EXPECT_THAT(fixture.Scan({"C:\\Music", "C:\\Locked"}, kMp3WithoutInfo, &table).message(),
              HasSubstr("C:\\Locked\\"));
  // A root that does not exist fails the same way, through the real listing.
  EXPECT_THAT(fixture.Scan({"C:\\Nowhere"}, kMp3WithoutInfo, &table).message(),
              HasSubstr("C:\\Nowhere\\"));
  // Over all folders of the batch, not each alone.
  EXPECT_EQ(fixture.Scan({"C:\\Big"}, bounded, &table).message(), CatalogFullMessage(kBound));
  EXPECT_EQ(CatalogFullMessage(kBound),
            "The catalog is full: it holds at most 32,765 files, and this scan found more. "
            "Nothing was changed; scan fewer folders at a time.");
  EXPECT_EQ(fixture.Scan({"C:\\One", "C:\\Two"}, bounded, &table).message(),
            CatalogFullMessage(kBound));
  EXPECT_EQ(table, EarlierCatalog());

  // Up to the bound files fit, leaving room for the trailer; without it
  // the 40,000 files of two roots are one catalog.
  fixture.platform().InventFiles("C:\\Fits\\", kBound);
  ASSERT_TRUE(fixture.Scan({"C:\\Fits"}, bounded, &table).ok());
  EXPECT_EQ(table.FileCount(), kBound);
  EXPECT_EQ(fixture.file_count(), kBound);
  ASSERT_TRUE(fixture.Scan({"C:\\One", "C:\\Two"}, kAllFiles, &table).ok());
  EXPECT_EQ(table.FileCount(), 40000);
}

using ::testing::UnorderedElementsAre;

const ScanSettings kMp3WithInfo{"mp3", 1};

// "path+name size modified label" of the records whose names end in .mp3,
// in either case.
std::vector<std::string> Mp3Facts(const CatalogTable& table) {
  std::vector<std::string> facts;
  table.Walk([&](int, const CatalogRecord& r) {
    std::string name = r.file_name;
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!name.ends_with(".mp3")) return;
    facts.push_back(r.path + r.file_name + " " + std::to_string(r.size) + " " + r.modified + " " +
                    r.disk_label);
  });
  return facts;
}

void SetModified(const std::string& path, std::time_t when) {
  const timespec times[2] = {{when, 0}, {when, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(ScanFileFactsTest, EveryFileOfTheTypeGetsTheFactsAScanOfAllFilesGives) {
  ScanFixture fixture;
  SetModified(fixture.Write("Music/a.mp3", testing::Frame()), 1000000000);
  SetModified(fixture.Write("Music/A/b.MP3", std::string(5000, 'b')), 1200000000);
  SetModified(fixture.Write("Music/A/notes.txt", "text"), 1300000000);
  SetModified(fixture.Write("Music/Empty.mp3"), 1400000000);
  const std::string big = fixture.Write("Music/big.mp3", testing::Frame());
  std::filesystem::resize_file(big, (uintmax_t{3} << 30));  // more than a record holds
  SetModified(big, 1500000000);

  CatalogTable all;
  ASSERT_TRUE(fixture.Scan({"C:\\Music"}, kAllFiles, &all).ok());
  std::vector<std::string> expected = Mp3Facts(all);
  ASSERT_EQ(expected.size(), 4u);
  for (const ScanSettings& settings : {kMp3WithoutInfo, kMp3WithInfo}) {
    CatalogTable typed;
    ASSERT_TRUE(fixture.Scan({"C:\\Music"}, settings, &typed).ok());
    EXPECT_EQ(Mp3Facts(typed), expected);
  }
  EXPECT_THAT(fixture.ui().MessageTexts(), IsEmpty());
}

TEST(ScanFileFactsTest, AFolderReachedFromTwoBatchEntriesIsScannedTwiceInFull) {
  ScanFixture fixture;
  fixture.Write("Music/r.mp3", testing::Frame());
  fixture.Write("Music/A/a1.mp3", testing::Frame());
  fixture.Write("Music/A/a2.mp3", testing::Frame());
  for (const ScanSettings& settings : {kAllFiles, kMp3WithInfo}) {
    CatalogTable table;
    ASSERT_TRUE(fixture.Scan({"C:\\Music", "C:\\Music\\A"}, settings, &table).ok());
    // The subfolder (no "\") sorts before the batch entry ("\" after it);
    // within a folder the files keep the order the file system gives them.
    const std::vector<std::string> paths = RecordPaths(table);
    ASSERT_EQ(paths.size(), 5u);
    EXPECT_EQ(paths[0], "C:\\Music\\r.mp3");
    EXPECT_THAT(std::vector<std::string>(paths.begin() + 1, paths.begin() + 3),
                UnorderedElementsAre("C:\\Music\\A\\a1.mp3", "C:\\Music\\A\\a2.mp3"));
    EXPECT_EQ(std::vector<std::string>(paths.begin() + 3, paths.end()),
              std::vector<std::string>(paths.begin() + 1, paths.begin() + 3));
    if (settings.mp3_info_flag == 1) {
      table.Walk([](int, const CatalogRecord& r) { EXPECT_EQ(r.bitrate, "128") << r.file_name; });
    }
  }
}

// As an ordinary user, for whom permissions hold.
TEST(ScanFileFactsTest, FilesThatCannotBeReachedAreCataloguedAsTheirListingShowsThem) {
  ScanFixture fixture;
  SetModified(fixture.Write("Music/locked.mp3", testing::Frame()), 1000000000);
  fixture.Write("Music/Unsearchable/hidden.mp3", testing::Frame());
  fixture.Write("Music/Unsearchable/Inner/deep.mp3", testing::Frame());
  testing::RunAsUnprivileged({fixture.folder().path()}, [&] {
    // Its facts can be read, its bytes cannot.
    ASSERT_EQ(chmod(fixture.folder().Path("c/Music/locked.mp3").c_str(), 0), 0);
    // Its names can be listed, but nothing in it reached: it counts as a
    // folder that cannot be read, named with the others, so its files are
    // not lost in silence.
    ASSERT_EQ(chmod(fixture.folder().Path("c/Music/Unsearchable").c_str(), 0444), 0);

    for (const ScanSettings& settings : {kAllFiles, kMp3WithoutInfo, kMp3WithInfo}) {
      CatalogTable table;
      ScanReport report;
      ASSERT_TRUE(fixture.Scan({"C:\\Music"}, settings, &table, &report).ok());
      EXPECT_EQ(Mp3Facts(table), (std::vector<std::string>{"C:\\Music\\locked.mp3 417 " +
                                                           FormatDateTime(1000000000) + " C:\\"}));
      EXPECT_EQ(report.skipped_folder_count, 1);
      EXPECT_THAT(report.skipped_folders, ElementsAre("C:\\Music\\Unsearchable\\"));
    }
    // Only the read of its MP3 information fails, and says why.
    EXPECT_THAT(fixture.ui().MessageTexts(),
                ElementsAre("Permission denied. while opening \"C:\\Music\\locked.mp3\""));
  });
}

}  // namespace
}  // namespace tallymere
