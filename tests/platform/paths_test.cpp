#include <gtest/gtest.h>

#include <filesystem>

#include "platform/catalog_path.h"
#include "platform/drives_file.h"
#include "platform/legacy_names.h"
#include "platform/program_folder.h"
#include "platform_fixture.h"

namespace tallymere {
namespace {

TEST(CatalogPathTest, CatalogPathsBecomeNativePathsAndBack) {
  testing::DrivesFixture fixture(
      "C: fixed /\n"
      "D: fixed %ROOT%/d\n"
      "E: removable %ROOT%/d/e\n");
  const LinuxPlatform& platform = fixture.platform();
  const std::string d = fixture.folder().Path("d");
  // Both ways round; native paths take the longest drive folder, and whole
  // names only: "ef" is not inside "e".
  const std::pair<std::string, std::string> kBothWays[] = {
      {"C:\\Music\\Pop\\", "/Music/Pop/"}, {"C:\\", "/"},       {"C:\\x\\y\\", "/x/y/"},
      {"D:\\a\\b.mp3", d + "/a/b.mp3"},    {"D:\\", d + "/"},   {"D:\\a\\", d + "/a/"},
      {"D:\\ef\\x.mp3", d + "/ef/x.mp3"},  {"E:\\", d + "/e/"}, {"E:\\x.mp3", d + "/e/x.mp3"}};
  for (const auto& [catalog, native] : kBothWays) {
    EXPECT_EQ(platform.ToNative(catalog), native);
    EXPECT_EQ(platform.ToCatalog(native), catalog);
  }
  EXPECT_EQ(platform.ToNative("C:\\Music\\Pop"), "/Music/Pop");
  EXPECT_EQ(platform.ToNative("C:"), "/");
  EXPECT_EQ(platform.ToNative("c:\\music"), "/music");
  EXPECT_EQ(platform.ToNative("d:\\a\\b.mp3"), d + "/a/b.mp3");
  EXPECT_EQ(platform.ToNative("D:"), d);
  // Nothing climbs out of its drive.
  EXPECT_EQ(platform.ToNative("D:\\a\\..\\..\\..\\b"), d + "/b");
  EXPECT_EQ(platform.ToNative("D:\\a\\\\.\\b\\"), d + "/a/b/");
  for (const char* nowhere : {"Q:\\a", "Music", ""}) {
    EXPECT_EQ(platform.ToNative(nowhere), std::nullopt) << nowhere;
  }
  EXPECT_EQ(platform.ToCatalog(d), "D:\\");
  EXPECT_EQ(platform.ToCatalog(d + "/e"), "E:\\");
  EXPECT_EQ(platform.ToCatalog(d + "//a/./b"), "D:\\a\\b");
  EXPECT_EQ(platform.ToCatalog("relative/path"), std::nullopt);
  // A name holding the catalog's separator cannot be written as a catalog path.
  EXPECT_EQ(platform.ToCatalog(d + "/a\\b.mp3"), std::nullopt);

  // No drive holds paths outside the map.
  testing::DrivesFixture only_d("D: fixed %ROOT%/d\n");
  EXPECT_EQ(only_d.platform().ToCatalog("/etc/passwd"), std::nullopt);
  EXPECT_EQ(only_d.platform().ToNative("C:\\"), std::nullopt);
  EXPECT_FALSE(only_d.platform().FolderExists("C:\\"));
  EXPECT_EQ(only_d.platform().ListFolder("C:\\Music\\", false).status().message(),
            "Cannot list \"C:\\Music\\\": no such drive");
}

// "LETTER TYPE FOLDER|LABEL, ", or "LETTER ignore FOLDER, " for a fenced-off folder.
std::string Described(const std::vector<DriveOverride>& drives) {
  std::string text;
  for (const DriveOverride& d : drives) {
    text += std::string(1, d.letter) + " " +
            (d.ignored ? "ignore " + d.native_folder
                       : std::to_string(d.type) + " " + d.native_folder + "|" + d.label) +
            ", ";
  }
  return text;
}

TEST(DrivesFileTest, ReadsEveryTypeAndLabelsWithSpacesAndSkipsMalformedLines) {
  EXPECT_EQ(
      Described(ParseDrivesFile("C: fixed /\r\n"
                                "e: removable /media/me/STICK/  Holiday Photos 2009  \r\n"
                                "F: remote /mnt/server\n"
                                "G: CDROM /mnt/cd MUSIC99\n"
                                "R:\tramdisk\t/dev/shm\n"
                                "X: ignore /srv/backup\n"
                                "H: fixed /mnt/with\\040space Label")),
      "C 3 /|, E 2 /media/me/STICK|Holiday Photos 2009, F 4 /mnt/server|, "
      "G 5 /mnt/cd|MUSIC99, H 3 /mnt/with space|Label, R 6 /dev/shm|, X ignore /srv/backup, ");

  const std::string junk(100000, '\xFF');
  EXPECT_EQ(Described(ParseDrivesFile("\xEF\xBB\xBF# comment\n\nD fixed /nocolon\n"
                                      "1: fixed /digit\nDD: fixed /twoletters\n"
                                      "E: floppy /unknown/type\nF: fixed relative/folder\n"
                                      "G: fixed\nH:\n:\n" +
                                      junk + "\n\r\n" + std::string(1, '\0') +
                                      "\nK: removable /ok\nK: fixed /later Later wins\n")),
            "K 3 /later|Later wins, ");
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
  std::string drives;
  for (const DriveInfo& d : platform.Drives()) drives += d.letter + (" " + d.native_folder) + ", ";
  EXPECT_EQ(drives,
            "C " + fixture.folder().Path("c") + ", D " + fixture.folder().Path("stick") + ", ");
  EXPECT_EQ(platform.VolumeLabel("d:\\") + "|" + platform.VolumeLabel("C:\\"), "My Stick|");
  // Whatever the machine mounts, only the file's drives exist; an ignored
  // folder belongs to no drive.
  EXPECT_EQ(platform.DriveType("X:\\"), kDriveNone);
  EXPECT_EQ(platform.DriveType("E:\\"), kDriveNone);
  EXPECT_EQ(platform.ToCatalog(fixture.folder().Path("c/skip/a.mp3")), std::nullopt);
  EXPECT_EQ(platform.ToCatalog(fixture.folder().Path("c/a.mp3")), "C:\\a.mp3");
}

TEST(LegacyNamesTest, NamesStoredInWindows1252OnDiskStayReachableByTheirUtf8Texts) {
  testing::DrivesFixture drives("C: fixed %ROOT%/c\n");
  const testing::TempFolder& folder = drives.folder();
  // A folder named in Windows-1252 holding one file named so and one in UTF-8.
  const std::string legacy_file = folder.WriteFile("c/Caf\xE9/Song \xE9t\xE9.mp3", "legacy");
  const std::string utf8_file = folder.WriteFile("c/Caf\xE9/na\xC3\xAFve.mp3", "utf8");
  const LinuxPlatform& platform = drives.platform();

  EXPECT_EQ(platform.ToNative("C:\\Caf\xC3\xA9\\Song \xC3\xA9t\xC3\xA9.mp3"), legacy_file);
  EXPECT_EQ(platform.ToNative("C:\\Caf\xC3\xA9\\na\xC3\xAFve.mp3"), utf8_file);
  EXPECT_EQ(platform.ToNative("C:\\Caf\xC3\xA9\\"), folder.Path("c/Caf\xE9/"));
  EXPECT_TRUE(platform.FileExists("C:\\Caf\xC3\xA9\\Song \xC3\xA9t\xC3\xA9.mp3"));
  EXPECT_EQ(platform.FileLength("C:\\Caf\xC3\xA9\\Song \xC3\xA9t\xC3\xA9.mp3").value(), 6);
  const Result<FolderListing> listing = platform.ListFolder("C:\\Caf\xC3\xA9\\", false);
  ASSERT_TRUE(listing.ok()) << listing.status().message();
  EXPECT_EQ(listing->entries.size(), 2u);

  // A name found in neither form is named as the catalog names it.
  EXPECT_EQ(platform.ToNative("C:\\Caf\xC3\xA9\\gone \xC3\xA9.mp3"),
            folder.Path("c/Caf\xE9/gone \xC3\xA9.mp3"));
  EXPECT_FALSE(platform.FileExists("C:\\Caf\xC3\xA9\\gone \xC3\xA9.mp3"));
  // A text that has no Windows-1252 form is only ever looked for as it is.
  EXPECT_EQ(ReachableNativePath(folder.Path("c"), folder.Path("c/\xE6\x97\xA5.mp3")),
            folder.Path("c/\xE6\x97\xA5.mp3"));
}

using testing::ScopedEnv;

TEST(ProgramFolderTest, WritableExecutableFolderElseDataHome) {
  testing::TempFolder folder;
  const std::string executable = folder.MakeFolder("portable");
  EXPECT_EQ(ProgramFolderFor(executable), executable);

  const ScopedEnv home("HOME", folder.Path("home"));
  {
    const ScopedEnv data("XDG_DATA_HOME", folder.Path("data/"));
    EXPECT_EQ(ProgramFolderFor("/usr/bin"), folder.Path("data/tallymere"));
    EXPECT_EQ(ProgramFolderFor(folder.Path("missing")), folder.Path("data/tallymere"));
  }
  // A relative XDG_DATA_HOME does not count; the default is made when missing.
  const ScopedEnv relative("XDG_DATA_HOME", "relative/data");
  const std::string expected = folder.Path("home/.local/share/tallymere");
  EXPECT_EQ(ProgramFolderFor("/usr/bin"), expected);
  EXPECT_TRUE(std::filesystem::is_directory(expected));
}

}  // namespace
}  // namespace tallymere
