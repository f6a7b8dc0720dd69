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

TEST(MountInfoTest, DecodesEscapesSkipsMalformedLinesLetsTheLaterEntryWinAndReadsThisMachine) {
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
      MountLine("/mnt/back\\134slash", "vfat", "/dev/sdc1"));  // a later entry wins
  ASSERT_EQ(mounts.size(), 3u);
  EXPECT_EQ(mounts[1].mount_point + "|" + mounts[1].fs_type + "|" + mounts[1].source,
            "/media/me/My Disk\tx|vfat|/dev/sdb1");
  EXPECT_EQ(mounts[2].mount_point + "|" + mounts[2].source, "/mnt/back\\slash|/dev/sdc1");
  EXPECT_EQ(EncodeOctalEscapes("a b\\c"), "a\\040b\\134c");
  EXPECT_EQ(DecodeOctalEscapes(EncodeOctalEscapes("x y\t\n\\z")), "x y\t\n\\z");
  EXPECT_EQ(DecodeOctalEscapes("\\04"), "\\04");  // too short to be an escape

  const std::unique_ptr<MachineProbe> probe = MakeLinuxMachineProbe();
  const std::vector<MountEntry> machine = ParseMountInfo(probe->MountInfoText());
  // Inside a chroot the root itself need not be a mount point, so only what
  // holds everywhere is checked: the kernel's table reads as mounts.
  ASSERT_FALSE(machine.empty());
  EXPECT_TRUE(std::all_of(machine.begin(), machine.end(), [](const MountEntry& m) {
    return m.mount_point.starts_with("/") && !m.fs_type.empty();
  }));
  EXPECT_FALSE(probe->MountsChanged());
}

