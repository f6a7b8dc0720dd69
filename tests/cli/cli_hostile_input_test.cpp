// tallymere-cli against files that are not what they seem: pipes and devices
// where files belong, a data file cut short while it is printed, a standard
// output that takes nothing, and targets that are no files.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "catalog/data_file.h"
#include "cli/cli_runner.h"
#include "mp3/mp3_fixtures.h"
#include "support/test_platform.h"

namespace tallymere {
namespace {

using testing::CliRun;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using testing::Refused;
using testing::RunCli;
using testing::TempFolder;

// A program folder whose drives.dat maps C: to a folder of the test's, with
// one song in it, and a data file of many records.
class CliHostileInputTest : public ::testing::Test {
 protected:
  CliHostileInputTest() {
    m_folder.WriteFile("program/Data/drives.dat", "C: fixed " + m_folder.Path("c") + "\n");
    m_folder.WriteFile("c/Music/song.mp3", testing::Frame() + testing::Frame());
    CatalogTable table;
    CatalogRecord record;
    record.disk_label = "C:\\";
    record.path = "C:\\Music\\";
    record.modified = "then";
    for (int i = 1; i <= kRecords; ++i) {
      record.file_name = "song number " + std::to_string(i) + ".mp3";
      table.SetRecord(i, record);
    }
    table.SetRecord(kRecords + 1, MakeTrailer("mp3", 1, "built"));
    EXPECT_TRUE(SaveDataFile(testing::TestPlatform(), table, data_file()).ok());
  }

  std::string program() const { return m_folder.Path("program"); }
  std::string data_file() const { return m_folder.Path("catalog.mpd"); }
  std::string Pipe(const std::string& relative) const {
    const std::string path = m_folder.Path(relative);
    std::filesystem::remove(path);
    EXPECT_EQ(mkfifo(path.c_str(), 0644), 0);
    return path;
  }
  // The commands that read a program folder are given this one.
  CliRun Run(std::vector<std::string> args, const std::string& stdout_path = "") const {
    if (std::set<std::string>{"list", "update", "scan", "drives"}.contains(args[0])) {
      args.insert(args.begin() + 1, {"--program-folder", program()});
    }
    return RunCli(args, m_folder, "", stdout_path);
  }

  static constexpr int kRecords = 20000;
  TempFolder m_folder;
};

TEST_F(CliHostileInputTest, PipesAndDevicesAreRefusedAtOnceNamingThem) {
  const std::string pipe = Pipe("pipe.mpd");
  const std::string refusal = "Cannot read \"" + pipe + "\": it is a pipe, not a file";
  for (const std::vector<std::string>& args : {std::vector<std::string>{"info", pipe},
                                               {"dump", pipe},
                                               {"find", pipe},
                                               {"dupes", "--exact", pipe},
                                               {"list", "-o", m_folder.Path("out"), pipe},
                                               {"update", pipe}}) {
    EXPECT_TRUE(Refused(Run(args), refusal)) << args.front();
  }
  const CliRun zero = Run({"info", "/dev/zero"});
  EXPECT_EQ(zero.exit_code, 1);
  EXPECT_EQ(zero.err, "tallymere-cli: Cannot read \"/dev/zero\": it is a device, not a file\n");

  const CliRun mp3 = Run({"mp3info", pipe});
  EXPECT_EQ(mp3.exit_code, 1);
  EXPECT_EQ(mp3.err, "tallymere-cli: \"" + pipe + "\": It is a pipe, not a file\n");

  // The program folder's own files.
  for (const char* name : {"Data/drives.dat", "Data/lists.dat", "Header.txt"}) {
    const std::string path = Pipe("program/" + std::string(name));
    const CliRun run = Run({"list", "--header", "-o", m_folder.Path("out"), data_file()});
    EXPECT_THAT(run.err, HasSubstr("Cannot read \"" + path + "\": it is a pipe, not a file"))
        << name;
    std::filesystem::remove(path);
    m_folder.WriteFile("program/Data/drives.dat", "C: fixed " + m_folder.Path("c") + "\n");
  }

  // Text files larger than any real one are refused, not read.
  m_folder.WriteFile("program/Data/lists.dat", std::string((1 << 20) + 1, '1'));
  const CliRun huge = Run({"list", "-o", "-", data_file()});
  EXPECT_THAT(huge.err, HasSubstr("/Data/lists.dat\": it is larger than 1 MB, more than a file "
                                  "of its kind ever holds; using the default settings"));
}

TEST_F(CliHostileInputTest, ADataFileCutShortWhilePrintedGivesAWholeDumpNeverACrash) {
  // dump writes into a pipe nobody reads yet, so it stops in the middle of
  // its output; the file is emptied then, and only then is the pipe read.
  int pipe_ends[2];
  ASSERT_EQ(pipe(pipe_ends), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], 1);
  posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
  std::string program_path = TALLYMERE_CLI_PATH;
  std::string command = "dump";
  std::string file = data_file();
  char* argv[] = {program_path.data(), command.data(), file.data(), nullptr};
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_ends[1]);
  // The first bytes show that dump has read the file and begun to print.
  char buffer[65536];
  const ssize_t first = read(pipe_ends[0], buffer, 4096);
  ASSERT_GT(first, 0);
  ASSERT_EQ(truncate(file.c_str(), 0), 0);
  std::string out(buffer, static_cast<std::size_t>(first));
  for (ssize_t got; (got = read(pipe_ends[0], buffer, sizeof buffer)) > 0;) {
    out.append(buffer, static_cast<std::size_t>(got));
  }
  close(pipe_ends[0]);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status)) << "dump ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  // The header, every record and the trailer: the file as it was when read.
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), kRecords + 2);
  EXPECT_THAT(out, HasSubstr("\tsong number 20000.mp3\t"));
}

