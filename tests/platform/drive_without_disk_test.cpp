// Removable and CD-ROM drives whose disk is out stay in the automatic map,
// as a drive letter stays while its drive is empty.

#include <gtest/gtest.h>

#include "platform/drive_letters.h"
#include "platform_fixture.h"
#include "support/temp_folder.h"

namespace tallymere {
namespace {

using testing::FakeMachine;
using testing::FakeProbe;
using testing::MountLine;

const std::string kRoot = MountLine(1, "/", "ext4", "/dev/sda1");
const std::string kStick = MountLine(4, "/media/me/STICK1", "vfat", "/dev/sdb1");
const std::string kImage = MountLine(5, "/media/me/image", "iso9660", "/dev/loop0");
const std::string kDataDisk = MountLine(6, "/mnt/data", "ext4", "/dev/sdc1");
const std::string kShare = MountLine(7, "/mnt/share", "nfs4", "server:/music");

// "LETTER TYPE FOLDER|LABEL" of every drive of the map.
std::vector<std::string> Described(const LinuxPlatform& platform) {
  std::vector<std::string> texts;
  for (const DriveInfo& drive : platform.Drives()) {
    texts.push_back(std::string(1, drive.letter) + " " + std::to_string(drive.type) + " " +
                    drive.native_folder + "|" + drive.label);
  }
  return texts;
}

class DriveWithoutDiskTest : public ::testing::Test {
 protected:
  DriveWithoutDiskTest() {
    m_machine->removable_sources = {"/dev/sdb1"};
    m_machine->labels = {{"/dev/sdb1", "STICK1"}};
  }
  // A program started on the machine as it is now.
  std::unique_ptr<LinuxPlatform> Start() const {
    return std::make_unique<LinuxPlatform>(m_program.path(), LinuxPlatform::Clock{},
                                           std::make_unique<FakeProbe>(m_machine));
  }
  std::string LettersFile() const { return m_program.Path("Data/drive_letters.dat"); }

