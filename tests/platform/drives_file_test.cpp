#include "platform/drives_file.h"

#include <gtest/gtest.h>

#include "platform_fixture.h"

namespace tallymere {
namespace {

// "LETTER TYPE FOLDER|LABEL", or "LETTER ignore FOLDER" for a fenced-off folder.
std::vector<std::string> Described(const std::vector<DriveOverride>& drives) {
  std::vector<std::string> texts;
  for (const DriveOverride& d : drives) {
    texts.push_back(std::string(1, d.letter) + " " +
                    (d.ignored ? "ignore " + d.native_folder
                               : std::to_string(d.type) + " " + d.native_folder + "|" + d.label));
  }
  return texts;
}

TEST(DrivesFileTest, ReadsEveryTypeAndLabelsWithSpacesAndSkipsMalformedLines) {
  EXPECT_EQ(Described(ParseDrivesFile("C: fixed /\r\n"
                                      "e: removable /media/me/STICK/  Holiday Photos 2009  \r\n"
                                      "F: remote /mnt/server\n"
                                      "G: CDROM /mnt/cd MUSIC99\n"
                                      "R:\tramdisk\t/dev/shm\n"
                                      "X: ignore /srv/backup\n"
                                      "H: fixed /mnt/with\\040space Label")),
            (std::vector<std::string>{"C 3 /|", "E 2 /media/me/STICK|Holiday Photos 2009",
                                      "F 4 /mnt/server|", "G 5 /mnt/cd|MUSIC99",
                                      "H 3 /mnt/with space|Label", "R 6 /dev/shm|",
                                      "X ignore /srv/backup"}));

  const std::string junk(100000, '\xFF');
  EXPECT_EQ(Described(ParseDrivesFile("\xEF\xBB\xBF# comment\n\nD fixed /nocolon\n"
                                      "1: fixed /digit\nDD: fixed /twoletters\n"
                                      "E: floppy /unknown/type\nF: fixed relative/folder\n"
                                      "G: fixed\nH:\n:\n" +
                                      junk + "\n\r\n" + std::string(1, '\0') +
                                      "\nK: removable /ok\nK: fixed /later Later wins\n")),
            std::vector<std::string>{"K 3 /later|Later wins"});
  EXPECT_TRUE(ParseDrivesFile("").empty());

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
  LinuxPlatform& platform = fixture.platform();
  const std::vector<DriveInfo> drives = platform.Drives();
  ASSERT_EQ(drives.size(), 2u);
  EXPECT_EQ(drives[0].letter, 'C');
  EXPECT_EQ(drives[0].native_folder, fixture.folder().Path("c"));
  EXPECT_EQ(drives[1].letter, 'D');
  EXPECT_EQ(platform.VolumeLabel("d:\\") + "|" + platform.VolumeLabel("C:\\"), "My Stick|");
  // Whatever the machine mounts, only the file's drives exist; an ignored
  // folder belongs to no drive.
  EXPECT_EQ(platform.DriveType("X:\\"), kDriveNone);
  EXPECT_EQ(platform.DriveType("E:\\"), kDriveNone);
  EXPECT_EQ(platform.ToCatalog(fixture.folder().Path("c/skip/a.mp3")), std::nullopt);
  EXPECT_EQ(platform.ToCatalog(fixture.folder().Path("c/a.mp3")), "C:\\a.mp3");
}

}  // namespace
}  // namespace tallymere
