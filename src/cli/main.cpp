// tallymere-cli: the catalog's data files, drives and MP3 files from a terminal.

#include <clocale>
#include <cstdio>
#include <string>
#include <string_view>

#include "cli/commands.h"

namespace {

constexpr const char* kUsage =
    "Usage: tallymere-cli COMMAND [OPTIONS] ...\n"
    "\n"
    "Commands:\n"
    "  dump [--json] FILE.mpd     print every record of a data file, trailer included\n"
    "  info FILE.mpd              print what Data File Info shows for a data file\n"
    "  drives                     print the drive map: letter, type, native folder, label\n"
    "  mp3info [--json] FILE...   print bitrate, MPEG version, layer, sample rate and tag\n"
    "  scan [--type EXT] [--mp3-info | --no-mp3-info] [--label LABEL] [--program-folder DIR]\n"
    "       -o OUT.mpd ROOT..."
    "                             scan folders into a new data file\n"
    "  --help                     show this text\n";

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 1;
  }
  const std::string_view command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  const tallymere::cli::Arguments args(argv + 2, argv + argc);
  if (command == "dump") return tallymere::cli::RunDump(args);
  if (command == "info") return tallymere::cli::RunInfo(args);
  if (command == "drives") return tallymere::cli::RunDrives(args);
  if (command == "mp3info") return tallymere::cli::RunMp3Info(args);
  if (command == "scan") return tallymere::cli::RunScan(args);
  std::fprintf(stderr, "tallymere-cli: unknown command \"%s\"\n\n%s", argv[1], kUsage);
  return 1;
}