TEST(VolumeLabelTest, ReadsLabelsFromUdevNamesAndIsoDescriptors) {
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

const std::string kRoot = MountLine("/", "ext4", "/dev/sda1");
const std::string kStick = MountLine("/media/me/STICK1", "vfat", "/dev/sdb1");
const std::string kImage = MountLine("/media/me/image", "iso9660", "/dev/loop0");
const std::string kDataDisk = MountLine("/mnt/data", "ext4", "/dev/sdc1");
const std::string kShare = MountLine("/mnt/share", "nfs4", "server:/music");

// "LETTER TYPE FOLDER|LABEL" of every drive of the map, joined by ", ".
std::string Described(const LinuxPlatform& platform) {
  std::string text;
  for (const DriveInfo& d : platform.Drives()) {
    text += (text.empty() ? "" : ", ") + std::string(1, d.letter) + " " + std::to_string(d.type) +
            " " + d.native_folder + "|" + d.label;
  }
  return text;
}

// A program folder on a described machine whose stick /dev/sdb1 is labelled
// STICK1. Removable and CD-ROM drives whose disk is out stay in the map,
// keeping their letter.
class DriveMapTest : public ::testing::Test {
 protected:
  DriveMapTest() {
    m_machine->removable_sources = {"/dev/sdb1"};
    m_machine->labels = {{"/dev/sdb1", "STICK1"}};
  }
  // A program started on the machine as it is now.
  std::unique_ptr<LinuxPlatform> Start() const {
    return std::make_unique<LinuxPlatform>(m_program.path(), LinuxPlatform::Clock{},
                                           std::make_unique<FakeProbe>(m_machine));
  }
  std::string Letters() const {
    return testing::ReadFileBytes(m_program.Path("Data/drive_letters.dat"));
  }

  testing::TempFolder m_program;
  std::shared_ptr<FakeMachine> m_machine = std::make_shared<FakeMachine>();
};

TEST_F(DriveMapTest, LettersRealFileSystemsInMountAreasByTypeAndTypesTextsBelowADrive) {
  // A desktop: root, kernel mounts, /home, a stick, a data disk, a network
  // share, a mounted ISO image, a tmpfs and an empty optical drive.
  m_machine->mount_info = kRoot + MountLine("/proc", "proc", "proc") +
                          MountLine("/home", "ext4", "/dev/sda2") +
                          MountLine("/media/me/STICK", "vfat", "/dev/sdb1") + kDataDisk +
                          MountLine("/run/media/me/share", "nfs4", "server:/music") + kImage +
                          MountLine("/mnt/ram", "tmpfs", "tmpfs");
  m_machine->optical_devices = {"/dev/sr0"};
  m_machine->labels = {{"/dev/sda1", "System"}, {"/dev/sdb1", "USB STICK"}};
  m_machine->iso_labels = {{"/dev/loop0", "MUSIC99"}};
  const std::unique_ptr<LinuxPlatform> platform = Start();
  // New letters follow the sorted keys: /dev/sr0, /media/me/STICK,
  // /media/me/image, /mnt/data, /run/media/me/share.
  EXPECT_EQ(Described(*platform),
            "C 3 /|System, D 5 |, E 2 /media/me/STICK|USB STICK, F 5 /media/me/image|MUSIC99, "
            "G 3 /mnt/data|data, H 4 /run/media/me/share|share");

  // The empty optical drive is not ready; /home stays part of C:.
  EXPECT_EQ(platform->ListFolder("D:\\", false).status().message(),
            "Cannot list \"D:\\\": No medium found");
  EXPECT_EQ(platform->ToCatalog("/home/me/a.mp3"), "C:\\home\\me\\a.mp3");
  EXPECT_EQ(platform->ToCatalog("/media/me/STICK/a.mp3"), "E:\\a.mp3");

  // Below a removable or CD-ROM drive the tree expects a disk label, not a
  // drive: 2 removable, 3 fixed, 5 CD-ROM, 1 none.
  std::string types;
  for (const char* path : {"E:\\", "e:", "D:\\", "E:\\MyDisk\\", "D:\\MyCD\\", "C:\\Music", "Q:\\",
                           "", "\\\\server\\share"}) {
    types += std::to_string(platform->DriveType(path)) + " ";
  }
  EXPECT_EQ(types, "2 2 5 1 1 3 1 1 1 ");
}

TEST_F(DriveMapTest, OnlyAFloppyAmongTheRemovableDrivesIsMarkedAFloppy) {
  m_machine->mount_info = kRoot + MountLine("/media/me/STICK", "vfat", "/dev/sdb1") +
                          MountLine("/media/me/floppy", "vfat", "/dev/sdc") +
                          MountLine("/mnt/data", "ext4", "/dev/sdd1");
  m_machine->removable_sources = {"/dev/sdb1", "/dev/sdc"};
  // A fixed disk is never asked about, whatever its size.
  m_machine->floppy_sources = {"/dev/sdc", "/dev/sdd1"};
  std::string floppies;
  for (const DriveInfo& drive : Start()->Drives()) {
    floppies += std::string(1, drive.letter) + std::to_string(drive.type) +
                (drive.floppy ? "floppy " : "- ");
  }
  EXPECT_EQ(floppies, "C3- D2- E2floppy F3- ");
}

TEST(FloppyTest, AFloppyDriveByItsNameOrAWholeDiskOfAtMostTwoPointEightyEightMegabytes) {
  EXPECT_TRUE(LooksLikeFloppy("fd0", ""));
  EXPECT_TRUE(LooksLikeFloppy("sdc", "2880\n"));  // 1.44 MB in a USB floppy drive
  EXPECT_TRUE(LooksLikeFloppy("sdc", "5760\n"));  // 2.88 MB
  EXPECT_FALSE(LooksLikeFloppy("sdc", "5761\n"));
  EXPECT_FALSE(LooksLikeFloppy("sdb", "62521344\n"));  // a 32 GB stick
  EXPECT_FALSE(LooksLikeFloppy("sdb", "99999999999999999999999\n"));
  // A card reader without a card, or a size that cannot be read, says nothing.
  EXPECT_FALSE(LooksLikeFloppy("sdd", "0\n"));
  EXPECT_FALSE(LooksLikeFloppy("sdd", ""));
  EXPECT_FALSE(LooksLikeFloppy("sdd", "junk"));
}

TEST_F(DriveMapTest, LettersStayStableAcrossRuns) {
  const std::string early = MountLine("/media/me/AAA", "vfat", "/dev/sdd1");
  const auto letter_of = [&](const std::string& folder) {
    for (const DriveInfo& drive : Start()->Drives()) {
      if (drive.native_folder == folder) return drive.letter;
    }
    return '?';
  };
  m_machine->removable_sources.clear();  // gone drives leave the map

  m_machine->mount_info = kRoot + kStick + kDataDisk;
  EXPECT_EQ(letter_of("/media/me/STICK1"), 'D');
  EXPECT_EQ(letter_of("/mnt/data"), 'E');
  EXPECT_NE(Letters().find("E: /mnt/data"), std::string::npos);

  // A new disk that sorts first takes neither a present nor an absent drive's letter.
  m_machine->mount_info = kRoot + early + kStick;
  EXPECT_EQ(letter_of("/media/me/STICK1"), 'D');
  EXPECT_EQ(letter_of("/media/me/AAA"), 'F');

  m_machine->mount_info = kRoot + kDataDisk + early;
  EXPECT_EQ(letter_of("/mnt/data"), 'E');
  EXPECT_EQ(letter_of("/media/me/AAA"), 'F');
}

TEST_F(DriveMapTest, UnpluggedStickKeepsItsLetterAndTypeWithoutAFolder) {
  m_machine->mount_info = kRoot + kStick;
  EXPECT_EQ(Described(*Start()), "C 3 /|, D 2 /media/me/STICK1|STICK1");
  EXPECT_EQ(Letters(), "D: /media/me/STICK1 removable\n");

  m_machine->mount_info = kRoot;
  const std::unique_ptr<LinuxPlatform> platform = Start();
  EXPECT_EQ(Described(*platform), "C 3 /|, D 2 |");
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
  EXPECT_EQ(listing.status().message(), "Cannot list \"D:\\Music\\\": No medium found");
  EXPECT_EQ(listing.code(), StatusCode::kNotFound);
  EXPECT_FALSE(platform->FileExists("D:\\a.mp3"));
  EXPECT_EQ(platform->FileLength("D:\\a.mp3").code(), StatusCode::kNotFound);
}

TEST_F(DriveMapTest, StickPluggedInAgainGetsItsLetterAndFolderBack) {
  m_machine->mount_info = kRoot + kStick;
  Start()->Drives();  // a run that sees the stick
  m_machine->mount_info = kRoot + kDataDisk;
  // The new disk takes neither C: nor the letter of the stick that is out.
  EXPECT_EQ(Described(*Start()), "C 3 /|, D 2 |, E 3 /mnt/data|data");

  m_machine->mount_info = kRoot + kDataDisk + kStick;
  const std::unique_ptr<LinuxPlatform> platform = Start();
  EXPECT_EQ(Described(*platform), "C 3 /|, D 2 /media/me/STICK1|STICK1, E 3 /mnt/data|data");
  EXPECT_EQ(platform->ToNative("D:\\a.mp3"), "/media/me/STICK1/a.mp3");
}

TEST_F(DriveMapTest, AStickPluggedInOrPulledWhileTheProgramRunsChangesTheMap) {
  m_machine->mount_info = kRoot;
  m_machine->labels.clear();
  const std::unique_ptr<LinuxPlatform> platform = Start();
  EXPECT_EQ(platform->DriveType("D:\\"), kDriveNone);

  m_machine->mount_info += MountLine("/media/me/NEW\\040ONE", "exfat", "/dev/sdb1");
  m_machine->mounts_changed = true;
  EXPECT_EQ(platform->DriveType("D:\\"), kDriveRemovable);
  EXPECT_EQ(platform->VolumeLabel("D:\\"), "NEW ONE");
  EXPECT_EQ(platform->ToNative("D:\\x"), "/media/me/NEW ONE/x");
  EXPECT_EQ(platform->ToNative("D:\\"), "/media/me/NEW ONE/");

  // Pulled out, it stays in the map.
  m_machine->mount_info = kRoot;
  m_machine->mounts_changed = true;
  EXPECT_EQ(platform->DriveType("D:\\"), kDriveRemovable);
  EXPECT_EQ(platform->ToNative("D:\\"), std::nullopt);
  EXPECT_EQ(platform->ListFolder("D:\\", true).code(), StatusCode::kNotFound);
}

TEST_F(DriveMapTest, DiscImagesStayAsEmptyCdDrivesButFixedAndNetworkDrivesGo) {
  m_machine->mount_info = kRoot + kImage + kDataDisk + kShare;
  m_machine->iso_labels = {{"/dev/loop0", "MUSIC99"}};
  EXPECT_EQ(Described(*Start()),
            "C 3 /|, D 5 /media/me/image|MUSIC99, E 3 /mnt/data|data, F 4 /mnt/share|share");
  m_machine->mount_info = kRoot;
  EXPECT_EQ(Described(*Start()), "C 3 /|, D 5 |");
  // The gone drives' letters are still remembered, for when they come back.
  m_machine->mount_info = kRoot + kShare;
  EXPECT_EQ(Described(*Start()), "C 3 /|, D 5 |, F 4 /mnt/share|share");
}

TEST_F(DriveMapTest, LettersFileWithoutTypesStillGivesTheLettersAndLearnsTheTypes) {
  m_program.WriteFile("Data/drive_letters.dat", "F: /media/me/STICK1\nG: /media/me/OTHER\n");
  // A drive of an old file that is out now has no known type: it is left out,
  // but keeps its letter.
  m_machine->mount_info = kRoot + kDataDisk;
  EXPECT_EQ(Described(*Start()), "C 3 /|, D 3 /mnt/data|data");
  m_machine->mount_info = kRoot + kStick;
  EXPECT_EQ(Described(*Start()), "C 3 /|, F 2 /media/me/STICK1|STICK1");
  EXPECT_EQ(Letters(), "F: /media/me/STICK1 removable\nG: /media/me/OTHER\nD: /mnt/data fixed\n");
  m_machine->mount_info = kRoot;
  EXPECT_EQ(Described(*Start()), "C 3 /|, F 2 |");
}

TEST(RememberedLettersTest, ReadsBothLineFormsWritesTypesBackAndRunsOutOfLettersWithoutFailing) {
  const RememberedLetters letters = ParseRememberedLetters(
      "D: /media/me/My\\040Stick removable\n"
      "E: /mnt/old\n"
      "F: /dev/sr0 CDROM\n"
      "G: /mnt/odd unknown-word\n"
      "H: \n"    // no key
      "B: /x\n"  // not a letter handed out
      "E: /mnt/old fixed\n");
  std::string described;
  for (const RememberedLetter& r : letters) {
    described += std::string(1, r.letter) + " " + r.key + " " + std::to_string(r.type) + ", ";
  }
  EXPECT_EQ(described, "D /media/me/My Stick 2, F /dev/sr0 5, G /mnt/odd 0, E /mnt/old 3, ");
  EXPECT_EQ(FormatRememberedLetters(letters),
            "D: /media/me/My\\040Stick removable\nF: /dev/sr0 cdrom\nG: /mnt/odd\n"
            "E: /mnt/old fixed\n");

  RememberedLetters changed = letters;
  EXPECT_TRUE(RememberDriveType(&changed, "/mnt/odd", kDriveRemovable));
  EXPECT_FALSE(RememberDriveType(&changed, "/mnt/odd", kDriveRemovable));
  EXPECT_FALSE(RememberDriveType(&changed, "/mnt/never-seen", kDriveRemovable));
  EXPECT_EQ(changed[2].type, kDriveRemovable);

  // Running out of letters does not fail.
  RememberedLetters remembered;
  std::vector<std::string> keys;
  for (int i = 0; i < 30; ++i) keys.push_back("/mnt/disk" + std::to_string(100 + i));
  bool assigned = false;
  const std::vector<char> handed = AssignDriveLetters(keys, &remembered, &assigned);
  EXPECT_TRUE(assigned);
  EXPECT_EQ(std::string(handed.begin(), handed.begin() + 24),
            std::string("DEFGHIJKLMNOPQRSTUVWXYZ\0", 24));
  EXPECT_EQ(remembered.size(), 23u);
  // Letters of absent drives are reused once every letter is remembered.
  EXPECT_EQ(AssignDriveLetters({"/mnt/new"}, &remembered, &assigned)[0], 'D');
  EXPECT_EQ(ParseRememberedLetters(FormatRememberedLetters(remembered)).size(), 23u);
}

}  // namespace
}  // namespace tallymere
