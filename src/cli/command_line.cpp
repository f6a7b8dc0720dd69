#include "cli/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cassert>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux_platform.h"

namespace tallymere::cli {
namespace {

constexpr const char* kToolName = "tallymere-cli";
constexpr const char* kToolDescription =
    "The catalog's data files, drives and MP3 files from a terminal.";
constexpr const char* kToolFooter =
    "Run \"tallymere-cli COMMAND --help\" for the options and arguments of a command.";
// Wide enough for "-o,--output OUT.mpd REQUIRED" to have its description
// beside it rather than on the next line.
constexpr std::size_t kHelpColumnWidth = 32;
constexpr const char* kHelpDescription = "Print this help message and exit";

// CLI11 looks at its help flag only once it has checked the values given, so
// "scan --type flac --help" would be refused rather than explained. A help
// flag that answers from its own callback comes first, as the callbacks run
// in the order the options were added, before any value is checked.
void AnswerHelpFirst(CLI::App& app) {
  app.set_help_flag();
  app.add_flag_callback(
      "-h,--help", [] { throw CLI::CallForHelp(); }, kHelpDescription);
}

// The arguments that no option or argument took, in the order given. "--"
// marks the end of the options; it is kept among them but is no argument.
std::vector<std::string> UnexpectedArguments(const CLI::App& tool) {
  std::vector<std::string> arguments;
  if (tool.remaining_size(true) == 0) return arguments;
  for (std::string& argument : tool.remaining(true)) {
    if (argument != "--") arguments.push_back(std::move(argument));
  }
  return arguments;
}

// What went wrong, in one line. Parsing checks for missing arguments before it
// looks at the ones it could not place, but a word it could not place is the
// likelier mistake ("dump --jsn FILE.mpd" lacks no file), so it is named
// first. A word where a command belongs is no argument of the tool but an
// unknown command.
std::string Problem(const CLI::App& tool, const CLI::ParseError& error) {
  const std::vector<std::string> unexpected = UnexpectedArguments(tool);
  const bool no_command = tool.get_subcommands().empty();
  if (!unexpected.empty()) {
    if (no_command && !unexpected.front().starts_with('-')) {
      return "Unknown command: " + unexpected.front();
    }
    return CLI::ExtrasError(unexpected).what();
  }
  if (no_command && dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
    return "A command is required";
  }
  return error.what();
}

}  // namespace

void SetUpTool(CLI::App& tool) {
  tool.name(kToolName);
  tool.description(kToolDescription);
  tool.footer(kToolFooter);
  tool.require_subcommand(1);
  AnswerHelpFirst(tool);
  // As the desktop program says it.
  tool.set_version_flag("--version", std::string("Tallymere ") + TALLYMERE_VERSION,
                        "Print the version and exit");
  // The heading of the command list; every command inherits it as its group.
  tool.group("Commands");
  const std::shared_ptr<CLI::FormatterBase> formatter = tool.get_formatter();
  formatter->column_width(kHelpColumnWidth);
  formatter->label("SUBCOMMAND", "COMMAND");
  formatter->label("Positionals", "Arguments");
}

CLI::App* AddCommand(CLI::App& tool, const std::string& name, const std::string& description) {
  CLI::App* command = tool.add_subcommand(name, description);
  AnswerHelpFirst(*command);
  // The tool's footer sends the reader to this very help.
  command->footer("");
  // Given twice, an option takes its last value, as it always did here.
  command->option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  return command;
}

CLI::Validator NotEmpty() {
  return CLI::Validator(
      [](const std::string& text) { return text.empty() ? "may not be empty" : std::string(); },
      "");
}

void AddProgramFolderOption(CLI::App* command, std::string* folder,
                            const std::string& what_lives_there) {
  command
      ->add_option("--program-folder", *folder,
                   "Where " + what_lives_there + " live\n(default: the program folder)")
      ->type_name("DIR")
      ->check(NotEmpty());
}

std::string ProgramFolder(const std::string& given) {
  return given.empty() ? LinuxPlatform::FindProgramFolder() : given;
}

int RunCommandLine(CLI::App& tool, const std::vector<Command>& commands, int argc,
                   const char* const* argv) {
  try {
    tool.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    // A request for help arrives as an error whose exit code is success.
    if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
      return tool.exit(error);
    }
    std::string prefix = tool.get_name();
    if (!tool.get_subcommands().empty()) prefix += " " + tool.get_subcommands().front()->get_name();
    // help() is the help of the command that was recognised, if any.
    const std::string text = prefix + ": " + Problem(tool, error) + "\n\n" + tool.help();
    std::fputs(text.c_str(), stderr);
    return kUsageErrorStatus;
  }
  const auto chosen = std::find_if(commands.begin(), commands.end(),
                                   [](const Command& command) { return command.app->parsed(); });
  assert(chosen != commands.end() && "every subcommand of the tool is one of the commands");
  return chosen != commands.end() ? chosen->run() : kUsageErrorStatus;
}

}  // namespace tallymere::cli
