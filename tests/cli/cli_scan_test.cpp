// tallymere-cli scan, run as the built program over fixture trees whose drive
// map comes from the test's own Data/drives.dat.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "catalog/data_file.h"
#include "catalog/settings.h"
#include "mp3/mp3_fixtures.h"
#include "support/temp_folder.h"

extern char** environ;

namespace tallymere {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using testing::ReadFileBytes;
using testing::TempFolder;

struct CliRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

std::vector<char*> Argv(std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  return argv;
}

// Runs tallymere-cli with stdout and stderr caught in files, in folder cwd.
CliRun RunCli(std::vector<std::string> args, const TempFolder& scratch,
              const std::string& cwd = "") {
  args.insert(args.begin(), TALLYMERE_CLI_PATH);
  const std::string out_path = scratch.Path("stdout.txt");
  const std::string err_path = scratch.Path("stderr.txt");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
  std::vector<char*> argv = Argv(args);
  pid_t pid = 0;
  CliRun run;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << argv[0];
    return run;
  }
  int status = 0;
  waitpid(pid, &status, 0);
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadFileBytes(out_path);
  run.err = ReadFileBytes(err_path);
  return run;
}

// Runs tallymere-cli on a pseudo-terminal; returns all it wrote there.
std::string RunCliOnTerminal(std::vector<std::string> args) {
  args.insert(args.begin(), TALLYMERE_CLI_PATH);
  std::vector<char*> argv = Argv(args);
  int master = -1;
  const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
  if (pid == 0) {
    execv(argv[0], argv.data());
    _exit(127);
  }
  if (pid < 0) {
    ADD_FAILURE() << "forkpty failed";
    return "";
  }
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = read(master, buffer, sizeof buffer)) > 0;) text.append(buffer, n);
  close(master);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << text;
  return text;
}

// A program folder whose drives.dat maps C: to the folder c of the fixture.
class CliFixture {
 public:
  CliFixture() {
    m_folder.WriteFile("program/Data/drives.dat", "C: fixed " + m_folder.Path("c") + "\n");
    m_folder.MakeFolder("c");
  }
  const TempFolder& folder() const { return m_folder; }
  std::string program() const { return m_folder.Path("program"); }
  std::string out() const { return m_folder.Path("out.mpd"); }
  std::string Write(const std::string& relative, const std::string& bytes = "") const {
    return m_folder.WriteFile("c/" + relative, bytes);
  }
  // The arguments every run shares, then the rest.
  CliRun Scan(std::vector<std::string> rest) const {
    std::vector<std::string> args = {"scan", "--program-folder", program(), "-o", out()};
    args.insert(args.end(), rest.begin(), rest.end());
    return RunCli(args, m_folder);
  }
  CatalogTable Catalog() const {
    CatalogTable table;
    const Status status = LoadDataFile(out(), &table);
    EXPECT_TRUE(status.ok()) << status.message();
    return table;
  }

 private:
  TempFolder m_folder;
};

std::string TaggedMp3() {
  testing::Id3v1Fields tag;
  tag.artist = "Band";
  tag.title = "Song";
  std::string bytes = testing::Frame();
  bytes.resize(4000000 - 128, '\0');
  return bytes + testing::Id3v1Block(tag);
}

TEST(CliScanTest, WritesTheCatalogWithItsTrailerAndPrintsTheTotal) {
  CliFixture fixture;
  fixture.Write("Music/song.mp3", TaggedMp3());
  fixture.Write("Music/notes.txt", "text");
  const CliRun run =
      fixture.Scan({"--type", "mp3", "--mp3-info", fixture.folder().Path("c/Music")});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "Total: 1 files, 3.81 MB\n");
  EXPECT_THAT(run.err, IsEmpty());

  const CatalogTable table = fixture.Catalog();
  const CatalogRecord& song = table.Record(1);
  EXPECT_EQ(song.path, "C:\\Music\\");
  EXPECT_EQ(song.file_name, "song.mp3");
  EXPECT_EQ(song.disk_label, "C:\\");
  EXPECT_EQ(song.bitrate, "128");
  EXPECT_EQ(song.time, "04:09");
  EXPECT_EQ(song.artist, "Band");
  ASSERT_NE(table.FindTrailer(), nullptr);
  EXPECT_EQ(table.FindTrailer()->file_name, "*.mp3");
  EXPECT_EQ(table.FindTrailer()->size, 1);
  EXPECT_EQ(table.WrittenEnd(), 3);  // the trailer is the last record
}

