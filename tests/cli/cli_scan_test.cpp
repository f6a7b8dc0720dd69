// tallymere-cli scan, run as the built program over fixture trees whose drive
// map comes from the test's own Data/drives.dat.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "catalog/data_file.h"
#include "catalog/settings.h"
#include "cli/cli_runner.h"
#include "mp3/mp3_fixtures.h"
#include "platform/linux_platform.h"

namespace tallymere {
namespace {

using testing::CliRun;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using testing::Refused;
using testing::RunCli;
using ::testing::StartsWith;

// A program folder whose drives.dat maps C: to the folder c of the fixture.
class CliScanTest : public ::testing::Test {
 protected:
  CliScanTest() { m_folder.WriteFile("program/Data/drives.dat", "C: fixed " + C("") + "\n"); }

  std::string C(const std::string& relative) const { return m_folder.Path("c/" + relative); }
  std::string Write(const std::string& relative, const std::string& bytes = "") const {
    return m_folder.WriteFile("c/" + relative, bytes);
  }
  std::vector<std::string> Args(std::vector<std::string> rest) const {
    std::vector<std::string> args = {"scan", "--program-folder", m_folder.Path("program"), "-o",
                                     m_out};
    args.insert(args.end(), rest.begin(), rest.end());
    return args;
  }
  CliRun Scan(std::vector<std::string> rest, const std::string& cwd = "") const {
    return RunCli(Args(std::move(rest)), m_folder, cwd);
  }
  CatalogTable Catalog() const {
    CatalogTable table;
    const Status status = LoadDataFile(LinuxPlatform(m_folder.Path("program")), m_out, &table);
    EXPECT_TRUE(status.ok()) << status.message();
    return table;
  }
  // "Path+File name label" of every file record.
  std::vector<std::string> Records() const {
    std::vector<std::string> records;
    Catalog().Walk([&](int, const CatalogRecord& r) {
      records.push_back(r.path + r.file_name + " " + r.disk_label);
    });
    return records;
  }

  testing::TempFolder m_folder;
  const std::string m_out = m_folder.Path("out.mpd");
};

std::string TaggedMp3() {
  std::string bytes = testing::Frame();
  bytes.resize(4000000 - 128, '\0');
  return bytes + testing::Id3v1Block({.title = "Song", .artist = "Band"});
}

TEST_F(CliScanTest, WritesTheCatalogAndTakesTypeAndMp3FlagFromTheSettingsUnlessGiven) {
  Write("Music/song.mp3", TaggedMp3());
  Write("Music/notes.txt", "text");
  Settings settings;
  settings.txtType = "*.*";
  settings.chkBitRate = 0;
  ASSERT_TRUE(SaveSettings(LinuxPlatform(m_folder.Path("program")), settings).ok());

  const CliRun run = Scan({"--type", "*.mp3", "--mp3-info", C("Music")});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "Total: 1 files, 3.81 MB\n");
  EXPECT_THAT(run.err, IsEmpty());
  CatalogTable table = Catalog();
  const CatalogRecord song = table.Record(1);
  EXPECT_EQ(song.path + song.file_name + " " + song.disk_label + " " + song.bitrate + " " +
                song.time + " " + song.artist,
            "C:\\Music\\song.mp3 C:\\ 128 04:09 Band");
  ASSERT_NE(table.LastTrailer(), nullptr);
  EXPECT_EQ(table.LastTrailer()->file_name, "*.mp3");
  EXPECT_EQ(table.LastTrailer()->size, 1);
  EXPECT_EQ(table.StoredEnd(), 3);  // the trailer is the last record

  ASSERT_EQ(Scan({"C:\\Music"}).exit_code, 0);
  table = Catalog();
  EXPECT_EQ(table.FileCount(), 2);
  EXPECT_EQ(table.LastTrailer()->file_name, "*.*.*");
  EXPECT_EQ(table.LastTrailer()->size, 0);

