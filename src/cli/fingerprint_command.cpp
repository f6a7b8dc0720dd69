// tallymere-cli fingerprint: the window's Compute Audio Fingerprints without
// the window, for a catalog made before scans took them.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <string>

#include "cli/command.h"
#include "cli/command_line.h"
#include "cli/data_file_hold.h"
#include "cli/output.h"
#include "cli/scan_arguments.h"
#include "cli/scan_report.h"
#include "platform/linux_platform.h"
#include "session/catalog_session.h"

namespace tallymere::cli {
namespace {

constexpr const char* kPrefix = "tallymere-cli fingerprint";

struct FingerprintOptions {
  std::string file;
  std::string output;
  std::string program_folder;
};

int RunFingerprint(const FingerprintOptions& options) {
  const LinuxPlatform platform(ProgramFolder(options.program_folder));
  const std::string& target = options.output.empty() ? options.file : options.output;
  // Held before the read: another run's change must not come in between.
  const std::unique_ptr<FileHold> hold = HoldDataFile(platform, target, kPrefix);
  CatalogSession session(platform);
  if (Status opened = session.Open(options.file); !opened) {
    std::fprintf(stderr, "%s: %s\n", kPrefix, opened.message().c_str());
    return 1;
  }
  const FingerprintSummary summary = session.ComputeFingerprints({});
  // Nothing taken: the data file stays as it is, byte for byte.
  if (summary.computed > 0 || !options.output.empty()) {
    if (Status saved = WriteBack(&session, target); !saved) {
      std::fprintf(stderr, "%s: %s\n", kPrefix, saved.message().c_str());
      return 1;
    }
    ReportOlderPrograms(kPrefix, session.catalog());
  }
  std::printf("%s\n", FingerprintSummaryText(summary).c_str());
  return FinishStandardOutput(kPrefix, "the data file \"" + target + "\" was written") ? 0 : 1;
}

}  // namespace

Command AddFingerprintCommand(CLI::App& tool) {
  CLI::App* command = AddCommand(tool, "fingerprint",
                                 "Compute the audio fingerprints a data file's audio files lack");
  auto options = std::make_shared<FingerprintOptions>();
  command->add_option("FILE.mpd", options->file, "The data file")
      ->required()
      ->type_name("")
      ->check(NotEmpty());
  AddReplacementOutputOption(command, &options->output);
  AddProgramFolderOption(command, &options->program_folder, "Data/drives.dat");
  command->footer(
      "Each MP3, MP2, FLAC and MP4 file of the catalog without a fingerprint is read where its\n"
      "drive maps it now, when a file of its name and size is there; the others are counted.\n"
      "The fingerprints let \"tallymere-cli dupes --audio\" find copies of a song whatever their\n"
      "names and tags. The data file is replaced in one step, and only when a fingerprint was\n"
      "taken; while another run or the desktop program is writing it, the command says so on\n"
      "stderr and waits.");
  return {command, [options] { return RunFingerprint(*options); }};
}

}  // namespace tallymere::cli
