#include "platform/drive_map.h"

#include <gtest/gtest.h>

#include "platform/drive_letters.h"
#include "platform/mount_info.h"
#include "platform/volume_label.h"
#include "platform_fixture.h"
#include "support/temp_folder.h"

namespace tallymere {
namespace {

using testing::FakeMachine;
using testing::FakeProbe;
using testing::MountLine;

TEST(MountInfoTest, DecodesEscapesSkipsMalformedLinesAndLetsTheLaterEntryWin) {
  const std::vector<MountEntry> mounts = ParseMountInfo(
      "26 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
      "91 26 8:18 / /mnt/back\\134slash rw - ext4 /dev/sdb2 rw\n"
      // Several optional fields before the separator.
      "90 26 8:17 / /media/me/My\\040Disk\\011x rw shared:5 master:2 - vfat /dev/sdb1 rw\n"
      "garbage\n"
      "1 2 3 4 5 6 7 8 9\n"                          // no separator
      "1 2 8:1 / /mnt/x rw - ext4\n"                 // nothing after the type
      "1 2 8:1 / relative rw - ext4 /dev/sda1 rw\n"  // not a path
      "\n" +
      MountLine(5, "/mnt/back\\134slash", "vfat", "/dev/sdc1"));  // a later entry wins
  ASSERT_EQ(mounts.size(), 3u);
  EXPECT_EQ(mounts[1].mount_point + "|" + mounts[1].fs_type + "|" + mounts[1].source,
            "/media/me/My Disk\tx|vfat|/dev/sdb1");
  EXPECT_EQ(mounts[2].mount_point + "|" + mounts[2].source, "/mnt/back\\slash|/dev/sdc1");
  EXPECT_EQ(EncodeOctalEscapes("a b\\c"), "a\\040b\\134c");
  EXPECT_EQ(DecodeOctalEscapes(EncodeOctalEscapes("x y\t\n\\z")), "x y\t\n\\z");
  EXPECT_EQ(DecodeOctalEscapes("\\04"), "\\04");  // too short to be an escape
}

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

// A desktop machine: root, kernel mounts, a stick, a data disk, a network
// share, a mounted ISO image, a tmpfs and an empty optical drive.
std::shared_ptr<FakeMachine> DesktopMachine() {
  auto machine = std::make_shared<FakeMachine>();
  machine->mount_info = MountLine(1, "/", "ext4", "/dev/sda1") +
                        MountLine(2, "/proc", "proc", "proc") +
                        MountLine(3, "/home", "ext4", "/dev/sda2") +
                        MountLine(4, "/media/me/STICK", "vfat", "/dev/sdb1") +
                        MountLine(5, "/mnt/data", "ext4", "/dev/sdc1") +
                        MountLine(6, "/run/media/me/share", "nfs4", "server:/music") +
                        MountLine(7, "/media/me/image", "iso9660", "/dev/loop0") +
                        MountLine(8, "/mnt/ram", "tmpfs", "tmpfs");
  machine->optical_devices = {"/dev/sr0"};
  machine->removable_sources = {"/dev/sdb1"};
  machine->labels = {{"/dev/sda1", "System"}, {"/dev/sdb1", "USB STICK"}};
  machine->iso_labels = {{"/dev/loop0", "MUSIC99"}};
  return machine;
}

TEST(DriveMapTest, LettersRealFileSystemsInMountAreasByTypeAndTypesTextsBelowADrive) {
  testing::TempFolder program;
  auto machine = DesktopMachine();
  LinuxPlatform platform(program.path(), {}, std::make_unique<FakeProbe>(machine));
  // New letters follow the sorted keys: /dev/sr0, /media/me/STICK,
  // /media/me/image, /mnt/data, /run/media/me/share.
  EXPECT_EQ(Described(platform),
            (std::vector<std::string>{"C 3 /|System", "D 5 |", "E 2 /media/me/STICK|USB STICK",
                                      "F 5 /media/me/image|MUSIC99", "G 3 /mnt/data|data",
                                      "H 4 /run/media/me/share|share"}));

  // The empty optical drive is not ready; /home stays part of C:.
  const Result<FolderListing> empty = platform.ListFolder("D:\\", false);
  ASSERT_FALSE(empty.ok());
  EXPECT_EQ(empty.status().message(), "Cannot list \"D:\\\": No medium found");
  EXPECT_EQ(platform.ToCatalog("/home/me/a.mp3"), "C:\\home\\me\\a.mp3");
  EXPECT_EQ(platform.ToCatalog("/media/me/STICK/a.mp3"), "E:\\a.mp3");

  EXPECT_EQ(platform.DriveType("E:\\"), kDriveRemovable);
  EXPECT_EQ(platform.DriveType("e:"), kDriveRemovable);
  EXPECT_EQ(platform.DriveType("D:\\"), kDriveCdRom);
  // Below a removable or CD-ROM drive the tree expects a disk label, not a drive.
  EXPECT_EQ(platform.DriveType("E:\\MyDisk\\"), kDriveNone);
  EXPECT_EQ(platform.DriveType("D:\\MyCD\\"), kDriveNone);
  EXPECT_EQ(platform.DriveType("C:\\Music"), kDriveFixed);
  EXPECT_EQ(platform.DriveType("Q:\\"), kDriveNone);
  EXPECT_EQ(platform.DriveType(""), kDriveNone);
  EXPECT_EQ(platform.DriveType("\\\\server\\share"), kDriveNone);
}

TEST(DriveMapTest, LettersStayStableAcrossRuns) {
  testing::TempFolder program;
  auto machine = std::make_shared<FakeMachine>();
  const std::string early = MountLine(6, "/media/me/AAA", "vfat", "/dev/sdd1");
  const auto letter_of = [&](const std::string& folder) {
    LinuxPlatform platform(program.path(), {}, std::make_unique<FakeProbe>(machine));
    for (const DriveInfo& drive : platform.Drives()) {
      if (drive.native_folder == folder) return drive.letter;
    }
    return '?';
  };

  machine->mount_info = kRoot + kStick + kDataDisk;
  EXPECT_EQ(letter_of("/media/me/STICK1"), 'D');
  EXPECT_EQ(letter_of("/mnt/data"), 'E');
  EXPECT_NE(testing::ReadFileBytes(program.Path("Data/drive_letters.dat")).find("E: /mnt/data"),
            std::string::npos);

  // A new disk that sorts first takes neither a present nor an absent drive's letter.
  machine->mount_info = kRoot + early + kStick;
  EXPECT_EQ(letter_of("/media/me/STICK1"), 'D');
  EXPECT_EQ(letter_of("/media/me/AAA"), 'F');

  machine->mount_info = kRoot + kDataDisk + early;
  EXPECT_EQ(letter_of("/mnt/data"), 'E');
  EXPECT_EQ(letter_of("/media/me/AAA"), 'F');
}

TEST(DriveMapTest, RunsOutOfLettersWithoutFailing) {
  RememberedLetters remembered;
  std::vector<std::string> keys;
  for (int i = 0; i < 30; ++i) keys.push_back("/mnt/disk" + std::to_string(100 + i));
  bool changed = false;
  const std::vector<char> letters = AssignDriveLetters(keys, &remembered, &changed);
  EXPECT_TRUE(changed);
  EXPECT_EQ(letters[0], 'D');
  EXPECT_EQ(letters[22], 'Z');
  EXPECT_EQ(letters[23], '\0');
  EXPECT_EQ(remembered.size(), 23u);
  // Letters of absent drives are reused once every letter is remembered.
  const std::vector<char> later = AssignDriveLetters({"/mnt/new"}, &remembered, &changed);
  EXPECT_EQ(later[0], 'D');
  EXPECT_EQ(ParseRememberedLetters(FormatRememberedLetters(remembered)).size(), 23u);
}

TEST(DriveMapTest, MountChangeRebuildsTheMap) {
  testing::TempFolder program;
  auto machine = std::make_shared<FakeMachine>();
  machine->mount_info = MountLine(1, "/", "ext4", "/dev/sda1");
  LinuxPlatform platform(program.path(), {}, std::make_unique<FakeProbe>(machine));
  EXPECT_EQ(platform.DriveType("D:\\"), kDriveNone);

  machine->mount_info += MountLine(2, "/media/me/NEW\\040ONE", "exfat", "/dev/sdb1");
  machine->removable_sources = {"/dev/sdb1"};
  machine->mounts_changed = true;
  EXPECT_EQ(platform.DriveType("D:\\"), kDriveRemovable);
  EXPECT_EQ(platform.VolumeLabel("D:\\"), "NEW ONE");
  EXPECT_EQ(platform.ToNative("D:\\x"), "/media/me/NEW ONE/x");
}

TEST(DriveMapTest, ReadsLabelsFromUdevNamesAndIsoDescriptors) {
  EXPECT_EQ(DecodeByLabelName("My\\x20Disk\\x2fA"), "My Disk/A");
  EXPECT_EQ(DecodeByLabelName("Caf\\xc3\\xa9"), "Caf\xC3\xA9");
  EXPECT_EQ(DecodeByLabelName("Caf\\xe9"), "Caf\xC3\xA9");  // a Windows-1252 label
  EXPECT_EQ(DecodeByLabelName("odd\\x2"), "odd\\x2");

  std::string descriptor(kIsoDescriptorPrefixSize, ' ');
  descriptor[kIsoDescriptorTypeOffset] = static_cast<char>(kIsoPrimaryDescriptorType);
  descriptor.replace(kIsoMagicOffset, kIsoMagic.size(), kIsoMagic);
  descriptor.replace(kIsoVolumeIdOffset, 7, "MUSIC99");
  EXPECT_EQ(ParseIsoVolumeIdentifier(descriptor), "MUSIC99");
  EXPECT_EQ(ParseIsoVolumeIdentifier(descriptor.substr(0, 50)), "");
  descriptor[kIsoMagicOffset] = 'X';
  EXPECT_EQ(ParseIsoVolumeIdentifier(descriptor), "");
}

TEST(DriveMapTest, ReadsThisMachinesMountTable) {
  const std::unique_ptr<MachineProbe> probe = MakeLinuxMachineProbe();
  const std::vector<MountEntry> mounts = ParseMountInfo(probe->MountInfoText());
  // Inside a chroot the root itself need not be a mount point, so only what
  // holds everywhere is checked: the kernel's table reads as mounts.
  ASSERT_FALSE(mounts.empty());
  EXPECT_TRUE(std::all_of(mounts.begin(), mounts.end(), [](const MountEntry& m) {
    return m.mount_point.starts_with("/") && !m.fs_type.empty();
  }));
  EXPECT_FALSE(probe->MountsChanged());
}

// Removable and CD-ROM drives whose disk is out stay in the map, keeping their letter.
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
