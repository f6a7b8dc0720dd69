#include "platform/drives_file.h"

#include <gtest/gtest.h>

#include "platform_fixture.h"

namespace tallymere {
namespace {

TEST(DrivesFileTest, ReadsEveryTypeAndLabelsWithSpaces) {
  const std::vector<DriveOverride> drives = ParseDrivesFile(
      "C: fixed /\r\n"
      "e: removable /media/me/STICK/  Holiday Photos 2009  \r\n"
      "F: remote /mnt/server\n"
      "G: CDROM /mnt/cd MUSIC99\n"
      "R:\tramdisk\t/dev/shm\n"
      "X: ignore /srv/backup\n"
      "H: fixed /mnt/with\\040space Label");
  ASSERT_EQ(drives.size(), 7u);
  EXPECT_EQ(drives[0].letter, 'C');
  EXPECT_EQ(drives[0].type, kDriveFixed);
  EXPECT_EQ(drives[0].native_folder, "/");
  EXPECT_EQ(drives[0].label, "");
  EXPECT_EQ(drives[1].letter, 'E');
  EXPECT_EQ(drives[1].type, kDriveRemovable);
  EXPECT_EQ(drives[1].native_folder, "/media/me/STICK");
  EXPECT_EQ(drives[1].label, "Holiday Photos 2009");
  EXPECT_EQ(drives[2].type, kDriveRemote);
  EXPECT_EQ(drives[3].type, kDriveCdRom);
  EXPECT_EQ(drives[3].label, "MUSIC99");
  EXPECT_EQ(drives[4].letter, 'H');
  EXPECT_EQ(drives[4].native_folder, "/mnt/with space");
  EXPECT_EQ(drives[5].letter, 'R');
  EXPECT_EQ(drives[5].type, kDriveRamDisk);
  EXPECT_EQ(drives[6].letter, 'X');
  EXPECT_TRUE(drives[6].ignored);
  EXPECT_FALSE(drives[1].ignored);
}

TEST(DrivesFileTest, SkipsMalformedLinesAndKeepsTheRest) {
  const std::string junk(100000, '\xFF');
  const std::vector<DriveOverride> drives = ParseDrivesFile(
      "\xEF\xBB\xBF# comment\n"
      "\n"
      "D fixed /nocolon\n"
      "1: fixed /digit\n"
      "DD: fixed /twoletters\n"
      "E: floppy /unknown/type\n"
      "F: fixed relative/folder\n"
      "G: fixed\n"
      "H:\n"
      ":\n" +
      junk + "\n\r\n" + std::string(1, '\0') + "\n" + "K: removable /ok\n" +
      "K: fixed /later Later wins\n");
  ASSERT_EQ(drives.size(), 1u);
  EXPECT_EQ(drives[0].letter, 'K');
  EXPECT_EQ(drives[0].type, kDriveFixed);
  EXPECT_EQ(drives[0].native_folder, "/later");
  EXPECT_EQ(drives[0].label, "Later wins");
  EXPECT_TRUE(ParseDrivesFile("").empty());
}

TEST(DrivesFileTest, NamesEveryType) {
  for (int type : {kDriveRemovable, kDriveFixed, kDriveRemote, kDriveCdRom, kDriveRamDisk}) {
    EXPECT_EQ(DriveTypeFromName(DriveTypeName(type)), type);
  }
  EXPECT_EQ(DriveTypeName(kDriveNone), "none");
  EXPECT_FALSE(DriveTypeFromName("ignore").has_value());
}

TEST(DrivesFileTest, OverrideFileReplacesTheMachineMap) {
  testing::DrivesFixture fixture(
      "D: removable %ROOT%/stick  My Stick\n"
      "C: fixed %ROOT%/c\n"
      "X: ignore %ROOT%/c/skip\n"
      "this line is nonsense\n");
  const std::vector<DriveInfo> drives = fixture.platform().Drives();
  ASSERT_EQ(drives.size(), 2u);
  EXPECT_EQ(drives[0].letter, 'C');
  EXPECT_EQ(drives[0].native_folder, fixture.folder().Path("c"));
  EXPECT_EQ(drives[1].letter, 'D');
  EXPECT_EQ(drives[1].label, "My Stick");
  EXPECT_EQ(fixture.platform().VolumeLabel("d:\\"), "My Stick");
  EXPECT_EQ(fixture.platform().VolumeLabel("C:\\"), "");
  EXPECT_EQ(fixture.platform().DriveType("X:\\"), kDriveNone);
  // Whatever the machine mounts, only the file's drives exist.
  EXPECT_EQ(fixture.platform().DriveType("E:\\"), kDriveNone);
  // An ignored folder belongs to no drive.
  EXPECT_EQ(fixture.platform().ToCatalog(fixture.folder().Path("c/skip/a.mp3")), std::nullopt);
  EXPECT_EQ(fixture.platform().ToCatalog(fixture.folder().Path("c/a.mp3")), "C:\\a.mp3");
}

}  // namespace
}  // namespace tallymere
