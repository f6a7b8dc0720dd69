// tallymere-cli update-disk: Rescan Disk without the window. One labelled
// disk is read again, its changes printed, and its records replaced where
// they stand; --dry-run only prints what would change.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "catalog/node_key.h"
#include "cli/code_page_option.h"
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

constexpr const char* kPrefix = "tallymere-cli update-disk";

struct UpdateDiskOptions {
  std::string file;
  std::string label;
  std::string root;  // empty: the disk's own drive
  std::string output;
  std::string id3v1_encoding;
  LeaveOutOptions leave_out;
  std::string program_folder;
  bool dry_run = false;
  bool quiet = false;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", kPrefix, message.c_str());
  return 1;
}

// The absolute form of a native folder that can be listed; else why not.
Result<std::string> ListableFolder(const Platform& platform, const std::string& native) {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::canonical(native, error);
  if (error) return Status::Error("\"" + native + "\" is no folder that can be read");
  if (Result<FolderListing> listed = platform.ListNativeFolder(folder.string()); !listed) {
    return listed.status();
  }
  return folder.string();
}

int RunUpdateDisk(const UpdateDiskOptions& options) {
  LinuxPlatform platform(ProgramFolder(options.program_folder));
  const std::string& target = options.output.empty() ? options.file : options.output;
  // Held before the read: another run's change must not come in between. A
  // dry run writes nothing and holds nothing.
  const std::unique_ptr<FileHold> hold =
      options.dry_run ? nullptr : HoldDataFile(platform, target, kPrefix);
  CatalogSession session(platform);
  if (Status opened = OpenToRescan(&session, options.file, options.id3v1_encoding, kPrefix);
      !opened) {
    return Fail(opened.message());
  }
  UseLeaveOutRules(&session, options.leave_out, kPrefix);
  const std::optional<NodeKey> disk = session.DiskLabelled(options.label);
  if (!disk) {
    return Fail("\"" + options.file + "\" holds no disk labelled \"" + options.label + "\"");
  }
  std::string root(disk->drive_root());
  if (!options.root.empty()) {
    Result<std::string> given = CatalogRoot(platform, options.root);
    if (given) {
      root = *given;
    } else if (Result<std::string> folder = ListableFolder(platform, options.root); folder) {
      // A stick mounted where no drive points: for this run the disk's own
      // drive is that folder, and its files are written under that drive.
      platform.MountDriveAt(root[0], *folder);
    } else {
      return Fail(given.status().message());
    }
  } else if (!platform.FolderExists(root)) {
    return Fail("the drive " + root + " of the disk \"" + disk->label() +
                "\" cannot be read (is the disk in it?); give --root DIR where it is mounted");
  }

  Result<DiskRescan> rescan = [&] {
    ConsoleScanObserver observer(kPrefix, options.quiet);
    return session.RescanDisk(*disk, root, &observer);
  }();
  if (!rescan) return Fail(rescan.status().message());
  for (const DiskChange& change : rescan->changes) {
    std::printf("%s\n", DiskChangeLine(change).c_str());
  }
  ReportSkipped(kPrefix, rescan->scan.report);
  const std::string summary = DiskChangesSummary(*rescan);
  if (!options.dry_run) {
    if (Status replaced = session.ReplaceDisk(*disk, &*rescan); !replaced) {
      return Fail(replaced.message() + " Nothing was written.");
    }
    if (Status saved = WriteBack(&session, target); !saved) return Fail(saved.message());
    ReportOlderPrograms(kPrefix, session.catalog());
    std::fprintf(stderr, "%s Written to \"%s\".\n", summary.c_str(), target.c_str());
    return FinishStandardOutput(kPrefix, "the data file \"" + target + "\" was written") ? 0 : 1;
  }
  std::fprintf(stderr, "%s Nothing was written (--dry-run).\n", summary.c_str());
  return FinishStandardOutput(kPrefix, "") ? 0 : 1;
}

}  // namespace

Command AddUpdateDiskCommand(CLI::App& tool) {
  CLI::App* command = AddCommand(tool, "update-disk",
                                 "Rescan one labelled disk of a data file, replacing its records");
  auto options = std::make_shared<UpdateDiskOptions>();
  command->add_option("FILE.mpd", options->file, "The data file that holds the disk")
      ->required()
      ->type_name("")
      ->check(NotEmpty());
  command->add_option("--label", options->label, "The disk's label, as the tree shows it")
      ->required()
      ->type_name("LABEL")
      ->check(NotEmpty());
  command
      ->add_option("--root", options->root,
                   "Where the disk is mounted now: a catalog path (F:\\) or any folder of this\n"
                   "machine, taken for the disk's root (default: the disk's own drive)")
      ->type_name("DIR")
      ->check(NotEmpty());
  command->add_flag("--dry-run", options->dry_run, "Print the changes and write nothing");
  AddReplacementOutputOption(command, &options->output);
  AddId3v1EncodingOption(command, &options->id3v1_encoding);
  AddLeaveOutOptions(command, &options->leave_out, /*with_explain=*/false);
  AddQuietOption(command, &options->quiet);
  AddProgramFolderOption(command, &options->program_folder, "Data/drives.dat and Data/lists.dat");
  command->footer(
      "The disk is scanned with the data file's file type and MP3-information flag and compared\n"
      "with its records by path and name. Each change is printed on stdout: \"+\" a file added,\n"
      "\"-\" a file removed, \"~\" a file changed with what changed (size, date, tag, bitrate,\n"
      "time); the counts follow on stderr. The disk's records are replaced where they stand and\n"
      "the data file is replaced in one step, only once the rescan has succeeded; while another\n"
      "run or the desktop program is writing it, the rescan says so on stderr and waits. A disk\n"
      "that cannot be read, one without a file of the type, or a result that does not fit a\n"
      "catalog fail with exit status 1 and change no file.");
  return {command, [options] { return RunUpdateDisk(*options); }};
}

}  // namespace tallymere::cli
