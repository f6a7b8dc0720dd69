// tallymere-cli find: the records that Find in All, Find in Drive or Show All
// Files in Selected would list, as the file list shows them; over one data
// file, or a shelf of them as Find in Catalogs searches it.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "catalog/data_file.h"
#include "cli/command.h"
#include "cli/command_line.h"
#include "cli/condition_options.h"
#include "cli/file_list_lines.h"
#include "cli/json_lines.h"
#include "cli/output.h"
#include "cli/scan_arguments.h"
#include "cli/shelf_arguments.h"
#include "platform/linux_platform.h"
#include "search/find.h"
#include "search/search_results.h"
#include "search/shelf.h"
#include "search/shelf_search.h"
#include "session/catalog_session.h"

namespace tallymere::cli {
namespace {

constexpr const char* kPrefix = "tallymere-cli find";

struct FindOptions {
  ConditionOptions condition;
  std::string under;
  bool json = false;
  ShelfArguments shelf;
};

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

// The rows found, each as printed, with the File names they sort by.
struct FoundRows {
  PackedTexts names;
  PackedTexts rows;
  int64_t total_size = 0;
};

void AddRow(const CatalogRecord& record, std::string_view catalog, bool json, FoundRows* found) {
  found->names.Add(record.file_name);
  std::string* row = found->rows.open();
  if (json) {
    row->push_back('{');
    if (!catalog.empty()) {
      row->append("\"catalog\":");
      AppendJsonString(catalog, row);
      row->push_back(',');
    }
    AppendJsonRowMembers(record, row);
  } else {
    if (!catalog.empty()) {
      AppendTableCell(catalog, row);
      row->push_back('\t');
    }
    AppendTableRow(record, row);
  }
  found->rows.Close();
  found->total_size += record.size;
}

// Prints the rows sorted as the file list sorts them by File name.
void PrintRows(const FoundRows& found, bool json, bool with_catalog) {
  PiecewiseOutput out;
  if (!json) {
    if (with_catalog) out.text()->append("catalog\t");
    out.text()->append(kFileListHeader);
  }
  for (const std::size_t row : FileNameOrder(found.names.Views())) {
    out.text()->append(found.rows[row]);
    out.WriteWhenFull();
  }
  out.Finish();
}

void PrintStatus(const SearchStatus& status, const std::string& more = "") {
  std::fprintf(stderr, "%s\t%s\t%s%s\n", status.panel1.c_str(), status.panel2.c_str(),
               status.panel3.c_str(), more.c_str());
}

// Show All Files in Selected, over one data file: the key names what it
// names in the window's tree, from this machine's drives and the catalog's
// own letters.
int RunUnder(const FindOptions& options) {
  if (options.shelf.paths.size() != 1) {
    return Refuse("--under takes exactly one data file: a tree key belongs to one catalog");
  }
  const LinuxPlatform platform(ProgramFolder(""));
  CatalogSession session(platform);
  const Status opened = session.Open(options.shelf.paths.front());
  if (!RecordsWereRead(opened)) return Refuse(opened.message());
  const NodeKey node = session.KeyOf(options.under);
  if (node.kind() == NodeKey::Kind::kDrive && node.drive_holds_disks()) {
    // The window's answer when the node is a drive that holds labelled disks.
    std::fprintf(stderr, "%s: %s holds labelled disks. Please select a disk label instead.\n",
                 kPrefix, options.under.c_str());
    return 1;
  }
  FoundRows found;
  for (int index : session.Find(node))
    AddRow(session.catalog().Record(index), {}, options.json, &found);
  PrintRows(found, options.json, false);
  const bool written = FinishStandardOutput(kPrefix);
  PrintStatus(NodeStatus(options.under, found.rows.size(), found.total_size));
  // A file cut short: its files are listed, then why they may not be all.
  if (!opened) return Refuse(opened.message());
  return written ? 0 : 1;
}

// Find in All or Find in Drive, over one data file or a shelf of them.
int RunSearch(const FindOptions& options) {
  const LinuxPlatform platform(ProgramFolder(""));
  const NamedDataFiles named = ResolveDataFiles(platform, options.shelf);
  const ShelfSearchResult result = SearchShelf(platform, named.files, options.condition.condition);
  // One data file that cannot be read ends the command, as before; on a
  // shelf the others are still searched. One cut short is searched as far as
  // it goes, and named.
  if (!named.name_catalogs && !result.problems.empty() &&
      !RecordsWereRead(result.problems.front().status)) {
    return Refuse(result.problems.front().status.message());
  }
  for (const Status& problem : named.problems) Refuse(problem.message());
  for (const ShelfProblem& problem : result.problems) Refuse(problem.status.message());

  FoundRows found;
  for (const ShelfRow& row : result.rows) {
    const std::string_view catalog =
        named.name_catalogs ? CatalogName(named.files[static_cast<std::size_t>(row.catalog)])
                            : std::string_view();
    AddRow(row.record, catalog, options.json, &found);
  }
  PrintRows(found, options.json, named.name_catalogs);
  const bool written = FinishStandardOutput(kPrefix);
  const SearchStatus status =
      FindStatus(static_cast<std::size_t>(result.matched), result.total_size);
  if (named.name_catalogs) {
    PrintStatus(status, "\t" + std::to_string(result.searched) + " data file(s) searched");
  } else {
    PrintStatus(status);
  }
  if (result.cut) {
    std::fprintf(stderr, "%s: only the first %zu of the %lld files found are listed\n", kPrefix,
                 kMaxShelfRows, static_cast<long long>(result.matched));
  }
  const bool complete = named.problems.empty() && result.problems.empty();
  return written && complete ? 0 : 1;
}

int RunFind(FindOptions& options) {
  CompleteCondition(&options.condition);
  return options.under.empty() ? RunSearch(options) : RunUnder(options);
}

}  // namespace

Command AddFindCommand(CLI::App& tool) {
  CLI::App* command =
      AddCommand(tool, "find", "Print the files the window's find commands list, sorted by name");
  auto options = std::make_shared<FindOptions>();
  const TextOptions searches = AddConditionOptions(command, &options->condition);
  CLI::Option* under =
      command
          ->add_option("--under", options->under,
                       "Show All Files in Selected: every file under the tree node\n"
                       "with this key, as the tree builds keys: C:\\Music\\ for a\n"
                       "folder of a fixed drive and all below it, E:\\MyCD\\ for the\n"
                       "disk labelled MyCD in E:, E:\\MyCD\\Sub\\ for a folder on it.\n"
                       "A key names what it names in the window's tree: below a\n"
                       "removable or CD-ROM drive of this machine, or a drive letter\n"
                       "this machine does not map whose records are all labelled\n"
                       "disks, the first folder is a disk's label. A drive that\n"
                       "holds labelled disks is refused, as the window refuses it.\n"
                       "One data file only; not with --text, --in, --type or --drive")
          ->type_name("KEY")
          ->check(KeyCheck());
  // Checked once parsing is done rather than with CLI11's excludes, which would
  // crowd the help's option column with the list of options left out.
  command->parse_complete_callback([=] {
    if (under->count() == 0) return;
    for (const CLI::Option* search :
         {searches.text, searches.field, searches.type, searches.drive}) {
      if (search->count() > 0) throw CLI::ExcludesError(under->get_name(), search->get_name());
    }
  });
  command->add_flag("--json", options->json,
                    "One JSON object per row and line instead of a tab-separated table");
  AddShelfArguments(command, &options->shelf);
  command->footer(
      "Rows are sorted by File name, letter case ignored, files of equal names in\n"
      "record order; columns: File name, Path, Size, Modified, Bitrate, Time, Artist,\n"
      "Title, Album, Disk label. The status line goes to stderr: its three panels,\n"
      "tab-separated (\"Total N file(s) found.\" or \"Contents of:  KEY\", \"N "
      "object(s)\",\n"
      "the total size in MB). Finding nothing is no error.\n"
      "Over more than one data file, or a folder, each row starts with the name of its\n"
      "data file (column and JSON key \"catalog\"), the status line ends with the data\n"
      "files searched, at most 100000 rows are listed, and a data file that cannot be\n"
      "read is named on stderr while the others are still searched (exit status 1).");
  return {command, [options] { return RunFind(*options); }};
}

}  // namespace tallymere::cli
