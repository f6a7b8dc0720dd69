#include "platform/drive_map.h"

#include <gtest/gtest.h>

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

TEST(DriveMapTest, LettersRealFileSystemsInMountAreasByType) {
  testing::TempFolder program;
  auto machine = DesktopMachine();
  LinuxPlatform platform(program.path(), {}, std::make_unique<FakeProbe>(machine));
  // New letters follow the sorted keys: /dev/sr0, /media/me/STICK,
  // /media/me/image, /mnt/data, /run/media/me/share.
  std::vector<std::string> described;
  for (const DriveInfo& drive : platform.Drives()) {
    described.push_back(std::string(1, drive.letter) + " " + std::to_string(drive.type) + " " +
                        drive.native_folder + " " + drive.label);
  }
  EXPECT_EQ(described,
            (std::vector<std::string>{"C 3 / System", "D 5  ", "E 2 /media/me/STICK USB STICK",
                                      "F 5 /media/me/image MUSIC99", "G 3 /mnt/data data",
                                      "H 4 /run/media/me/share share"}));

  // The empty optical drive is not ready; /home stays part of C:.
  const Result<FolderListing> empty = platform.ListFolder("D:\\", false);
  ASSERT_FALSE(empty.ok());
  EXPECT_EQ(empty.status().message(), "Cannot list \"D:\\\": No medium found");
  EXPECT_EQ(platform.ToCatalog("/home/me/a.mp3"), "C:\\home\\me\\a.mp3");
  EXPECT_EQ(platform.ToCatalog("/media/me/STICK/a.mp3"), "E:\\a.mp3");
}

TEST(DriveMapTest, DriveTypeOfTextsBelowADrive) {
  testing::TempFolder program;
  LinuxPlatform platform(program.path(), {}, std::make_unique<FakeProbe>(DesktopMachine()));
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
  const std::string root = MountLine(1, "/", "ext4", "/dev/sda1");
  const std::string stick = MountLine(4, "/media/me/STICK", "vfat", "/dev/sdb1");
  const std::string data = MountLine(5, "/mnt/data", "ext4", "/dev/sdc1");
  const std::string early = MountLine(6, "/media/me/AAA", "vfat", "/dev/sdd1");
  const auto letter_of = [&](const std::string& folder) {
    LinuxPlatform platform(program.path(), {}, std::make_unique<FakeProbe>(machine));
    for (const DriveInfo& drive : platform.Drives()) {
      if (drive.native_folder == folder) return drive.letter;
    }
    return '?';
  };

  machine->mount_info = root + stick + data;
  EXPECT_EQ(letter_of("/media/me/STICK"), 'D');
  EXPECT_EQ(letter_of("/mnt/data"), 'E');
  EXPECT_NE(testing::ReadFileBytes(program.Path("Data/drive_letters.dat")).find("E: /mnt/data"),
            std::string::npos);

  // A new disk that sorts first takes neither a present nor an absent drive's letter.
  machine->mount_info = root + early + stick;
  EXPECT_EQ(letter_of("/media/me/STICK"), 'D');
  EXPECT_EQ(letter_of("/media/me/AAA"), 'F');

  machine->mount_info = root + data + early;
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

}  // namespace
}  // namespace tallymere
