#pragma once
// The commands of tallymere-cli. Each command file registers its subcommand,
// with the options and positional arguments it takes, on the tool's App and
// returns a Command whose run does the work with what parsing filled in. run is
// called only once the whole command line has parsed; it returns the exit
// status, writes errors to stderr and leaves stdout empty when it fails.

#include <functional>

namespace CLI {
class App;
}

namespace tallymere::cli {

struct Command {
  CLI::App* app = nullptr;  // the subcommand, owned by the tool's App
  std::function<int()> run;
};

Command AddDumpCommand(CLI::App& tool);
Command AddInfoCommand(CLI::App& tool);
Command AddDrivesCommand(CLI::App& tool);
Command AddListCommand(CLI::App& tool);
Command AddMp3InfoCommand(CLI::App& tool);
Command AddUpdateCommand(CLI::App& tool);
Command AddFingerprintCommand(CLI::App& tool);
Command AddUpdateDiskCommand(CLI::App& tool);
Command AddScanCommand(CLI::App& tool);
Command AddFindCommand(CLI::App& tool);
Command AddDupesCommand(CLI::App& tool);

}  // namespace tallymere::cli
