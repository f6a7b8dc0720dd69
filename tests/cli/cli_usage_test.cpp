// tallymere-cli's help and its answers to usage errors, run as the real
// program.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

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

  // Each command and what its help mentions, "|" between the mentions.
  const std::vector<std::pair<std::string, std::string>> commands = {
      {"dump", "--json|FILE.mpd"},
      {"info", "FILE.mpd"},
      {"drives", "Data/drives.dat"},
      {"mp3info", "--json|FILE..."},
      {"scan",
       "ROOT...|-o,--output OUT.mpd|--type EXT|--mp3-info|--no-mp3-info|--label LABEL|"
       "--program-folder DIR"},
      {"find",
       "FILE.mpd|--text TEXT|--type TYPE|--drive D:|--under KEY|--json|in the window's tree|"
       "sorted by File name"},
      {"dupes",
       "FILE.mpd|--exact|--near|--any|last 22 characters|last 12 characters|--json|100000"},
      {"update",
       "FILE.mpd|-o,--output OUT.mpd|--program-folder DIR|fixed drive|removable|exit status"},
      {"list",
       "--single|--by-folder|--path|--no-path|--size|--no-size|--bitrate|--no-bitrate|--header|"
       "--no-header|--summary|--no-summary|--html|--m3u|--width W|--find TEXT|--type PATTERN|"
       "--drive D:|--program-folder DIR|-o,--output OUT.txt|FILE.mpd"},
  };
  for (const auto& [name, mentions] : commands) {
    EXPECT_THAT(tool.out, HasSubstr("\n  " + name + " ")) << name;
    const CliRun help = RunCli({name, "--help"}, folder);
    EXPECT_EQ(help.exit_code, 0) << name;
    EXPECT_THAT(help.err, IsEmpty()) << name;
    EXPECT_THAT(help.out, HasSubstr("Usage: tallymere-cli " + name)) << help.out;
    std::istringstream each(mentions);
    for (std::string mention; std::getline(each, mention, '|');) {
      EXPECT_THAT(help.out, HasSubstr(mention)) << name;
    }
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
  // The problem the first line of stderr names after "tallymere-cli COMMAND: ".
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"dump", "--bogus"}, "--bogus"},
      // A wrong option is named before the file it makes look missing.
      {{"dump", "--jsn", "m.mpd"}, "--jsn"},
      {{"frobnicate", "m.mpd"}, "frobnicate"},
      {{}, "command"},
      {{"scan"}, "ROOT"},
      {{"mp3info"}, "FILE"},
      {{"info", "a.mpd", "b.mpd"}, "b.mpd"},
      {{"drives", "C:"}, "C:"},
      {{"find"}, "FILE.mpd"},
      {{"find", "--under", "C:\\Music\\", "--text", "x", "m.mpd"}, "--under excludes --text"},
      {{"find", "--type", "*.mp3", "--under", "C:\\", "m.mpd"}, "--type"},
      {{"find", "--under", "C:\\", "--drive", "c:", "m.mpd"}, "--drive"},
      {{"find", "--drive", "D:\\", "m.mpd"}, "D:\\"},
      {{"find", "--drive", "", "m.mpd"}, "--drive"},
      {{"find", "--type", "mp3", "m.mpd"}, "mp3"},
      {{"find", "--under", "C:\\Music", "m.mpd"}, "C:\\Music"},
      {{"find", "--under", "Music\\", "m.mpd"}, "Music"},
      {{"dupes", "m.mpd"}, "--exact"},
      {{"dupes", "--near", "--any", "m.mpd"}, "2 were given"},
      {{"dupes", "--exact"}, "FILE.mpd"},
      {{"update"}, "FILE.mpd is required"},
  };
  for (const auto& [args, problem] : cases) {
    // An unknown command or none is the tool's own error, with the tool's usage.
    const std::string command = args.empty() || args[0] == "frobnicate" ? "" : args[0];
    const std::string operands = command == "scan"      ? " ROOT..."
                                 : command == "drives"  ? ""
                                 : command == "mp3info" ? " FILE..."
                                                        : " FILE.mpd";
    const std::string usage = command.empty()
                                  ? "Usage: tallymere-cli [OPTIONS] COMMAND"
                                  : "Usage: tallymere-cli " + command + " [OPTIONS]" + operands;
    const CliRun run = RunCli(args, folder);
    const std::string first = FirstLine(run.err);
    EXPECT_EQ(run.exit_code, 1) << run.err;
    EXPECT_THAT(run.out, IsEmpty()) << run.err;
    EXPECT_TRUE(
        first.starts_with(command.empty() ? "tallymere-cli: " : "tallymere-cli " + command + ": "))
        << run.err;
    EXPECT_THAT(first, HasSubstr(problem)) << run.err;
    EXPECT_THAT(run.err.substr(first.size()), HasSubstr(usage)) << run.err;
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