TEST_F(CliHostileInputTest, AStandardOutputThatTakesNothingFailsTheCommand) {
  const std::string cannot = "cannot write to standard output: No space left on device";
  for (const std::vector<std::string>& args : {std::vector<std::string>{"info", data_file()},
                                               {"dump", data_file()},
                                               {"dump", "--json", data_file()},
                                               {"find", data_file()},
                                               {"dupes", "--any", data_file()},
                                               {"drives"},
                                               {"mp3info", m_folder.Path("c/Music/song.mp3")},
                                               {"list", "-o", "-", data_file()}}) {
    const CliRun run = Run(args, "/dev/full");
    EXPECT_EQ(run.exit_code, 1) << args.front();
    EXPECT_THAT(run.err, HasSubstr(cannot)) << args.front();
  }
  // The data file is written before the summary line: it stays, and the
  // message says so.
  const std::string out = m_folder.Path("scanned.mpd");
  const CliRun scan = Run({"scan", "--type", "mp3", "-o", out, "C:\\"}, "/dev/full");
  EXPECT_EQ(scan.exit_code, 1);
  EXPECT_EQ(scan.err,
            "tallymere-cli scan: " + cannot + "; the data file \"" + out + "\" was written\n");
  EXPECT_TRUE(std::filesystem::exists(out));
}

TEST_F(CliHostileInputTest, TargetsThatAreNoFilesAreRefusedAndLeftAlone) {
  const std::string pipe = Pipe("target.mpd");
  const std::string folder = m_folder.MakeFolder("folder.mpd");
  for (const auto& [target, cause] : {std::pair{pipe, "it is a pipe, not a file"},
                                      std::pair{folder, "it is a folder, not a file"}}) {
    const CliRun run = Run({"scan", "--type", "mp3", "-o", target, "C:\\"});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.err, "tallymere-cli scan: Cannot write \"" + target + "\": " + cause + "\n");
    EXPECT_THAT(run.out, IsEmpty());
  }
  struct stat info;
  ASSERT_EQ(lstat(pipe.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  EXPECT_TRUE(Refused(Run({"update", "-o", pipe, data_file()}), "it is a pipe, not a file"));
}

TEST_F(CliHostileInputTest, TheCommandLineNeverWritesTheProgramFoldersFiles) {
  // A fresh program folder: no settings, no header or footer texts.
  const std::string list = m_folder.Path("list");
  const CliRun run = Run({"list", "--header", "--no-html", "-o", list, data_file()});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.err, "tallymere-cli list: \"" + program() +
                         "/Header.txt\" does not exist; the list goes without it.\n"
                         "tallymere-cli list: \"" +
                         program() + "/Footer.txt\" does not exist; the list goes without it.\n");
  EXPECT_THAT(testing::ReadFileBytes(list + ".txt"), HasSubstr("song number 1.mp3"));
  ASSERT_EQ(Run({"scan", "-o", m_folder.Path("s.mpd"), "C:\\"}).exit_code, 0);
  ASSERT_EQ(Run({"update", data_file()}).exit_code, 0);
  EXPECT_FALSE(std::filesystem::exists(program() + "/Data/lists.dat"));
  EXPECT_FALSE(std::filesystem::exists(program() + "/Header.txt"));
}

TEST_F(CliHostileInputTest, ANameThatIsNoUtf8IsListedForPlayingAsTheDiskHasIt) {
  // Shown as "bad\u00FF\u00FEname.mp3", but a player must find the bytes on disk.
  const std::string raw = "bad\xFF\xFEname.mp3";
  m_folder.WriteFile("c/Raw/" + raw, testing::Frame());
  const std::string scanned = m_folder.Path("raw.mpd");
  ASSERT_EQ(Run({"scan", "-o", scanned, "C:\\Raw"}).exit_code, 0);
  const CliRun dump = Run({"dump", scanned});
  EXPECT_THAT(dump.out, HasSubstr("\tbad\xC3\xBF\xC3\xBEname.mp3\t"));
  const CliRun listed = Run({"list", "--m3u", "-o", "-", scanned});
  EXPECT_EQ(listed.out, "\xEF\xBB\xBF" + m_folder.Path("c/Raw/") + raw + "\r\n");
}

}  // namespace
}  // namespace tallymere