  // The last --type given counts; the flag still comes from the settings.
  ASSERT_EQ(Scan({"--type", "txt", "--type", "MP3", "C:\\Music"}).exit_code, 0);
  table = Catalog();
  ASSERT_EQ(table.FileCount(), 1);
  EXPECT_EQ(table.Record(1).bitrate, "");
  EXPECT_EQ(table.LastTrailer()->file_name, "*.mp3");
  EXPECT_EQ(table.LastTrailer()->size, 0);
}

// Sparse files stand for a film and a disk image: a scan keeps their true
// sizes, which the Size field cannot hold, and every output shows them.
TEST_F(CliScanTest, KeepsTheTrueSizesOfFilesPastTwoGigabytes) {
  constexpr off_t k3GB = 3LL << 30;
  constexpr off_t k5TB = 5LL << 40;
  for (const auto& [name, size] : {std::pair{"Films/film.mkv", k3GB}, {"Films/disk.iso", k5TB}}) {
    ASSERT_EQ(truncate(Write(name).c_str(), size), 0) << name << ": " << std::strerror(errno);
  }
  const CliRun run = Scan({"--type", "*.*", "C:\\Films"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "Total: 2 files, 5,245,952.00 MB\n");
  // In the order the folder lists them.
  CatalogTable table = Catalog();
  EXPECT_EQ(table.Record(1).size + table.Record(2).size, k3GB + k5TB);
  EXPECT_EQ(std::min(table.Record(1).size, table.Record(2).size), k3GB);

  const CliRun dump = RunCli({"dump", m_out}, m_folder);
  EXPECT_THAT(dump.out, HasSubstr("\t" + std::to_string(k5TB) + "\t"));
  EXPECT_THAT(dump.out, HasSubstr("\t" + std::to_string(k3GB) + "\t"));
  const CliRun json = RunCli({"dump", "--json", m_out}, m_folder);
  EXPECT_THAT(json.out, HasSubstr("\"size\":" + std::to_string(k5TB)));
  // Only the film lies between 1 GB and 4 GB.
  const CliRun find =
      RunCli({"find", "--min-size", "1000MB", "--max-size", "4000MB", m_out}, m_folder);
  EXPECT_THAT(find.out, HasSubstr("film.mkv"));
  EXPECT_THAT(find.out, Not(HasSubstr("disk.iso")));
  const CliRun info = RunCli({"info", m_out}, m_folder);
  EXPECT_THAT(info.out, HasSubstr("5,245,952.00 MB"));
}

TEST_F(CliScanTest, LeavesOutByTheSettingsRulesAndTheOptionsAndExplainsOnRequest) {
  for (const char* file : {"Photos/img.jpg", "Photos/Thumbs.db", "Photos/@eaDir/img.jpg",
                           "Photos/draft.tmp", "code/node_modules/x/index.js"}) {
    Write(file, "x");
  }
  CliRun run = Scan({"--type", "*.*", "--exclude", "*.tmp", C("")});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(Records(), std::vector<std::string>{"C:\\Photos\\img.jpg C:\\"});
  EXPECT_EQ(run.err, "tallymere-cli scan: 2 folders and 2 files left out by the rules.\n");

  run = Scan({"--type", "*.*", "--no-default-excludes", "--exclude", "code/", "--explain-excludes",
              C("")});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(Records().size(), 4u);
  EXPECT_EQ(run.out, "left out: C:\\code  (rule code/)\nTotal: 4 files, 0.00 MB\n");

  // The rules of the settings, as the window's Options keep them.
  const std::string settings = testing::CliConfigHome() + "/tallymere/settings.conf";
  std::filesystem::create_directories(testing::CliConfigHome() + "/tallymere");
  { std::ofstream(settings) << "LeaveOutSet=1\nLeaveOut=*.jpg\n"; }
  run = Scan({"--type", "*.*", C("Photos")});
  std::filesystem::remove(settings);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(Records(),
            (std::vector<std::string>{"C:\\Photos\\Thumbs.db C:\\", "C:\\Photos\\draft.tmp C:\\"}));
}

// One song tagged and renamed four ways and another song: the four make six
// sets of the same audio, whether the scan took the fingerprints or they
// were filled in later.
TEST_F(CliScanTest, CopiesOfASongAreFoundByTheirAudioWhateverTheirNamesAndTags) {
  const std::string data = std::string(TALLYMERE_TEST_DATA) + "/audio/";
  for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
           {"song.mp3", "Music/01 - Song.mp3"},
           {"song_id3v1.mp3", "Stick/Song.mp3"},
           {"song_id3v2_cover.mp3", "Stick/Covers/With cover.mp3"},
           {"song_both_renamed.mp3", "Backup/Artist - Song.mp3"},
           {"other_song.mp3", "Music/02 - Other.mp3"}}) {
    Write(to, testing::ReadFileBytes(data + from));
  }
  const auto dupes = [&] { return RunCli({"dupes", "--audio", m_out}, m_folder); };
  ASSERT_EQ(Scan({"--type", "mp3", "--no-mp3-info", C("")}).exit_code, 0);
  EXPECT_EQ(dupes().err, "Found 0 set(s) of the same audio in 5 files.\n");

