// tallymere-cli update, run as the built program over a program folder whose
// drives.dat maps C: and D: as fixed drives and E: as a CD-ROM drive.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "catalog/data_file.h"
#include "cli/cli_runner.h"
#include "mp3/mp3_fixtures.h"
#include "support/test_platform.h"

namespace tallymere {
namespace {

using testing::CliRun;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using testing::Refused;
using testing::RunCli;

CatalogRecord Record(const std::string& path, const std::string& name, const std::string& label) {
  CatalogRecord record;
  record.path = path;
  record.file_name = name;
  record.disk_label = label;
  record.modified = "then";
  record.size = 1000;
  return record;
}

class CliUpdateTest : public ::testing::Test {
 protected:
  CliUpdateTest() {
    const std::string root = m_folder.path();
    WriteDrives("C: fixed " + root + "/c\nD: fixed " + root + "/d\nE: cdrom " + root + "/e\n");
    m_folder.WriteFile("c/Music/song.mp3", testing::Frame() + testing::Frame());
    m_folder.WriteFile("c/Music/notes.txt", "text");
    m_folder.WriteFile("d/Backup/old.mp3", testing::Frame());
    m_folder.MakeFolder("e");
  }

  void WriteDrives(const std::string& lines) const {
    m_folder.WriteFile("program/Data/drives.dat", lines);
  }

  // A catalog as an earlier update left it: a C: file that is gone now, a
  // CD catalogued under its label, a disk of a drive this machine lacks, and
  // the trailer; or, with more CD records, the CD alone.
  void WriteCatalog(const std::string& file_type, int mp3_info_flag, int cd_records = 2) const {
    const bool others = cd_records == 2;
    CatalogTable table;
    int index = 1;
    if (others) table.SetRecord(index++, Record("C:\\Old\\", "gone.mp3", "C:\\"));
    for (int i = 0; i < cd_records; ++i) {
      CatalogRecord cd = Record("E:\\Album\\", "track" + std::to_string(i) + ".mp3", "MyCD");
      cd.bitrate = "192";
      cd.time = "03:30";
      cd.artist = "Band";
      table.SetRecord(index++, cd);
    }
    if (others) table.SetRecord(index++, Record("Q:\\", "far.mp3", "Q:\\"));
    table.SetRecord(index, MakeTrailer(file_type, mp3_info_flag, "last year"));
    ASSERT_TRUE(SaveDataFile(testing::TestPlatform(), table, m_file).ok());
  }

  CliRun Update(std::vector<std::string> args = {}, const std::string& command = "update") const {
    args.insert(args.begin(), {command, "--program-folder", m_folder.Path("program")});
    args.push_back(m_file);
    return RunCli(args, m_folder);
  }

  // "Path+File name label bitrate" of every record, the trailer as
  // "trailer NAME FLAG".
  std::vector<std::string> Records(const std::string& path) const {
    CatalogTable table;
    const Status loaded = LoadDataFile(testing::TestPlatform(), path, &table);
    EXPECT_TRUE(loaded.ok()) << loaded.message();
    std::vector<std::string> records;
    for (int i = 1; i < table.StoredEnd(); ++i) {
      const CatalogRecord& r = table.Record(i);
      records.push_back(IsTrailer(r) ? "trailer " + r.file_name + " " + std::to_string(r.size)
                                     : r.path + r.file_name + " " + r.disk_label + " " + r.bitrate);
    }
    return records;
  }