  testing::TempFolder m_program;
  std::shared_ptr<FakeMachine> m_machine = std::make_shared<FakeMachine>();
};

TEST_F(DriveWithoutDiskTest, UnpluggedStickKeepsItsLetterAndTypeWithoutAFolder) {
  m_machine->mount_info = kRoot + kStick;
  EXPECT_EQ(Described(*Start()),
            (std::vector<std::string>{"C 3 /|", "D 2 /media/me/STICK1|STICK1"}));
  EXPECT_EQ(testing::ReadFileBytes(LettersFile()), "D: /media/me/STICK1 removable\n");

  m_machine->mount_info = kRoot;
  const std::unique_ptr<LinuxPlatform> platform = Start();
  EXPECT_EQ(Described(*platform), (std::vector<std::string>{"C 3 /|", "D 2 |"}));
  EXPECT_EQ(platform->DriveType("D:\\"), kDriveRemovable);
  EXPECT_EQ(platform->DriveType("d:"), kDriveRemovable);
  // Below it the tree expects a disk's label, as for a stick that is in.
  EXPECT_EQ(platform->DriveType("D:\\Holiday\\"), kDriveNone);
  EXPECT_EQ(platform->VolumeLabel("D:\\"), "");
  EXPECT_EQ(platform->ToNative("D:\\"), std::nullopt);
  EXPECT_EQ(platform->ToNative("D:\\Music\\a.mp3"), std::nullopt);
  // The empty mount folder is only a folder of the root file system now.
  EXPECT_EQ(platform->ToCatalog("/media/me/STICK1/a.mp3"), "C:\\media\\me\\STICK1\\a.mp3");

  const Result<FolderListing> listing = platform->ListFolder("D:\\Music\\", false);
  ASSERT_FALSE(listing.ok());
  EXPECT_EQ(listing.status().message(), "Cannot list \"D:\\Music\\\": No medium found");
  EXPECT_EQ(listing.code(), StatusCode::kNotFound);
  EXPECT_FALSE(platform->FileExists("D:\\a.mp3"));
  EXPECT_EQ(platform->FileLength("D:\\a.mp3").code(), StatusCode::kNotFound);
}

TEST_F(DriveWithoutDiskTest, StickPluggedInAgainGetsItsLetterAndFolderBack) {
  m_machine->mount_info = kRoot + kStick;
  Start();
  m_machine->mount_info = kRoot + kDataDisk;
  // The new disk takes neither C: nor the letter of the stick that is out.
  EXPECT_EQ(Described(*Start()),
            (std::vector<std::string>{"C 3 /|", "D 2 |", "E 3 /mnt/data|data"}));

  m_machine->mount_info = kRoot + kDataDisk + kStick;
  const std::unique_ptr<LinuxPlatform> platform = Start();
  EXPECT_EQ(Described(*platform), (std::vector<std::string>{"C 3 /|", "D 2 /media/me/STICK1|STICK1",
                                                            "E 3 /mnt/data|data"}));
  EXPECT_EQ(platform->ToNative("D:\\a.mp3"), "/media/me/STICK1/a.mp3");
}

TEST_F(DriveWithoutDiskTest, AStickPulledWhileTheProgramRunsStaysInTheMap) {
  m_machine->mount_info = kRoot + kStick;
  const std::unique_ptr<LinuxPlatform> platform = Start();
  EXPECT_EQ(platform->ToNative("D:\\"), "/media/me/STICK1/");

  m_machine->mount_info = kRoot;
  m_machine->mounts_changed = true;
  EXPECT_EQ(platform->DriveType("D:\\"), kDriveRemovable);
  EXPECT_EQ(platform->ToNative("D:\\"), std::nullopt);
  EXPECT_EQ(platform->ListFolder("D:\\", true).code(), StatusCode::kNotFound);
}

TEST_F(DriveWithoutDiskTest, DiscImagesStayAsEmptyCdDrivesButFixedAndNetworkDrivesGo) {
  m_machine->mount_info = kRoot + kImage + kDataDisk + kShare;
  m_machine->iso_labels = {{"/dev/loop0", "MUSIC99"}};
  EXPECT_EQ(Described(*Start()),
            (std::vector<std::string>{"C 3 /|", "D 5 /media/me/image|MUSIC99", "E 3 /mnt/data|data",
                                      "F 4 /mnt/share|share"}));

  m_machine->mount_info = kRoot;
  EXPECT_EQ(Described(*Start()), (std::vector<std::string>{"C 3 /|", "D 5 |"}));
  // The gone drives' letters are still remembered, for when they come back.
  m_machine->mount_info = kRoot + kShare;
  EXPECT_EQ(Described(*Start()),
            (std::vector<std::string>{"C 3 /|", "D 5 |", "F 4 /mnt/share|share"}));
}

TEST_F(DriveWithoutDiskTest, LettersFileWithoutTypesStillGivesTheLettersAndLearnsTheTypes) {
  m_program.WriteFile("Data/drive_letters.dat",
                      "F: /media/me/STICK1\n"
                      "G: /media/me/OTHER\n");
  // A drive of an old file that is out now has no known type: it is left out,
  // but keeps its letter.
  m_machine->mount_info = kRoot + kDataDisk;
  EXPECT_EQ(Described(*Start()), (std::vector<std::string>{"C 3 /|", "D 3 /mnt/data|data"}));

  m_machine->mount_info = kRoot + kStick;
  EXPECT_EQ(Described(*Start()),
            (std::vector<std::string>{"C 3 /|", "F 2 /media/me/STICK1|STICK1"}));
  EXPECT_EQ(testing::ReadFileBytes(LettersFile()),
            "F: /media/me/STICK1 removable\n"
            "G: /media/me/OTHER\n"
            "D: /mnt/data fixed\n");

  m_machine->mount_info = kRoot;
  EXPECT_EQ(Described(*Start()), (std::vector<std::string>{"C 3 /|", "F 2 |"}));
}

TEST(RememberedLettersTest, ReadsBothLineFormsAndWritesTypesBack) {
  const RememberedLetters letters = ParseRememberedLetters(
      "D: /media/me/My\\040Stick removable\n"
      "E: /mnt/old\n"
      "F: /dev/sr0 CDROM\n"
      "G: /mnt/odd unknown-word\n"
      "H: \n"    // no key
      "B: /x\n"  // not a letter handed out
      "E: /mnt/old fixed\n");
  std::vector<std::string> described;
  for (const RememberedLetter& r : letters) {
    described.push_back(std::string(1, r.letter) + " " + r.key + " " + std::to_string(r.type));
  }
  EXPECT_EQ(described, (std::vector<std::string>{"D /media/me/My Stick 2", "F /dev/sr0 5",
                                                 "G /mnt/odd 0", "E /mnt/old 3"}));
  EXPECT_EQ(FormatRememberedLetters(letters),
            "D: /media/me/My\\040Stick removable\n"
            "F: /dev/sr0 cdrom\n"
            "G: /mnt/odd\n"
            "E: /mnt/old fixed\n");

  RememberedLetters changed = letters;
  EXPECT_TRUE(RememberDriveType(&changed, "/mnt/odd", kDriveRemovable));
  EXPECT_FALSE(RememberDriveType(&changed, "/mnt/odd", kDriveRemovable));
  EXPECT_FALSE(RememberDriveType(&changed, "/mnt/never-seen", kDriveRemovable));
  EXPECT_EQ(changed[2].type, kDriveRemovable);
}

}  // namespace
}  // namespace tallymere