  const auto fingerprint = [&] {
    return RunCli({"fingerprint", "--program-folder", m_folder.Path("program"), m_out}, m_folder);
  };
  const CliRun filled = fingerprint();
  EXPECT_EQ(filled.exit_code, 0) << filled.err;
  EXPECT_EQ(filled.out, "5 audio fingerprints computed.\n");
  CliRun found = dupes();
  EXPECT_EQ(found.err, "Found 6 set(s) of the same audio in 5 files.\n");
  EXPECT_THAT(found.out, Not(HasSubstr("Other")));
  EXPECT_THAT(found.out, HasSubstr("Artist - Song.mp3"));
  // Nothing left to take: the data file stays as it is.
  const std::string before = testing::ReadFileBytes(m_out);
  EXPECT_EQ(fingerprint().out, "0 audio fingerprints computed.\n");
  EXPECT_EQ(testing::ReadFileBytes(m_out), before);

  ASSERT_EQ(Scan({"--type", "mp3", "--mp3-info", C("")}).exit_code, 0);
  EXPECT_EQ(dupes().err, "Found 6 set(s) of the same audio in 5 files.\n");
  // A file gone since: counted, not hashed.
  ASSERT_EQ(Scan({"--type", "mp3", "--no-mp3-info", C("")}).exit_code, 0);
  std::filesystem::remove(C("Stick/Song.mp3"));
  EXPECT_EQ(fingerprint().out,
            "4 audio fingerprints computed; 1 files could not be reached (their disk is not in "
            "the drive, or they changed).\n");
}

// A drive letter in lower case is catalogued in upper case, as the window does.
TEST_F(CliScanTest, TakesCatalogNativeAndRelativeRootsAlikeAndLabelsOnRequest) {
  Write("Music/a.mp3", "a");
  Write("Music/Sub/b.mp3", "bb");
  const std::vector<std::string> expected = {"C:\\Music\\a.mp3 C:\\", "C:\\Music\\Sub\\b.mp3 C:\\"};
  const CliRun catalog_run = Scan({"--no-mp3-info", "--type", "mp3", "c:\\Music"});
  EXPECT_EQ(catalog_run.out, "Total: 2 files, 0.00 MB\n");
  EXPECT_EQ(Records(), expected);
  ASSERT_EQ(Scan({"--no-mp3-info", "--type", "mp3", C("Music/")}).exit_code, 0);
  EXPECT_EQ(Records(), expected);
  ASSERT_EQ(Scan({"--no-mp3-info", "--type=mp3", "Music"}, C("")).exit_code, 0);
  EXPECT_EQ(Records(), expected);

  ASSERT_EQ(Scan({"--label", "My_Disk", "--no-mp3-info", "C:\\Music"}).exit_code, 0);
  EXPECT_EQ(Records(), (std::vector<std::string>{"C:\\Music\\a.mp3 My_Disk",
                                                 "C:\\Music\\Sub\\b.mp3 My_Disk"}));
}