  testing::TempFolder m_folder;
  const std::string m_file = m_folder.Path("catalog.mpd");
};

TEST_F(CliUpdateTest, RescansTheFixedDrivesKeepsTheCdAfterThemAndWritesToOutIfGiven) {
  WriteCatalog("mp3", 1);
  const std::string before = testing::ReadFileBytes(m_file);
  const std::string out = m_folder.Path("updated.mpd");
  ASSERT_EQ(Update({"-o", out}).exit_code, 0);
  EXPECT_EQ(testing::ReadFileBytes(m_file), before);

  const CliRun run = Update();
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_THAT(run.err, IsEmpty());
  EXPECT_EQ(run.out,
            "Total: 4 files, 0.00 MB (2 from the fixed drives, 2 kept of removable disks)\n");
  // Type and MP3 flag are the catalog's own; the stale C: record and the disk
  // of the missing drive are gone.
  EXPECT_THAT(Records(m_file),
              ElementsAre("C:\\Music\\song.mp3 C:\\ 128", "D:\\Backup\\old.mp3 D:\\ 128",
                          "E:\\Album\\track0.mp3 MyCD 192", "E:\\Album\\track1.mp3 MyCD 192",
                          "trailer *.mp3 1"));
  EXPECT_EQ(Records(out), Records(m_file));
}

TEST_F(CliUpdateTest, TakesTypeAndFlagFromTheLastTrailerAndReadsMp3InformationOnlyForMp3) {
  WriteCatalog("*.*", 1);
  ASSERT_EQ(Update().exit_code, 0);
  // All files, and no MP3 information whatever the flag said.
  EXPECT_THAT(Records(m_file),
              ::testing::IsSupersetOf(
                  {"C:\\Music\\notes.txt C:\\ ", "C:\\Music\\song.mp3 C:\\ ", "trailer *.*.* 0"}));
  EXPECT_EQ(Records(m_file).size(), 3u + 2u + 1u);

  WriteCatalog("mp3", 0);
  ASSERT_EQ(Update().exit_code, 0);
  EXPECT_EQ(Records(m_file).front(), "C:\\Music\\song.mp3 C:\\ ");
  EXPECT_EQ(Records(m_file).back(), "trailer *.mp3 0");
}

TEST_F(CliUpdateTest, ADriveMapWithoutAFixedDriveFailsNamingTheLinesItCouldNotUse) {
  WriteCatalog("mp3", 1);
  const std::string before = testing::ReadFileBytes(m_file);
  const std::string drives = m_folder.Path("program/Data/drives.dat");
  const std::string refusal =
      "tallymere-cli update: The catalog was not updated: the drive map has no fixed drive to "
      "scan, so the update would drop every file that is not on a disk.";
  for (const auto& [map, left_out] :
       {std::pair<std::string, std::string>{"", ""},
        {"X: ignore " + m_folder.Path("c") + "\nR: remote /srv\n", ""},
        {"# the fixed drive, misspelt\nC: fxed " + m_folder.Path("c") + "\nE: cdrom " +
             m_folder.Path("e") + "\nD fixed /nocolon\n",
         " \"" + drives + "\", line 2 is not understood: \"C: fxed " + m_folder.Path("c") +
             "\"; the line was left out. \"" + drives +
             "\", line 4 is not understood: \"D fixed /nocolon\"; the line was left out."}}) {
    WriteDrives(map);
    const CliRun run = Update();
    EXPECT_EQ(run.exit_code, 1) << map;
    EXPECT_THAT(run.out, IsEmpty());
    EXPECT_EQ(run.err, refusal + left_out + " Nothing was changed.\n");
    EXPECT_EQ(testing::ReadFileBytes(m_file), before);
  }
  // An unreadable drives.dat maps nothing rather than this machine's drives.
  ASSERT_TRUE(std::filesystem::remove(drives));
  ASSERT_TRUE(std::filesystem::create_directory(drives));
  EXPECT_TRUE(Refused(Update(), "Cannot read \"" + drives +
                                    "\": it is a folder, not a file; no drive is mapped until it "
                                    "is mended or removed."));
  EXPECT_EQ(testing::ReadFileBytes(m_file), before);

  // A line not understood beside a sound map is said, and the update goes on.
  std::filesystem::remove(drives);
  WriteDrives("C: fixed " + m_folder.Path("c") + "\nbad line\n");
  const CliRun noted = Update();
  EXPECT_EQ(noted.exit_code, 0);
  EXPECT_EQ(noted.err, "tallymere-cli update: \"" + drives +
                           "\", line 2 is not understood: \"bad line\"; the line was left out.\n");
}

TEST_F(CliUpdateTest, FailuresSayWhyAndLeaveTheCatalogByteIdentical) {
  // The CD's records fill the described table but for one file; the fixed
  // drives hold two: the catalog grows past it, and the tool says who
  // cannot open it then.
  WriteCatalog("mp3", 1, CatalogTable::kDescribedCapacity - 2);
  std::string before = testing::ReadFileBytes(m_file);
  const CliRun grown = Update({"-o", m_folder.Path("updated.mpd")});
  EXPECT_EQ(grown.exit_code, 0) << grown.err;
  EXPECT_EQ(grown.err,
            "tallymere-cli update: This catalog holds 32,766 files; programs limited to 32,765 "
            "files cannot open it.\n");
  EXPECT_EQ(testing::ReadFileBytes(m_file), before);

  // A damaged data file, and one that does not exist.
  WriteCatalog("mp3", 1);
  before = testing::ReadFileBytes(m_file);
  before.resize(before.size() - 3);
  m_folder.WriteFile("catalog.mpd", before);
  EXPECT_TRUE(Refused(Update(), std::string(kNotADataFile) + " \"" + m_file + "\""));
  EXPECT_EQ(testing::ReadFileBytes(m_file), before);
  EXPECT_TRUE(Refused(
      RunCli({"update", "--program-folder", m_folder.Path("program"), m_folder.Path("none.mpd")},
             m_folder),
      "none.mpd"));

  // A fixed drive that cannot be listed.
  WriteCatalog("mp3", 1);
  before = testing::ReadFileBytes(m_file);
  WriteDrives("C: fixed " + m_folder.Path("c") + "\nD: fixed " + m_folder.Path("missing") +
              "\nE: cdrom " + m_folder.Path("e") + "\n");
  EXPECT_TRUE(Refused(Update(),
                      "tallymere-cli update: The catalog was not updated: Cannot list "
                      "\"D:\\\": No such file or directory"));
  EXPECT_EQ(testing::ReadFileBytes(m_file), before);
}

// What update-disk says of a track of the catalog's CD read again: each
// field from the catalog's value to the file's; the file's date, which is
// the time the test wrote it, shown as NOW.
const std::string kTrackChanges =
    "(size 1,000 to 417; date then to NOW; artist \"Band\" to \"\"; bitrate 192 to 128; time "
    "03:30 to 00:00)";

std::string WithNewDatesAsNow(const std::string& out) {
  static const std::regex kNewDate("date then to [^;]*;");
  return std::regex_replace(out, kNewDate, "date then to NOW;");
}

// update-disk: the CD of the catalog read again, in place, or only shown.
class CliUpdateDiskTest : public CliUpdateTest {
 protected:
  CliRun UpdateDisk(std::vector<std::string> args) const {
    args.push_back("--quiet");
    return Update(args, "update-disk");
  }
};

TEST_F(CliUpdateDiskTest, PrintsTheChangesAndReplacesTheDiskWhereItStands) {
  WriteCatalog("mp3", 1);
  m_folder.WriteFile("e/Album/track0.mp3", testing::Frame());
  m_folder.WriteFile("e/Album/new.mp3", testing::Frame());
  const std::string before = testing::ReadFileBytes(m_file);
  const std::string lines =
      "+ E:\\Album\\new.mp3\n"
      "~ E:\\Album\\track0.mp3 " +
      kTrackChanges +
      "\n"
      "- E:\\Album\\track1.mp3\n";

  const CliRun dry = UpdateDisk({"--label", "mycd", "--dry-run"});
  EXPECT_EQ(dry.exit_code, 0) << dry.err;
  EXPECT_EQ(WithNewDatesAsNow(dry.out), lines);
  EXPECT_EQ(dry.err,
            "Disk MyCD (read from E:\\Album\\): 1 file added, 1 removed, 1 changed (size, date or "
            "tag). Nothing was written (--dry-run).\n");
  EXPECT_EQ(testing::ReadFileBytes(m_file), before);

  const CliRun run = UpdateDisk({"--label", "MyCD"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(WithNewDatesAsNow(run.out), lines);
  EXPECT_THAT(run.err, HasSubstr("Written to \"" + m_file + "\".\n"));
  EXPECT_THAT(Records(m_file), ElementsAre("C:\\Old\\gone.mp3 C:\\ ", "E:\\Album\\new.mp3 MyCD 128",
                                           "E:\\Album\\track0.mp3 MyCD 128", "Q:\\far.mp3 Q:\\ ",
                                           "trailer *.mp3 1"));
}

// The disk was added from its folder Album: the files beside that folder
// are no files of the disk, and a stick mounted where no drive points is
// read from there.
TEST_F(CliUpdateDiskTest, ReadsTheDiskFromTheFolderItWasAddedFromAndFromAnyMountedFolder) {
  WriteCatalog("mp3", 1);
  m_folder.WriteFile("e/Album/track0.mp3", testing::Frame());
  m_folder.WriteFile("e/Album/track1.mp3", testing::Frame());
  m_folder.WriteFile("e/Other/beside.mp3", testing::Frame());
  CliRun run = UpdateDisk({"--label", "MyCD", "--dry-run"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_THAT(run.out, Not(HasSubstr("beside.mp3")));
  EXPECT_THAT(run.err, HasSubstr("Disk MyCD (read from E:\\Album\\): 0 files added, 0 removed, 2 "
                                 "changed"));

  // The stick at a folder of no drive: its files go under the disk's E:.
  m_folder.WriteFile("sticks/b/Album/track0.mp3", testing::Frame());
  m_folder.WriteFile("sticks/b/Album/new.mp3", testing::Frame());
  run = UpdateDisk({"--label", "MyCD", "--dry-run", "--root", m_folder.Path("sticks/b")});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(WithNewDatesAsNow(run.out), "+ E:\\Album\\new.mp3\n~ E:\\Album\\track0.mp3 " +
                                            kTrackChanges +
                                            "\n"
                                            "- E:\\Album\\track1.mp3\n");
  // Only a folder that cannot be listed is refused.
  run = UpdateDisk({"--label", "MyCD", "--dry-run", "--root", m_folder.Path("sticks/none")});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_THAT(run.err, HasSubstr("sticks/none"));
}

// A file the rules leave out is not looked for: not added, not removed.
TEST_F(CliUpdateDiskTest, LeavesOutWhatTheRulesSayAndReportsNoRemovalForIt) {
  WriteCatalog("mp3", 1);
  m_folder.WriteFile("e/Album/track0.mp3", testing::Frame());
  m_folder.WriteFile("e/Album/new.mp3", testing::Frame());
  const CliRun run =
      UpdateDisk({"--label", "MyCD", "--dry-run", "--exclude", "track1.mp3", "--exclude", "NEW.*"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(WithNewDatesAsNow(run.out), "~ E:\\Album\\track0.mp3 " + kTrackChanges + "\n");
  EXPECT_THAT(run.err, HasSubstr("tallymere-cli update-disk: 0 folders and 1 files left out by "
                                 "the rules.\n"));
  const CliRun bad = UpdateDisk({"--label", "MyCD", "--dry-run", "--exclude", "[oops"});
  EXPECT_EQ(bad.exit_code, 0) << bad.err;
  EXPECT_THAT(bad.err, HasSubstr("tallymere-cli update-disk: Leave-out rule 13 \"[oops\" has a "
                                 "\"[\" that does not close and is not used; the other rules are "
                                 "used.\n"));
}

// A disk catalogued under a German locale and read again under an American
// one, with a name of Latin-1 bytes: nothing changed, and the next reading
// says so again.
TEST_F(CliUpdateDiskTest, ReadAgainUnderAnotherLocaleWithLatin1NamesItShowsNoChange) {
  m_folder.WriteFile("e/Album/caf\xE9.mp3", testing::Frame());
  m_folder.WriteFile("e/Album/plain.mp3", testing::Frame());
  const auto under = [&](const char* locale, std::vector<std::string> args) {
    setenv("LC_ALL", locale, 1);
    if (args[0] != "find")
      args.insert(args.begin() + 1, {"--program-folder", m_folder.Path("program")});
    const CliRun run = RunCli(args, m_folder);
    unsetenv("LC_ALL");
    return run;
  };
  CliRun run = under("de_DE.UTF-8", {"scan", "E:\\Album", "--label", "MyCD", "--no-mp3-info", "-o",
                                     m_file, "--quiet"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  ASSERT_THAT(testing::ReadFileBytes(m_file), HasSubstr("caf\xE9.mp3"));
  for (int reading = 0; reading < 2; ++reading) {
    run = under("en_US.UTF-8", {"update-disk", "--label", "MyCD", "--quiet", m_file});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_THAT(run.err, HasSubstr("0 files added, 0 removed, 0 changed"));
  }
  // find's date bounds read the German dates too.
  run = under("en_US.UTF-8", {"find", m_file, "--after", "2000-01-01"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_THAT(run.out, HasSubstr("plain.mp3"));
}

TEST_F(CliUpdateDiskTest, ReadsFromRootAndFailsWithoutChangingAnything) {
  WriteCatalog("mp3", 1);
  const std::string before = testing::ReadFileBytes(m_file);
  // No such disk; the disk's drive empty; a folder without a song.
  CliRun run = UpdateDisk({"--label", "Other"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err,
            "tallymere-cli update-disk: \"" + m_file + "\" holds no disk labelled \"Other\"\n");
  std::filesystem::remove(m_folder.Path("e"));
  EXPECT_TRUE(Refused(UpdateDisk({"--label", "MyCD"}),
                      "the drive E:\\ of the disk \"MyCD\" cannot be read (is the disk in it?); "
                      "give --root DIR where it is mounted"));
  m_folder.WriteFile("d/mnt/readme.txt", "text");
  EXPECT_TRUE(Refused(UpdateDisk({"--label", "MyCD", "--root", m_folder.Path("d/mnt")}),
                      "No file of the type \"mp3\" was found in D:\\mnt\\"));
  EXPECT_EQ(testing::ReadFileBytes(m_file), before);

  // The disk mounted at a folder of D: is catalogued as in E:.
  m_folder.WriteFile("d/mnt/Album/track1.mp3", testing::Frame());
  const std::string out = m_folder.Path("out.mpd");
  run = UpdateDisk({"--label", "MyCD", "--root", m_folder.Path("d/mnt"), "-o", out});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(WithNewDatesAsNow(run.out),
            "- E:\\Album\\track0.mp3\n~ E:\\Album\\track1.mp3 " + kTrackChanges + "\n");
  EXPECT_THAT(Records(out), ElementsAre("C:\\Old\\gone.mp3 C:\\ ", "E:\\Album\\track1.mp3 MyCD 128",
                                        "Q:\\far.mp3 Q:\\ ", "trailer *.mp3 1"));
  EXPECT_EQ(testing::ReadFileBytes(m_file), before);
}

}  // namespace
}  // namespace tallymere
