// tallymere-cli find: the records that Find in All, Find in Drive or Show All
// Files in Selected would list, as the file list shows them.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "catalog/data_file.h"
#include "cli/command.h"
#include "cli/command_line.h"
#include "cli/file_list_lines.h"
#include "cli/output.h"
#include "platform/read_file.h"
#include "search/find.h"
#include "search/search_results.h"

namespace tallymere::cli {
namespace {

struct FindOptions {
  std::string text;
  std::string type = "*.*";
  std::string drive;
  std::string under;
  bool json = false;
  std::string path;
};

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

CLI::Validator TypeCheck() {
  return CLI::Validator(
      [](const std::string& type) {
        return type.size() > 2 && type.starts_with("*.")
                   ? std::string()
                   : "\"" + type + "\" is no file type: \"*.*\" or \"*.\" and an extension";
      },
      "");
}

CLI::Validator DriveCheck() {
  return CLI::Validator(
      [](const std::string& drive) {
        return drive.size() == 2 && IsDriveLetter(drive[0]) && drive[1] == ':'
                   ? std::string()
                   : "\"" + drive + "\" is no drive: a letter and a colon, such as D:";
      },
      "");
}

CLI::Validator KeyCheck() {
  return CLI::Validator(
      [](const std::string& key) {
        const bool on_a_drive = NodeKey::Parse(key, false).kind() != NodeKey::Kind::kRoot;
        return on_a_drive && IsDriveLetter(key[0]) && key.ends_with('\\')
                   ? std::string()
                   : "\"" + key + "\" is no tree node key: a drive root such as C:\\, " +
                         "and folders each ended by \\";
      },
      "");
}

int Refuse(const std::string& message) {
  std::fprintf(stderr, "tallymere-cli: %s\n", message.c_str());
  return 1;
}

// Whether the node with this key belongs to a labelled disk. The window asks
// the drive map whether the key's drive is fixed; a data file read here may
// come from another machine, so its records answer instead: a key under which
// some record carries a disk label of its own (not a drive root) belongs to a
// labelled disk, any other is a folder of a fixed drive.
Status UnderLabelledDisk(std::string_view bytes, const FindOptions& options, bool* labelled) {
  *labelled = false;
  return VisitDataFile(bytes, options.path, [&](int, const CatalogRecord& record) {
    if (!*labelled && !IsDriveRootLabel(record.disk_label) && LiesUnderKey(record, options.under)) {
      *labelled = true;
    }
  });
}

int RunFind(const FindOptions& options) {
  // A private copy: a file shortened while it is searched cannot take the
  // bytes away from under the search.
  Result<std::string> file = ReadWholeFile(options.path, kDataFileLimit);
  if (!file) return Refuse(file.status().message());
  std::optional<NodeKey> node;
  if (!options.under.empty()) {
    bool labelled = false;
    if (Status status = UnderLabelledDisk(*file, options, &labelled); !status) {
      return Refuse(status.message());
    }
    node = NodeKey::Parse(options.under, labelled);
    if (node->kind() == NodeKey::Kind::kDrive && labelled) {
      // The window's answer when the node is a drive that holds labelled disks.
      std::fprintf(stderr,
                   "tallymere-cli find: %s holds labelled disks. Please select a disk label "
                   "instead.\n",
                   options.under.c_str());
      return 1;
    }
  }
  const FindQuery query{options.text, options.type, options.drive, options.drive.empty()};

  // The rows found, in record order; every record of the file is visited, as
  // the window's walk runs to the first record without a File name.
  PackedTexts names;
  PackedTexts rows;
  rows.ReserveRows(file->size(), options.json);
  int64_t total_size = 0;
  const Status status = VisitDataFile(*file, options.path, [&](int, const CatalogRecord& record) {
    if (node ? !node->HoldsBelow(record) : !MatchesFind(record, query)) return;
    names.Add(record.file_name);
    if (options.json) {
      rows.open()->push_back('{');
      AppendJsonRowMembers(record, rows.open());
    } else {
      AppendTableRow(record, rows.open());
    }
    rows.Close();
    total_size += record.size;
  });
  if (!status) return Refuse(status.message());

  PiecewiseOutput out;
  if (!options.json) out.text()->append(kFileListHeader);
  for (const std::size_t row : FileNameOrder(names.Views())) {
    out.text()->append(rows[row]);
    out.WriteWhenFull();
  }
  out.Finish();
  const bool written = FinishStandardOutput("tallymere-cli find");
  const SearchStatus result = node ? NodeStatus(options.under, rows.size(), total_size)
                                   : FindStatus(rows.size(), total_size);
  std::fprintf(stderr, "%s\t%s\t%s\n", result.panel1.c_str(), result.panel2.c_str(),
               result.panel3.c_str());
  return written ? 0 : 1;
}

}  // namespace

Command AddFindCommand(CLI::App& tool) {
  CLI::App* command =
      AddCommand(tool, "find", "Print the files the window's find commands list, sorted by name");
  auto options = std::make_shared<FindOptions>();
  CLI::Option* text =
      command->add_option("--text", options->text,
                          "Find the files whose name contains TEXT, letter case ignored\n"
                          "(default: every name)");
  text->type_name("TEXT");
  CLI::Option* type =
      command
          ->add_option("--type", options->type,
                       "\"*.*\" for every file, or \"*.mp3\" and the like: the last three\n"
                       "characters of the name contain the extension (a longer one\n"
                       "such as \"*.html\": the name ends with it), letter case ignored\n"
                       "(default: \"*.*\")")
          ->type_name("TYPE")
          ->check(TypeCheck());
  CLI::Option* drive = command
                           ->add_option("--drive", options->drive,
                                        "Find in Drive: only files whose path begins with the\n"
                                        "drive, such as D: or d: (default: Find in All, every "
                                        "drive)")
                           ->type_name("D:")
                           ->check(DriveCheck());
  CLI::Option* under =
      command
          ->add_option("--under", options->under,
                       "Show All Files in Selected: every file under the tree node\n"
                       "with this key, as the tree builds keys: C:\\Music\\ for a\n"
                       "folder of a fixed drive and all below it, E:\\MyCD\\ for the\n"
                       "disk labelled MyCD in E:, E:\\MyCD\\Sub\\ for a folder on it.\n"
                       "Without the drive map of the machine the catalog was made\n"
                       "on, the key counts as a labelled disk's when a record under\n"
                       "it carries a disk label of its own (one that is not a drive\n"
                       "root such as E:\\), else as a fixed drive's; a drive that\n"
                       "holds labelled disks is refused, as the window refuses it.\n"
                       "Not with --text, --type or --drive")
          ->type_name("KEY")
          ->check(KeyCheck());
  // Checked once parsing is done rather than with CLI11's excludes, which would
  // crowd the help's option column with the list of options left out.
  command->parse_complete_callback([=] {
    if (under->count() == 0) return;
    for (const CLI::Option* search : {text, type, drive}) {
      if (search->count() > 0) throw CLI::ExcludesError(under->get_name(), search->get_name());
    }
  });
  command->add_flag("--json", options->json,
                    "One JSON object per row and line instead of a tab-separated table");
  command->add_option("FILE.mpd", options->path, "The data file")
      ->required()
      ->type_name("")
      ->check(NotEmpty());
  command->footer(
      "Rows are sorted by File name, letter case ignored, files of equal names in\n"
      "record order; columns: File name, Path, Size, Modified, Bitrate, Time, Artist,\n"
      "Title, Album, Disk label. The status line goes to stderr: its three panels,\n"
      "tab-separated (\"Total N file(s) found.\" or \"Contents of:  KEY\", \"N "
      "object(s)\",\n"
      "the total size in MB). Finding nothing is no error.");
  return {command, [options] { return RunFind(*options); }};
}

}  // namespace tallymere::cli
