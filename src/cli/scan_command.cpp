// tallymere-cli scan: scans folders into a new data file, as a new scan in the
// window would, trailer included.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog_record.h"
#include "catalog/data_file.h"
#include "catalog/file_type.h"
#include "catalog/settings.h"
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

constexpr const char* kPrefix = "tallymere-cli scan";

// An empty text is an option that was not given: parsing refuses an empty
// value for each of them.
struct ScanOptions {
  std::vector<std::string> roots;
  std::string output;
  std::string file_type;  // normalised by NormalFileType
  bool mp3_info = false;
  bool no_mp3_info = false;
  std::string label;
  std::string id3v1_encoding;
  LeaveOutOptions leave_out;
  std::string program_folder;
  bool quiet = false;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", kPrefix, message.c_str());
  return 1;
}

// Replaces the value of --type by its normal form, or refuses it.
CLI::Validator FileTypeCheck() {
  return CLI::Validator(
      [](std::string& text) {
        const std::string normal = NormalFileType(text);
        if (normal.empty()) {
          return "takes \"*.*\", \"audio\" or an extension of three or four letters such as mp3 "
                 "or flac, not \"" +
                 text + "\"";
        }
        text = normal;
        return std::string();
      },
      "");
}

// A drive root in the Disk label field marks a drive, not a labelled disk;
// the rest is refused as the window refuses a label.
CLI::Validator LabelCheck() {
  return CLI::Validator(
      [](const std::string& text) {
        if (IsDriveRootLabel(text)) return "\"" + text + "\" looks like a drive root";
        return DiskLabelProblem(text).value_or(std::string());
      },
      "");
}

// The file type and MP3-information flag of the options, the settings file
// filling in what they leave open.
ScanSettings SettingsFor(const ScanOptions& options, const Platform& platform) {
  ScanSettings settings;
  const bool flag_given = options.mp3_info || options.no_mp3_info;
  if (options.file_type.empty() || !flag_given) settings = StoredScanSettings(platform, kPrefix);
  if (!options.file_type.empty()) settings.file_type = options.file_type;
  if (flag_given) settings.mp3_info_flag = options.mp3_info ? 1 : 0;
  settings.id3v1_code_page = Id3v1CodePage(options.id3v1_encoding, platform, kPrefix);
  return settings;
}

int RunScan(const ScanOptions& options) {
  const std::string program_folder = ProgramFolder(options.program_folder);
  const LinuxPlatform platform(program_folder);
  ReportDriveMapProblems(platform, kPrefix);
  CatalogSession session(platform);
  session.UseScanSettings(SettingsFor(options, platform));
  UseLeaveOutRules(&session, options.leave_out, kPrefix);

  std::vector<std::string> roots;
  for (const std::string& root : options.roots) {
    Result<std::string> catalog_root = CatalogRoot(platform, root);
    if (!catalog_root) return Fail(catalog_root.status().message());
    roots.push_back(*catalog_root);
  }

  Result<ScanReport> scanned = [&] {
    ConsoleScanObserver observer(kPrefix, options.quiet);
    return session.Scan(roots, &observer, options.label);
  }();
  if (!scanned) return Fail(scanned.status().message());
  {
    // The scan never reads OUT, so it waits only for a run that is changing
    // it, and replaces it once that run has written.
    const std::unique_ptr<FileHold> hold = HoldDataFile(platform, options.output, kPrefix);
    if (Status saved = session.WriteTo(options.output); !saved) return Fail(saved.message());
  }
  ReportOlderPrograms(kPrefix, session.catalog());

  ReportSkipped(kPrefix, *scanned);
  const CatalogTable& catalog = session.catalog();
  std::printf("Total: %d files, %s MB\n", catalog.FileCount(),
              FormatMegabytes(static_cast<double>(catalog.TotalSize())).c_str());
  return FinishStandardOutput(kPrefix, "the data file \"" + options.output + "\" was written") ? 0
                                                                                               : 1;
}

}  // namespace

Command AddScanCommand(CLI::App& tool) {
  CLI::App* command = AddCommand(tool, "scan", "Scan folders into a new data file");
  auto options = std::make_shared<ScanOptions>();
  // ROOT comes first so that a bare "scan" is told about the folders before
  // the data file.
  command
      ->add_option("ROOT", options->roots,
                   "A catalog path (C:\\Music) or a folder of this machine (/home/me/Music)")
      ->required()
      ->type_name("")
      ->check(NotEmpty());
  command->add_option("-o,--output", options->output, "The data file to write")
      ->required()
      ->type_name("OUT.mpd")
      ->check(NotEmpty());
  command
      ->add_option("--type", options->file_type,
                   "\"*.*\" for all files, \"audio\" for every audio format, or an\n"
                   "extension of three or four letters such as mp3 or flac\n"
                   "(default: the file type of the settings file)")
      ->type_name("EXT")
      ->transform(FileTypeCheck());
  CLI::Option* mp3_info =
      command->add_flag("--mp3-info", options->mp3_info,
                        "Read bitrate, playing time and tag of each file of the type");
  CLI::Option* no_mp3_info = command->add_flag("--no-mp3-info", options->no_mp3_info,
                                               "Do not (default: the MP3-information setting)");
  mp3_info->excludes(no_mp3_info);
  no_mp3_info->excludes(mp3_info);
  command->add_option("--label", options->label, "Catalog the roots as one disk under LABEL")
      ->type_name("LABEL")
      ->check(NotEmpty())
      ->check(LabelCheck());
  AddId3v1EncodingOption(command, &options->id3v1_encoding);
  AddLeaveOutOptions(command, &options->leave_out, /*with_explain=*/true);
  AddQuietOption(command, &options->quiet);
  AddProgramFolderOption(command, &options->program_folder, "Data/lists.dat and Data/drives.dat");
  return {command, [options] { return RunScan(*options); }};
}

}  // namespace tallymere::cli
