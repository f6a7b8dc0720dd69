// The manual page of tallymere-cli names every command and every option the
// tool's own help lists, so the page cannot fall behind the tool.

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>

#include "cli/cli_runner.h"

namespace tallymere {
namespace {

using testing::CliRun;
using testing::ReadFileBytes;
using testing::RunCli;
using testing::TempFolder;

// "--program-folder" as a manual page writes it: "\-\-program\-folder".
std::string InRoff(const std::string& text) {
  std::string roff;
  for (char c : text) roff += c == '-' ? std::string("\\-") : std::string(1, c);
  return roff;
}

TEST(CliManualTest, TheManualPageNamesEveryCommandAndOption) {
  const std::string manual = ReadFileBytes(TALLYMERE_CLI_MANUAL);
  ASSERT_FALSE(manual.empty()) << TALLYMERE_CLI_MANUAL;
  TempFolder folder;
  const CliRun tool = RunCli({"--help"}, folder);
  // The commands are the lines of the tool's help that begin with a name.
  std::vector<std::string> commands;
  const std::regex command_line("\n  ([a-z][a-z0-9-]*) ");
  for (auto it = std::sregex_iterator(tool.out.begin(), tool.out.end(), command_line);
       it != std::sregex_iterator(); ++it) {
    commands.push_back((*it)[1]);
  }
  ASSERT_GE(commands.size(), 5u) << tool.out;

  const std::regex option_name(R"((--?[a-z0-9][a-z0-9-]*))");
  for (const std::string& command : commands) {
    // Each command heads an entry: ".B drives" or ".BI "dump " FILE.mpd",
    // its "\-" a backslash escaped for the pattern.
    const std::string pattern = std::regex_replace(InRoff(command), std::regex(R"(\\)"), R"(\\)");
    const std::regex entry("\n\\.BI? \"?" + pattern + "[ \"\n]");
    EXPECT_TRUE(std::regex_search(manual, entry)) << command << " has no entry in the manual page";
    const CliRun help = RunCli({command, "--help"}, folder);
    std::set<std::string> options;
    std::istringstream lines(help.out);
    for (std::string option_line; std::getline(lines, option_line);) {
      // Options, in groups too, come first on their lines:
      // "  -o,--output OUT.mpd REQUIRED  The data file to write".
      const std::size_t start = option_line.find_first_not_of(' ');
      if (start == std::string::npos || start == 0 || option_line[start] != '-') continue;
      const std::string names = option_line.substr(start, option_line.find("  ", start) - start);
      for (auto it = std::sregex_iterator(names.begin(), names.end(), option_name);
           it != std::sregex_iterator(); ++it) {
        options.insert(it->str());
      }
    }
    ASSERT_FALSE(options.empty()) << command;
    for (const std::string& option : options) {
      if (option == "-h" || option == "--help") continue;  // in OPTIONS, for every command
      EXPECT_NE(manual.find(InRoff(option)), std::string::npos)
          << command << " " << option << " is missing from the manual page";
    }
  }
}

}  // namespace
}  // namespace tallymere
