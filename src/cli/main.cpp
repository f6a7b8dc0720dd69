// tallymere-cli: the catalog's data files, drives and MP3 files from a terminal.

#include <CLI/CLI.hpp>
#include <clocale>
#include <vector>

#include "cli/command.h"
#include "cli/command_line.h"
#include "platform/heap_reuse.h"

int main(int argc, char** argv) {
  using namespace tallymere::cli;
  tallymere::KeepFreedMemoryForReuse();
  std::setlocale(LC_ALL, "");
  CLI::App tool;
  SetUpTool(tool);
  const std::vector<Command> commands = {
      AddDumpCommand(tool),       AddInfoCommand(tool),       AddDrivesCommand(tool),
      AddMp3InfoCommand(tool),    AddScanCommand(tool),       AddUpdateCommand(tool),
      AddUpdateDiskCommand(tool), AddFindCommand(tool),       AddDupesCommand(tool),
      AddListCommand(tool),       AddFingerprintCommand(tool)};
  return RunCommandLine(tool, commands, argc, argv);
}
