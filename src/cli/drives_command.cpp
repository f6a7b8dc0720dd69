// tallymere-cli drives: the drive map as this machine (or Data/drives.dat in
// the program folder) defines it, one tab-separated line per drive.

#include <cstdio>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "platform/drives_file.h"
#include "platform/linux_platform.h"

namespace tallymere::cli {
namespace {

constexpr const char* kDrivesUsage = "Usage: tallymere-cli drives\n";
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

}  // namespace

int RunDrives(const Arguments& args) {
  if (!args.empty()) {
    std::fprintf(stderr, "tallymere-cli drives: unexpected argument \"%s\"\n%s", args[0].c_str(),
                 kDrivesUsage);
    return 1;
  }
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

}  // namespace tallymere::cli