// A drive letter in lower case is catalogued in upper case, as the window does.
TEST(CliScanTest, TakesCatalogNativeAndRelativeRootsAlike) {
  CliFixture fixture;
  fixture.Write("Music/a.mp3", "a");
  fixture.Write("Music/Sub/b.mp3", "bb");
  const CliRun catalog_run = fixture.Scan({"--no-mp3-info", "--type", "mp3", "c:\\Music"});
  ASSERT_EQ(catalog_run.exit_code, 0) << catalog_run.err;
  const CatalogTable by_catalog = fixture.Catalog();

  const CliRun native_run =
      fixture.Scan({"--no-mp3-info", "--type", "mp3", fixture.folder().Path("c/Music/")});
  ASSERT_EQ(native_run.exit_code, 0) << native_run.err;
  const CatalogTable by_native = fixture.Catalog();

  const CliRun relative_run = RunCli({"scan", "--program-folder", fixture.program(), "-o",
                                      fixture.out(), "--no-mp3-info", "--type=mp3", "Music"},
                                     fixture.folder(), fixture.folder().Path("c"));
  ASSERT_EQ(relative_run.exit_code, 0) << relative_run.err;
  const CatalogTable by_relative = fixture.Catalog();

  for (const CatalogTable* table : {&by_catalog, &by_native, &by_relative}) {
    ASSERT_EQ(table->FileCount(), 2);
    EXPECT_EQ(table->Record(1).path + table->Record(1).file_name, "C:\\Music\\a.mp3");
    EXPECT_EQ(table->Record(2).path + table->Record(2).file_name, "C:\\Music\\Sub\\b.mp3");
  }
  EXPECT_EQ(catalog_run.out, "Total: 2 files, 0.00 MB\n");
}

TEST(CliScanTest, TakesTypeAndMp3FlagFromTheSettingsUnlessGiven) {
  CliFixture fixture;
  fixture.Write("Music/song.mp3", TaggedMp3());
  fixture.Write("Music/notes.txt", "text");
  Settings settings;
  settings.txtType = "*.*";
  settings.chkBitRate = 0;
  ASSERT_TRUE(SaveSettings(fixture.program(), settings).ok());

  ASSERT_EQ(fixture.Scan({"C:\\Music"}).exit_code, 0);
  CatalogTable table = fixture.Catalog();
  EXPECT_EQ(table.FileCount(), 2);
  EXPECT_EQ(table.FindTrailer()->file_name, "*.*.*");
  EXPECT_EQ(table.FindTrailer()->size, 0);

  // --type overrides the file type; the flag still comes from the settings.
  ASSERT_EQ(fixture.Scan({"--type", "MP3", "C:\\Music"}).exit_code, 0);
  table = fixture.Catalog();
  ASSERT_EQ(table.FileCount(), 1);
  EXPECT_EQ(table.Record(1).bitrate, "");
  EXPECT_EQ(table.FindTrailer()->file_name, "*.mp3");
  EXPECT_EQ(table.FindTrailer()->size, 0);

  ASSERT_EQ(fixture.Scan({"--type", "*.mp3", "--mp3-info", "C:\\Music"}).exit_code, 0);
  table = fixture.Catalog();
  EXPECT_EQ(table.Record(1).bitrate, "128");
  EXPECT_EQ(table.FindTrailer()->size, 1);
}

