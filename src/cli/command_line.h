#pragma once
// The command line of tallymere-cli: the tool's App, the rules every command
// shares, and parsing with the tool's answers to help and to usage errors.

#include <string>
#include <vector>

#include "cli/command.h"

namespace CLI {
class App;
class Validator;
}  // namespace CLI

namespace tallymere::cli {

// The exit status of every usage error: an unknown command or option, a
// missing argument or a value that is refused.
inline constexpr int kUsageErrorStatus = 1;

// Names and describes the tool and requires exactly one command.
void SetUpTool(CLI::App& tool);

// A command of the tool, with the help footer and settings every command
// shares.
CLI::App* AddCommand(CLI::App& tool, const std::string& name, const std::string& description);

// Refuses an empty text, which is never a file, folder or label.
CLI::Validator NotEmpty();

// --program-folder DIR, naming the files of `what_lives_there` that are read
// from DIR instead of the program folder ("Data/lists.dat and Data/drives.dat").
void AddProgramFolderOption(CLI::App* command, std::string* folder,
                            const std::string& what_lives_there);

// The folder given with --program-folder, else the program's own.
std::string ProgramFolder(const std::string& given);

// Parses argv and runs the command it names, returning its exit status.
// --help prints the help of the tool or of the command on stdout and returns
// 0. A usage error prints one line naming the problem on stderr, then the help
// of the command it occurred in (of the tool when no command was recognised),
// and returns kUsageErrorStatus.
int RunCommandLine(CLI::App& tool, const std::vector<Command>& commands, int argc,
                   const char* const* argv);

}  // namespace tallymere::cli
