// tallymere-cli update: the window's Update without the window, for a timer
// that keeps a catalog current overnight. The fixed drives are scanned afresh,
// the records of removable disks and CDs kept, and the data file replaced in
// one step; when the update fails, the data file stays exactly as it was.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <string>

#include "cli/code_page_option.h"
#include "cli/command.h"
#include "cli/command_line.h"
#include "cli/data_file_hold.h"
#include "cli/output.h"
#include "cli/scan_arguments.h"
#include "cli/scan_report.h"
#include "common/format.h"
#include "platform/linux_platform.h"
#include "session/catalog_session.h"

namespace tallymere::cli {
namespace {

constexpr const char* kPrefix = "tallymere-cli update";

// An empty text is an option that was not given: parsing refuses an empty
// value for each of them.
struct UpdateOptions {
  std::string file;
  std::string output;
  std::string id3v1_encoding;
  LeaveOutOptions leave_out;
  std::string program_folder;
  bool quiet = false;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", kPrefix, message.c_str());
  return 1;
}

int RunUpdate(const UpdateOptions& options) {
  const std::string program_folder = ProgramFolder(options.program_folder);
  const LinuxPlatform platform(program_folder);
  const std::string& target = options.output.empty() ? options.file : options.output;
  // Held before the read: another run's update must not come in between.
  const std::unique_ptr<FileHold> hold = HoldDataFile(platform, target, kPrefix);
  CatalogSession session(platform);
  if (Status opened = OpenToRescan(&session, options.file, options.id3v1_encoding, kPrefix);
      !opened) {
    return Fail(opened.message());
  }
  UseLeaveOutRules(&session, options.leave_out, kPrefix);
  Result<UpdateSummary> updated = [&] {
    ConsoleScanObserver observer(kPrefix, options.quiet);
    return session.Update(&observer);
  }();
  if (!updated) return Fail(updated.status().message());

  if (Status saved = WriteBack(&session, target); !saved) return Fail(saved.message());
  ReportOlderPrograms(kPrefix, session.catalog());
  // A failed update names the drive map's problems in its message.
  ReportDriveMapProblems(platform, kPrefix);
  ReportSkipped(kPrefix, updated->report);
  std::printf("Total: %d files, %s MB (%d from the fixed drives, %d kept of removable disks)\n",
              updated->scanned + updated->kept,
              FormatMegabytes(static_cast<double>(session.catalog().TotalSize())).c_str(),
              updated->scanned, updated->kept);
  return FinishStandardOutput(kPrefix, "the data file \"" + target + "\" was written") ? 0 : 1;
}

}  // namespace

Command AddUpdateCommand(CLI::App& tool) {
  CLI::App* command =
      AddCommand(tool, "update", "Rescan the fixed drives of a data file, keeping disks and CDs");
  auto options = std::make_shared<UpdateOptions>();
  command->add_option("FILE.mpd", options->file, "The data file to update")
      ->required()
      ->type_name("")
      ->check(NotEmpty());
  AddReplacementOutputOption(command, &options->output);
  AddId3v1EncodingOption(command, &options->id3v1_encoding);
  AddLeaveOutOptions(command, &options->leave_out, /*with_explain=*/false);
  AddQuietOption(command, &options->quiet);
  AddProgramFolderOption(command, &options->program_folder, "Data/drives.dat and Data/lists.dat");
  command->footer(
      "Every fixed drive of the drive map (\"tallymere-cli drives\") is scanned from its root;\n"
      "the records of removable and CD-ROM drives, inserted or not, are kept after them, and\n"
      "those of other drives dropped. The file type and the MP3-information flag are the data\n"
      "file's own, from its last trailer (else those of Data/lists.dat); information is read\n"
      "only when the type is music (mp3, audio, one audio format). The data file is replaced in\n"
      "one step, only once the update has succeeded; while another run or the desktop program\n"
      "is writing it, the update says so on stderr and waits for it. A drive map without a\n"
      "fixed drive, a fixed drive that cannot be listed, or more files than a catalog holds\n"
      "fail the update: the message goes to stderr, the exit status is 1, and no file changes.\n"
      "Folders that could not be read and MP3 files that could not be opened are named on\n"
      "stderr; the update goes on without them.");
  return {command, [options] { return RunUpdate(*options); }};
}

}  // namespace tallymere::cli
