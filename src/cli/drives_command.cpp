// tallymere-cli drives: the drive map as this machine (or Data/drives.dat in
// the program folder) defines it, one tab-separated line per drive. A drive
// whose disk is out (an empty CD drive, a stick seen before and unplugged
// now) has no folder and is shown as not ready.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "cli/command.h"
#include "cli/command_line.h"
#include "cli/output.h"
#include "platform/drives_file.h"
#include "platform/linux_platform.h"

namespace tallymere::cli {
namespace {

constexpr std::string_view kHeader = "Drive\tType\tTypeName\tFolder\tLabel\tState\n";

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

int RunDrives(const std::string& program_folder) {
  const LinuxPlatform platform(ProgramFolder(program_folder));
  ReportDriveMapProblems(platform, "tallymere-cli drives");
  std::string text(kHeader);
  for (const DriveInfo& drive : platform.Drives()) {
    text += drive.letter;
    text += ":\t" + std::to_string(drive.type) + "\t" + std::string(DriveTypeName(drive.type)) +
            "\t" + Field(drive.native_folder) + "\t" + Field(drive.label) + "\t" +
            (drive.native_folder.empty() ? "not ready" : "ready") + "\n";
  }
  WriteStandardOutput(text);
  return FinishStandardOutput("tallymere-cli drives") ? 0 : 1;
}

}  // namespace

Command AddDrivesCommand(CLI::App& tool) {
  CLI::App* command =
      AddCommand(tool, "drives", "Print the drive map: letter, type, native folder, label, state");
  auto program_folder = std::make_shared<std::string>();
  AddProgramFolderOption(command, program_folder.get(),
                         "Data/drives.dat and Data/drive_letters.dat");
  command->footer(
      "The map comes from Data/drives.dat in the program folder when that file exists, else\n"
      "from the mounts of this machine. State is \"not ready\" for a drive without a disk in it:\n"
      "an empty CD drive, or a removable disk seen before that is not mounted now.");
  return {command, [program_folder] { return RunDrives(*program_folder); }};
}

}  // namespace tallymere::cli
