// tallymere-cli's help and its answers to usage errors, run as the real
// program.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/cli_runner.h"
#include "mp3/mp3_fixtures.h"

namespace tallymere {
namespace {

using testing::CliRun;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using testing::RunCli;
using testing::TempFolder;

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

TEST(CliUsageTest, ToolAndEveryCommandShowTheirOwnHelpOnStdout) {
  TempFolder folder;
  const CliRun tool = RunCli({"--help"}, folder);
  EXPECT_EQ(tool.exit_code, 0);
  EXPECT_THAT(tool.err, IsEmpty());
  EXPECT_THAT(tool.out, HasSubstr("Usage: tallymere-cli [OPTIONS] COMMAND"));
  EXPECT_THAT(tool.out, HasSubstr("tallymere-cli COMMAND --help"));

  const std::vector<std::pair<std::string, std::vector<std::string>>> commands = {
      {"dump", {"--json", "FILE.mpd"}},
      {"info", {"FILE.mpd"}},
      {"drives", {"Data/drives.dat"}},
      {"mp3info", {"--json", "FILE..."}},
      {"scan",
       {"ROOT...", "-o,--output OUT.mpd", "--type EXT", "--mp3-info", "--no-mp3-info",
        "--label LABEL", "--program-folder DIR"}},
      {"find",
       {"FILE.mpd", "--text TEXT", "--type TYPE", "--drive D:", "--under KEY", "--json",
        "disk label of its own", "sorted by File name"}},
      {"dupes",
       {"FILE.mpd", "--exact", "--near", "--any", "last 22 characters", "last 12 characters",
        "--json", "100000"}},
      {"update",
       {"FILE.mpd", "-o,--output OUT.mpd", "--program-folder DIR", "fixed drive", "removable",
        "exit status"}},
      {"list",
       {"--single",
        "--by-folder",
        "--path",
        "--no-path",
        "--size",
        "--no-size",
        "--bitrate",
        "--no-bitrate",
        "--header",
        "--no-header",
        "--summary",
        "--no-summary",
        "--html",
        "--m3u",
        "--width W",
        "--find TEXT",
        "--type PATTERN",
        "--drive D:",
        "--program-folder DIR",
        "-o,--output OUT.txt",
        "FILE.mpd"}},
  };
  for (const auto& [name, mentions] : commands) {
    EXPECT_THAT(tool.out, HasSubstr("\n  " + name + " ")) << name;
    const CliRun help = RunCli({name, "--help"}, folder);
    EXPECT_EQ(help.exit_code, 0) << name;
    EXPECT_THAT(help.err, IsEmpty()) << name;
    EXPECT_THAT(help.out, HasSubstr("Usage: tallymere-cli " + name)) << help.out;
    for (const std::string& mention : mentions) EXPECT_THAT(help.out, HasSubstr(mention)) << name;
  }
  // Help is answered before the values given with it are checked.
  const CliRun refused_type = RunCli({"scan", "--type", "flac", "--help"}, folder);
  EXPECT_EQ(refused_type.exit_code, 0) << refused_type.err;
  EXPECT_THAT(refused_type.out, HasSubstr("--type EXT"));

  // A command's help is its own, not the tool's.
  const CliRun info = RunCli({"info", "-h"}, folder);
  EXPECT_EQ(info.exit_code, 0);
  EXPECT_THAT(info.out, Not(HasSubstr("--json")));
  EXPECT_THAT(info.out, Not(HasSubstr("mp3info")));
}

TEST(CliUsageTest, UsageErrorNamesTheProblemThenShowsTheUsageOnStderrAndExitsOne) {
  TempFolder folder;
  struct Case {
    std::vector<std::string> args;
    std::string prefix;   // how the first line of stderr begins
    std::string problem;  // what it names
    std::string usage;    // the usage that follows
  };
  const std::string tool_usage = "Usage: tallymere-cli [OPTIONS] COMMAND";
  const std::string scan_usage = "Usage: tallymere-cli scan [OPTIONS] ROOT...";
  const std::string find_usage = "Usage: tallymere-cli find [OPTIONS] FILE.mpd";
  const std::string dupes_usage = "Usage: tallymere-cli dupes [OPTIONS] FILE.mpd";
  const Case cases[] = {
      {{"dump", "--bogus"}, "tallymere-cli dump: ", "--bogus", "Usage: tallymere-cli dump"},
      // A wrong option is named before the file it makes look missing.
      {{"dump", "--jsn", "m.mpd"}, "tallymere-cli dump: ", "--jsn", "Usage: tallymere-cli dump"},
      {{"frobnicate", "m.mpd"}, "tallymere-cli: ", "frobnicate", tool_usage},
      {{}, "tallymere-cli: ", "command", tool_usage},
      {{"scan"}, "tallymere-cli scan: ", "ROOT", scan_usage},
      {{"mp3info"}, "tallymere-cli mp3info: ", "FILE", "Usage: tallymere-cli mp3info"},
      {{"info", "a.mpd", "b.mpd"}, "tallymere-cli info: ", "b.mpd", "Usage: tallymere-cli info"},
      {{"drives", "C:"}, "tallymere-cli drives: ", "C:", "Usage: tallymere-cli drives"},
      {{"find"}, "tallymere-cli find: ", "FILE.mpd", find_usage},
      {{"find", "--under", "C:\\Music\\", "--text", "x", "m.mpd"},
       "tallymere-cli find: ",
       "--under excludes --text",
       find_usage},
      {{"find", "--type", "*.mp3", "--under", "C:\\", "m.mpd"},
       "tallymere-cli find: ",
       "--type",
       find_usage},
      {{"find", "--under", "C:\\", "--drive", "c:", "m.mpd"},
       "tallymere-cli find: ",
       "--drive",
       find_usage},
      {{"find", "--drive", "D:\\", "m.mpd"}, "tallymere-cli find: ", "D:\\", find_usage},
      {{"find", "--drive", "", "m.mpd"}, "tallymere-cli find: ", "--drive", find_usage},
      {{"find", "--type", "mp3", "m.mpd"}, "tallymere-cli find: ", "mp3", find_usage},
      {{"find", "--under", "C:\\Music", "m.mpd"}, "tallymere-cli find: ", "C:\\Music", find_usage},
      {{"find", "--under", "Music\\", "m.mpd"}, "tallymere-cli find: ", "Music", find_usage},
      {{"dupes", "m.mpd"}, "tallymere-cli dupes: ", "--exact", dupes_usage},
      {{"dupes", "--near", "--any", "m.mpd"}, "tallymere-cli dupes: ", "2 were given", dupes_usage},
      {{"dupes", "--exact"}, "tallymere-cli dupes: ", "FILE.mpd", dupes_usage},
      {{"update"}, "tallymere-cli update: ", "FILE.mpd is required", "Usage: tallymere-cli update"},
  };
  for (const Case& c : cases) {
    const CliRun run = RunCli(c.args, folder);
    const std::string first = FirstLine(run.err);
    EXPECT_EQ(run.exit_code, 1) << run.err;
    EXPECT_THAT(run.out, IsEmpty()) << run.err;
    EXPECT_TRUE(first.starts_with(c.prefix)) << run.err;
    EXPECT_THAT(first, HasSubstr(c.problem)) << run.err;
    EXPECT_THAT(run.err.substr(first.size()), HasSubstr(c.usage)) << run.err;
  }
  // A bare scan is told about the folders first, and only then about -o.
  EXPECT_THAT(FirstLine(RunCli({"scan"}, folder).err), Not(HasSubstr("--output")));
}

// "--" ends the options, so a file whose name begins with "-" can be read.
TEST(CliUsageTest, DoubleDashLetsAFileNameBeginWithADash) {
  TempFolder folder;
  folder.WriteFile("-song.mp3", testing::Frame());
  const CliRun run = RunCli({"mp3info", "--", "-song.mp3"}, folder, folder.path());
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_THAT(run.out, HasSubstr("\n-song.mp3\t128\t"));
  EXPECT_EQ(RunCli({"mp3info", "-song.mp3"}, folder, folder.path()).exit_code, 1);
}

}  // namespace
}  // namespace tallymere
