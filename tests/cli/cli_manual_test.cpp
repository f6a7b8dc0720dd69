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

// Lines of `section` ("Commands:", "Options:") up to the next blank line.
std::vector<std::string> SectionLines(const std::string& help, const std::string& section) {
  std::vector<std::string> lines;
  std::size_t at = help.find("\n" + section + "\n");
  if (at == std::string::npos) return lines;
  at += section.size() + 2;
  while (at < help.size() && help[at] != '\n') {
    const std::size_t end = help.find('\n', at);
    lines.push_back(help.substr(at, end - at));
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return lines;
}

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
  const std::vector<std::string> commands = SectionLines(tool.out, "Commands:");
  ASSERT_GE(commands.size(), 5u) << tool.out;

  const std::regex option_name(R"((--?[a-z0-9][a-z0-9-]*))");
  for (const std::string& line : commands) {
    const std::string command = line.substr(2, line.find(' ', 2) - 2);
    // Each command heads an entry: ".B drives" or ".BI "dump " FILE.mpd".
    // (A "-" in it is "\-" there: a backslash, escaped for the pattern.)
    std::string pattern;
    for (char c : command) pattern += c == '-' ? std::string("\\\\-") : std::string(1, c);
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
