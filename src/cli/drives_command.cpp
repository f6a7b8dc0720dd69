// tallymere-cli drives: the drive map as this machine (or Data/drives.dat in
// the program folder) defines it, one tab-separated line per drive.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>
#include <string_view>

#include "cli/command.h"
#include "cli/command_line.h"
#include "platform/drives_file.h"
#include "platform/linux_platform.h"

namespace tallymere::cli {
namespace {

constexpr std::string_view kHeader = "Drive\tType\tTypeName\tFolder\tLabel\n";

// A folder or label holding a tab or line break must not split the line.
std::string Field(std::string_view text) {
  std::string field;
  field.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\t':
        field += "\\t";
        break;
      case '\n':
        field += "\\n";
        break;
      case '\r':
        field += "\\r";
        break;
      default:
        field += c;
    }
  }
  return field;
}

int RunDrives() {
  const LinuxPlatform platform(LinuxPlatform::FindProgramFolder());
  std::string text(kHeader);
  for (const DriveInfo& drive : platform.Drives()) {
    text += drive.letter;
    text += ":\t" + std::to_string(drive.type) + "\t" + std::string(DriveTypeName(drive.type)) +
            "\t" + Field(drive.native_folder) + "\t" + Field(drive.label) + "\n";
  }
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
    std::perror("tallymere-cli drives: cannot write the drive map");
    return 1;
  }
  return 0;
}

}  // namespace

Command AddDrivesCommand(CLI::App& tool) {
  CLI::App* command =
      AddCommand(tool, "drives", "Print the drive map: letter, type, native folder, label");
  command->footer(
      "The map comes from Data/drives.dat in the program folder when that file exists, else\n"
      "from the mounts of this machine.");
  return {command, [] { return RunDrives(); }};
}

}  // namespace tallymere::cli