TEST_F(CliScanTest, ReportsMp3FailuresAndUnreadableFoldersOnStderrAndGoesOn) {
  // A folder whose full path is longer than the system accepts cannot be
  // opened, even by root; nor can a file whose folder is just short enough to
  // be listed.
  Write("Music/Deep/top.mp3", "t");
  int fd = open(C("Music/Deep").c_str(), O_DIRECTORY | O_RDONLY);
  std::string native = C("Music/Deep");
  std::string catalog = "C:\\Music\\Deep\\";
  const std::string long_name(200, 'n');
  const std::string song = std::string(246, 's') + ".mp3";
  std::string song_catalog_path;
  for (int depth = 0; depth < 22 && fd >= 0; ++depth) {
    ASSERT_EQ(mkdirat(fd, long_name.c_str(), 0755), 0);
    const int inner = openat(fd, long_name.c_str(), O_DIRECTORY | O_RDONLY);
    close(fd);
    fd = inner;
    native += "/" + long_name;
    catalog += long_name + "\\";
    const bool listable = native.size() < PATH_MAX;
    const bool next_listable = native.size() + 1 + long_name.size() < PATH_MAX;
    if (listable && !next_listable && fd >= 0) {
      ASSERT_GE(native.size() + 1 + song.size(), static_cast<std::size_t>(PATH_MAX));
      const int file = openat(fd, song.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      ASSERT_GE(file, 0);
      close(file);
      song_catalog_path = catalog + song;
    }
  }
  ASSERT_GE(fd, 0);
  close(fd);
  ASSERT_FALSE(song_catalog_path.empty());
  const CliRun run = Scan({"--type", "mp3", "--mp3-info", "C:\\Music"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "Total: 2 files, 0.00 MB\n");
  EXPECT_THAT(run.err,
              HasSubstr("File name too long. while opening \"" + song_catalog_path + "\""));
  EXPECT_THAT(
      run.err,
      HasSubstr(
          "1 folder could not be read and was left out of the catalog:\n  C:\\Music\\Deep\\"));
  EXPECT_EQ(Catalog().FileCount(), 2);
}

TEST_F(CliScanTest, FailsWithExitOneAndNothingOnStdoutAndNoDataFile) {
  Write("Music/a.mp3", "a");
  const std::string music = C("Music");
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"scan", music}, "--output is required"},
      {{"scan", "-o", m_out}, "ROOT is required"},
      {{"scan", "-o", m_out, ""}, "ROOT: may not be empty"},
      {{"scan", "--frobnicate", "-o", m_out, music}, "not expected: --frobnicate"},
      {{"scan", "--type", "mp", "-o", m_out, music}, "an extension of three or four letters"},
      {{"scan", "--type", "fla.c", "-o", m_out, music}, "an extension of three or four letters"},
      {{"scan", "--type", "mpeg4", "-o", m_out, music}, "an extension of three or four letters"},
      {{"scan", "--mp3-info", "--no-mp3-info", "-o", m_out, music},
       "--mp3-info excludes --no-mp3-info"},
      {{"scan", "--label", "", "-o", m_out, music}, "--label: may not be empty"},
      {{"scan", "--label", "D:\\Music", "-o", m_out, music}, "looks like a drive root"},
      // Labels the window would refuse, and one a data file cannot hold.
      {Args({"--label", "My\\Disk", music}), "A disk label can not contain \"\\\"."},
      {Args({"--label", std::string(70000, 'L'), music}),
       "A disk label can hold at most 65535 bytes; this one would be cut short."},
      {{"scan", "-o"}, "--output: 1 required OUT.mpd missing"},
      {Args({C("Missing")}), "No such file or directory"},
      {Args({"/"}), "no drive holds the folder /"},
      {Args({"C:\\Missing"}), "C:\\Missing\\"},
      {Args({"Q:\\"}), "no such drive"},
      {{"scan", "--program-folder", m_folder.Path("program"), "-o",
        m_folder.Path("nowhere/out.mpd"), music},
       "nowhere/out.mpd"},
  };
  for (const auto& [args, error] : cases) EXPECT_TRUE(Refused(RunCli(args, m_folder), error));
  EXPECT_THAT(testing::ReadFileBytes(m_out), IsEmpty());  // never written
}

// What the tool writes on a terminal `columns` wide, and its exit status.
std::pair<std::string, int> RunOnTerminal(std::vector<std::string> args, unsigned short columns) {
  args.insert(args.begin(), TALLYMERE_CLI_PATH);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  int terminal = -1;
  winsize size{};
  size.ws_row = 24;
  size.ws_col = columns;
  const pid_t pid = forkpty(&terminal, nullptr, nullptr, &size);
  if (pid == 0) {
    execv(argv[0], argv.data());
    _exit(127);
  }
  if (pid < 0) return {"forkpty failed", -1};
  std::string shown;
  char buffer[4096];
  for (ssize_t n; (n = read(terminal, buffer, sizeof buffer)) > 0;) shown.append(buffer, n);
  close(terminal);
  int status = 0;
  waitpid(pid, &status, 0);
  return {shown, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST_F(CliScanTest, ShowsProgressOnlyOnATerminal) {
  Write("Music/Rock and Roll Classics/a.mp3", "a");
  const auto [shown, status] = RunOnTerminal(Args({"--no-mp3-info", "C:\\Music"}), 50);
  EXPECT_EQ(status, 0) << shown;
  // The folder being read, cut to the terminal's width, then erased.
  // (49 columns of 50: a full line would wrap on some terminals.)
  EXPECT_THAT(shown, StartsWith("\rScanning: 1 folders, 0 files  C:\\Music\\Rock and R\033[K"
                                "\r\033[KTotal: 1 files"));

  const auto [quiet, quiet_status] =
      RunOnTerminal(Args({"--no-mp3-info", "--quiet", "C:\\Music"}), 80);
  EXPECT_EQ(quiet_status, 0) << quiet;
  EXPECT_THAT(quiet, Not(HasSubstr("Scanning")));
  EXPECT_THAT(quiet, HasSubstr("Total: 1 files"));
}

}  // namespace
}  // namespace tallymere