TEST(CliScanTest, LabelPutsTheLabelOnEveryRecord) {
  CliFixture fixture;
  fixture.Write("Disk/a.mp3", "a");
  fixture.Write("Disk/Sub/b.mp3", "b");
  const CliRun run = fixture.Scan({"--label", "My_Disk", "--no-mp3-info", "C:\\Disk"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const CatalogTable table = fixture.Catalog();
  ASSERT_EQ(table.FileCount(), 2);
  table.Walk([](int, const CatalogRecord& r) { EXPECT_EQ(r.disk_label, "My_Disk"); });
}

TEST(CliScanTest, ReportsMp3FailuresOnStderrAndGoesOn) {
  CliFixture fixture;
  fixture.Write("Music/x.mp3", testing::XingFrame(0));
  const CliRun run = fixture.Scan({"--type", "mp3", "--mp3-info", "C:\\Music"});
  ASSERT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, "Total: 1 files, 0.00 MB\n");
  EXPECT_THAT(run.err, HasSubstr("Division by zero. while opening \"C:\\Music\\x.mp3\""));
  EXPECT_EQ(fixture.Catalog().FileCount(), 1);
}

TEST(CliScanTest, ListsFoldersItCouldNotReadAndKeepsTheRest) {
  CliFixture fixture;
  fixture.Write("Deep/top.mp3", "t");
  // A folder whose full path is longer than the system accepts cannot be
  // opened, even by root.
  int fd = open(fixture.folder().Path("c/Deep").c_str(), O_DIRECTORY | O_RDONLY);
  const std::string long_name(200, 'n');
  for (int depth = 0; depth < 22 && fd >= 0; ++depth) {
    ASSERT_EQ(mkdirat(fd, long_name.c_str(), 0755), 0);
    const int inner = openat(fd, long_name.c_str(), O_DIRECTORY | O_RDONLY);
    close(fd);
    fd = inner;
  }
  ASSERT_GE(fd, 0);
  close(fd);
  const CliRun run = fixture.Scan({"--type", "mp3", "--no-mp3-info", "C:\\Deep"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "Total: 1 files, 0.00 MB\n");
  EXPECT_THAT(run.err, HasSubstr("1 folder could not be read and was left out:\n  C:\\Deep\\"));
}

TEST(CliScanTest, FailsWithExitOneAndNothingOnStdout) {
  CliFixture fixture;
  fixture.Write("Music/a.mp3", "a");
  const std::string music = fixture.folder().Path("c/Music");
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"scan", music}, "no data file given"},
      {{"scan", "-o", fixture.out()}, "no folder to scan given"},
      {{"scan", "--frobnicate", "-o", fixture.out(), music}, "unknown option \"--frobnicate\""},
      {{"scan", "--type", "flac", "-o", fixture.out(), music}, "three-letter extension"},
      {{"scan", "--mp3-info", "--no-mp3-info", "-o", fixture.out(), music}, "exclude each other"},
      {{"scan", "--label", "", "-o", fixture.out(), music}, "--label needs a label"},
      {{"scan", "-o"}, "-o needs a value"},
  };
  for (const auto& [args, error] : cases) {
    const CliRun run = RunCli(args, fixture.folder());
    EXPECT_EQ(run.exit_code, 1) << error;
    EXPECT_THAT(run.out, IsEmpty()) << error;
    EXPECT_THAT(run.err, HasSubstr(error));
  }

  const std::vector<std::pair<std::vector<std::string>, std::string>> failing_scans = {
      {{fixture.folder().Path("c/Missing")}, "No such file or directory"},
      {{"/"}, "no drive holds the folder /"},
      {{"C:\\Missing"}, "C:\\Missing\\"},
      {{"Q:\\"}, "no such drive"},
  };
  for (const auto& [roots, error] : failing_scans) {
    const CliRun run = fixture.Scan(roots);
    EXPECT_EQ(run.exit_code, 1) << error;
    EXPECT_THAT(run.out, IsEmpty()) << error;
    EXPECT_THAT(run.err, HasSubstr(error));
  }
  EXPECT_THAT(ReadFileBytes(fixture.out()), IsEmpty());  // never written

  const CliRun unsaved = RunCli({"scan", "--program-folder", fixture.program(), "-o",
                                 fixture.folder().Path("nowhere/out.mpd"), music},
                                fixture.folder());
  EXPECT_EQ(unsaved.exit_code, 1);
  EXPECT_THAT(unsaved.out, IsEmpty());
  EXPECT_THAT(unsaved.err, HasSubstr("nowhere/out.mpd"));
}

TEST(CliScanTest, ShowsProgressOnlyOnATerminal) {
  CliFixture fixture;
  fixture.Write("Music/a.mp3", "a");
  const std::string on_terminal =
      RunCliOnTerminal({"scan", "--program-folder", fixture.program(), "-o", fixture.out(),
                        "--no-mp3-info", "C:\\Music"});
  EXPECT_THAT(on_terminal, HasSubstr("\rScanning: "));
  EXPECT_THAT(on_terminal, HasSubstr("Total: 1 files"));

  const CliRun to_file = fixture.Scan({"--no-mp3-info", "C:\\Music"});
  EXPECT_EQ(to_file.exit_code, 0);
  EXPECT_THAT(to_file.err, Not(HasSubstr("Scanning")));
}

}  // namespace
}  // namespace tallymere
