// The catalog session without a window: what the window's commands and the
// command line both rely on.

#include "session/catalog_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "catalog/data_file.h"
#include "platform/platform_fixture.h"

namespace tallymere {
namespace {

CatalogRecord File(std::string label, std::string path, std::string name) {
  CatalogRecord record;
  record.disk_label = std::move(label);
  record.path = std::move(path);
  record.file_name = std::move(name);
  record.size = 10;
  return record;
}

class CatalogSessionTest : public ::testing::Test {
 protected:
  // C: fixed, F: removable; the catalogs below also use letters no drive maps.
  CatalogSessionTest() { m_drives.folder().MakeFolder("c/Music"); }

  std::string SaveCatalog(const std::vector<CatalogRecord>& records, const std::string& type,
                          int flag, const std::string& name = "c.mpd") {
    CatalogTable table;
    int index = 1;
    for (const CatalogRecord& record : records) table.SetRecord(index++, record);
    table.SetRecord(index, MakeTrailer(type, flag, "then"));
    const std::string path = m_drives.folder().Path(name);
    EXPECT_TRUE(SaveDataFile(m_drives.platform(), table, path).ok());
    return path;
  }

  testing::DrivesFixture m_drives{"C: fixed %ROOT%/c\nF: removable %ROOT%/f\n"};
  CatalogSession m_session{m_drives.platform()};
};

TEST_F(CatalogSessionTest, OpenTakesTheTrailersSettingsAndARefusedFileChangesNothing) {
  const std::string all_files = SaveCatalog({File("C:\\", "C:\\Music\\", "a.txt")}, "*.*", 0);
  m_session.set_changed(true);
  ASSERT_TRUE(m_session.Open(all_files).ok());
  EXPECT_EQ(m_session.settings().txtType, "*.*");
  EXPECT_EQ(m_session.settings().chkBitRate, 0);
  EXPECT_EQ(m_session.data_file_path(), all_files);
  EXPECT_TRUE(m_session.changed());  // Open leaves the flag to the caller
  EXPECT_EQ(m_session.catalog().FileCount(), 1);

  const std::string damaged = m_drives.folder().WriteFile("damaged.mpd", "\x05");
  const Status refused = m_session.Open(damaged);
  EXPECT_EQ(refused.code(), StatusCode::kDamaged);
  EXPECT_EQ(m_session.data_file_path(), all_files);
  EXPECT_EQ(m_session.catalog().FileCount(), 1);
  EXPECT_EQ(m_session.settings().txtType, "*.*");
}

TEST_F(CatalogSessionTest, ATreeKeyNamesADiskByTheDrivesAsTheCatalogSeesThem) {
  // Q: and Z: are no drives of this machine: Q: holds only a labelled disk,
  // Z: files of a hard drive.
  ASSERT_TRUE(
      m_session
          .Open(SaveCatalog({File("Disc", "Q:\\Sub\\", "q.mp3"),
                             File("Z:\\", "Z:\\Disc\\", "z.mp3"), File("Stick", "F:\\", "f.mp3")},
                            "mp3", 1))
          .ok());
  EXPECT_EQ(m_session.KeyOf("Q:\\Disc\\").kind(), NodeKey::Kind::kDisk);
  EXPECT_EQ(m_session.KeyOf("Q:\\Disc\\Sub\\").kind(), NodeKey::Kind::kDiskFolder);
  EXPECT_EQ(m_session.KeyOf("Z:\\Disc\\").kind(), NodeKey::Kind::kDriveFolder);
  EXPECT_EQ(m_session.KeyOf("F:\\Stick\\").kind(), NodeKey::Kind::kDisk);
  EXPECT_EQ(m_session.KeyOf("C:\\Music\\").kind(), NodeKey::Kind::kDriveFolder);
  EXPECT_EQ(m_session.DriveTypeOf("q:\\"), kDriveCdRom);
  EXPECT_EQ(m_session.DriveTypeOf("Z:\\"), kDriveFixed);
  ASSERT_TRUE(m_session.DiskLabelled("disc").has_value());
  EXPECT_EQ(m_session.DiskLabelled("disc")->key(), "Q:\\Disc\\");
  EXPECT_FALSE(m_session.DiskLabelled("Z:\\").has_value());

  // Without a catalog the machine's drives alone are seen.
  m_session.New();
  EXPECT_EQ(m_session.KeyOf("Q:\\Disc\\").kind(), NodeKey::Kind::kDriveFolder);
  EXPECT_EQ(m_session.data_file_path(), std::string(kUntitledDataFile));
}

TEST_F(CatalogSessionTest, RewritesMatchFilesExactlyAndTellTheListener) {
  ASSERT_TRUE(m_session
                  .Open(SaveCatalog(
                      {File("C:\\", "C:\\Music\\", "song.mp3"),
                       File("C:\\", "C:\\Music\\", "SONG.MP3"), File("Stick", "F:\\", "song.mp3")},
                      "mp3", 1))
                  .ok());
  std::vector<std::string> told;
  m_session.on_records_rewritten = [&](const std::vector<RecordRewrite>& rewrites) {
    for (const RecordRewrite& each : rewrites) told.push_back(each.file.path + each.file.file_name);
  };
  RecordRewrite rename;
  rename.file = {"C:\\Music\\", "SONG.mp3"};  // no such file: letter case counts
  rename.new_name = "new.mp3";
  EXPECT_FALSE(m_session.RewriteRecords({rename}));
  EXPECT_FALSE(m_session.changed());

  RecordRewrite tag;
  tag.file = {"C:\\Music\\", "song.mp3"};
  tag.artist = "Artist";
  tag.size = int64_t{5} << 32;  // beyond what the Size field holds
  EXPECT_TRUE(m_session.RewriteRecords({tag}));
  EXPECT_TRUE(m_session.changed());
  EXPECT_EQ(m_session.catalog().Record(1).artist, "Artist");
  EXPECT_EQ(m_session.catalog().Record(1).size, int64_t{5} << 32);
  EXPECT_EQ(m_session.catalog().Record(2).artist + m_session.catalog().Record(3).artist, "");
  EXPECT_EQ(told, (std::vector<std::string>{"C:\\Music\\SONG.mp3", "C:\\Music\\song.mp3"}));
  EXPECT_EQ(m_session.HoldsFiles({{"C:\\Music\\", "song.mp3"}, {"C:\\Music\\", "Song.mp3"}}),
            (std::vector<bool>{true, false}));
}

TEST_F(CatalogSessionTest, AFailedScanKeepsTheCatalogAndADiskAddedToNothingIsNamedUntitled) {
  ASSERT_TRUE(m_session.Open(SaveCatalog({File("C:\\", "C:\\Music\\", "a.mp3")}, "mp3", 1)).ok());
  const CatalogTable before = m_session.catalog();
  EXPECT_FALSE(m_session.Scan({"C:\\Gone\\"}, nullptr));
  EXPECT_EQ(m_session.catalog(), before);

  m_session.New();
  m_drives.folder().WriteFile("f/stick.mp3", "data");
  ASSERT_TRUE(m_session.AddDisk("F:\\", "Stick", nullptr));
  EXPECT_EQ(m_session.data_file_path(), m_session.UntitledPath());
  EXPECT_TRUE(m_session.changed());
  EXPECT_EQ(m_session.catalog().Record(1).disk_label, "Stick");
  EXPECT_EQ(m_session.NewLabelProblem("Stick"), "A disk with the same label exists. Try again.");
  EXPECT_EQ(m_session.NewLabelProblem(""), "Please enter a label and try again.");
  EXPECT_FALSE(m_session.NewLabelProblem("Other").has_value());
}

// Another program's save is noticed until this catalog reads or writes the
// file itself; a catalog under another name, or a file deleted since, holds
// nothing another program wrote.
TEST_F(CatalogSessionTest, TellsWhetherAnotherProgramChangedTheDataFileSinceItWasReadOrWritten) {
  EXPECT_FALSE(m_session.DataFileChangedOnDisk());
  const std::string path = SaveCatalog({File("C:\\", "C:\\Music\\", "a.mp3")}, "mp3", 1);
  ASSERT_TRUE(m_session.Open(path).ok());
  EXPECT_FALSE(m_session.DataFileChangedOnDisk());
  // The same records saved again are another file all the same.
  SaveCatalog({File("C:\\", "C:\\Music\\", "a.mp3")}, "mp3", 1);
  EXPECT_TRUE(m_session.DataFileChangedOnDisk());
  // A copy elsewhere changes nothing of that; writing the file itself does.
  ASSERT_TRUE(m_session.WriteTo(m_drives.folder().Path("copy.mpd")).ok());
  EXPECT_TRUE(m_session.DataFileChangedOnDisk());
  ASSERT_TRUE(m_session.WriteTo(path).ok());
  EXPECT_FALSE(m_session.DataFileChangedOnDisk());

  SaveCatalog({File("C:\\", "C:\\Music\\", "b.mp3")}, "mp3", 1);
  ASSERT_TRUE(m_session.Open(path).ok());
  EXPECT_FALSE(m_session.DataFileChangedOnDisk());
  SaveCatalog({}, "mp3", 1);
  ASSERT_TRUE(m_session.Save(path).ok());
  EXPECT_FALSE(m_session.DataFileChangedOnDisk());

  SaveCatalog({}, "mp3", 1);
  ASSERT_TRUE(std::filesystem::remove(path));
  EXPECT_FALSE(m_session.DataFileChangedOnDisk());
  SaveCatalog({}, "mp3", 1);
  EXPECT_TRUE(m_session.DataFileChangedOnDisk());
  m_session.set_data_file_path(m_drives.folder().Path("copy.mpd"));
  EXPECT_FALSE(m_session.DataFileChangedOnDisk());
  SaveCatalog({}, "mp3", 1, "copy.mpd");
  EXPECT_FALSE(m_session.DataFileChangedOnDisk());
  ASSERT_TRUE(m_session.Open(path).ok());
  SaveCatalog({}, "mp3", 1);
  m_session.New();
  EXPECT_FALSE(m_session.DataFileChangedOnDisk());
}

}  // namespace
}  // namespace tallymere
