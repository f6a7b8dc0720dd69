// tallymere-cli dupes: the sets one of the three duplicate commands lists.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "catalog/data_file.h"
#include "cli/command.h"
#include "cli/command_line.h"
#include "cli/file_list_lines.h"
#include "cli/json_lines.h"
#include "cli/output.h"
#include "cli/shelf_arguments.h"
#include "platform/linux_platform.h"
#include "platform/read_file.h"
#include "search/duplicates.h"
#include "search/search_results.h"
#include "search/shelf.h"
#include "search/shelf_duplicates.h"

namespace tallymere::cli {
namespace {

struct DupesOptions {
  bool exact = false;
  bool not_so_exact = false;
  bool any_possible = false;
  bool audio = false;
  bool json = false;
  ShelfArguments shelf;

  DuplicateRule rule() const {
    if (not_so_exact) return DuplicateRule::kNotSoExact;
    if (any_possible) return DuplicateRule::kAnyPossible;
    if (audio) return DuplicateRule::kSameAudio;
    return DuplicateRule::kExact;
  }
};

int Refuse(const Status& status) {
  std::fprintf(stderr, "tallymere-cli: %s\n", status.message().c_str());
  return 1;
}

// The sets of one data file, as its window lists them.
int RunCatalogDupes(const DupesOptions& options, const std::string& path) {
  Result<std::string> file = ReadWholeFile(path, kDataFileLimit);
  if (!file) return Refuse(file.status());
  const std::string_view bytes = *file;

  // The walk covers the file records, those before the first record without
  // a Path (the trailer). Their rows are made as they are read: with a full
  // catalog nearly every record is in some set, and reading the file again
  // for the rows would cost more than making the few rows no set needs.
  PackedTexts names;
  PackedTexts rows;
  rows.ReserveRows(bytes.size(), options.json);
  bool at_end = false;
  Status status = VisitDataFile(bytes, path, [&](int, const CatalogRecord& record) {
    at_end = at_end || record.path.empty();
    if (at_end) return;
    names.Add(options.rule() == DuplicateRule::kSameAudio ? AudioKey(record.extras)
                                                          : record.file_name);
    if (options.json) {
      AppendJsonRowMembers(record, rows.open());
    } else {
      AppendTableRow(record, rows.open());
    }
    rows.Close();
  });
  if (!RecordsWereRead(status)) return Refuse(status);
  const int file_count = static_cast<int>(names.size());
  const DuplicateSets sets = FindDuplicates(names.Views(), options.rule());

  PiecewiseOutput out;
  std::string& text = *out.text();
  if (!options.json) text.append(kFileListHeader);
  for (std::size_t set = 0; set < sets.pairs.size(); ++set) {
    for (const int record : {sets.pairs[set].first, sets.pairs[set].second}) {
      if (options.json) text.append("{\"set\":").append(std::to_string(set + 1)).push_back(',');
      text.append(rows[static_cast<std::size_t>(record - 1)]);
    }
    if (!options.json) text.push_back('\n');
    out.WriteWhenFull();
  }
  out.Finish();
  const bool written = FinishStandardOutput("tallymere-cli dupes");
  std::fprintf(stderr, "%s\n", DuplicateStatus(options.rule(), sets, file_count).c_str());
  // A file cut short: its sets are shown, then why they may not be all.
  if (!status) return Refuse(status);
  return written ? 0 : 1;
}

// The sets of a shelf walked as one catalog; each row names its data file.
int RunShelfDupes(const DupesOptions& options, const Platform& platform,
                  const NamedDataFiles& named) {
  const ShelfDuplicateSets sets = FindShelfDuplicates(platform, named.files, options.rule());
  for (const Status& problem : named.problems) Refuse(problem);
  for (const ShelfProblem& problem : sets.problems) Refuse(problem.status);
  PiecewiseOutput out;
  std::string& text = *out.text();
  if (!options.json) text.append("catalog\t").append(kFileListHeader);
  for (std::size_t set = 0; set < sets.pairs.size(); ++set) {
    for (const std::size_t row : {sets.pairs[set].first, sets.pairs[set].second}) {
      const ShelfRow& shelf_row = sets.rows[row];
      const std::string_view catalog =
          CatalogName(named.files[static_cast<std::size_t>(shelf_row.catalog)]);
      if (options.json) {
        text.append("{\"set\":").append(std::to_string(set + 1)).append(",\"catalog\":");
        AppendJsonString(catalog, &text);
        text.push_back(',');
        AppendJsonRowMembers(shelf_row.record, &text);
      } else {
        AppendTableCell(catalog, &text);
        text.push_back('\t');
        AppendTableRow(shelf_row.record, &text);
      }
    }
    if (!options.json) text.push_back('\n');
    out.WriteWhenFull();
  }
  out.Finish();
  const bool written = FinishStandardOutput("tallymere-cli dupes");
  std::fprintf(stderr, "%s\n",
               DuplicateStatus(options.rule(), sets.count, sets.pairs.size(), sets.files).c_str());
  return written && named.problems.empty() && sets.problems.empty() ? 0 : 1;
}

int RunDupes(const DupesOptions& options) {
  const LinuxPlatform platform(ProgramFolder(""));
  const NamedDataFiles named = ResolveDataFiles(platform, options.shelf);
  if (!named.name_catalogs && named.problems.empty() && named.files.size() == 1) {
    return RunCatalogDupes(options, named.files.front());
  }
  return RunShelfDupes(options, platform, named);
}

}  // namespace

Command AddDupesCommand(CLI::App& tool) {
  CLI::App* command =
      AddCommand(tool, "dupes", "Print the duplicate sets a Show Duplicates command lists");
  auto options = std::make_shared<DupesOptions>();
  CLI::Option_group* rules = command->add_option_group(
      "Rule", "Which names match; letter case counts, names are never trimmed (exactly one)");
  rules->add_flag("--exact", options->exact, "Exact Match: the whole File names are equal");
  rules->add_flag("--near", options->not_so_exact,
                  "Not So Exact: their last 22 characters are equal\n"
                  "(a shorter name takes part whole)");
  rules->add_flag("--any", options->any_possible,
                  "Any Possible Match: their last 12 characters are equal\n"
                  "(a shorter name takes part whole)");
  rules->add_flag("--audio", options->audio,
                  "Same audio: the fingerprints of their audio and its lengths are equal,\n"
                  "whatever their names and tags (files scanned without one take no part)");
  rules->require_option(1);
  command->add_flag("--json", options->json,
                    "One JSON object per row and line, with the number of its set,\n"
                    "instead of a tab-separated table");
  AddShelfArguments(command, &options->shelf);
  command->footer(
      "Every pair of file records (A before B) whose names match is a set, in the order\n"
      "of a walk over all pairs: A's row, B's row and a blank line (JSON: no blank line).\n"
      "Columns: File name, Path, Size, Modified, Bitrate, Time, Artist, Title, Album,\n"
      "Disk label. At most 100000 sets are printed. The result goes to stderr, as the\n"
      "window's status bar says it: \"Found N duplicate set(s) in F files.\" (or \"possible\n"
      "duplicate set(s)\" for --near and --any, \"set(s) of the same audio\" for --audio), F\n"
      "being the catalog's files.\n"
      "Over more than one data file, or a folder, their file records are walked as one\n"
      "catalog's, the first file's first; each row starts with the name of its data file\n"
      "(column and JSON key \"catalog\"), and a data file that cannot be read is named on\n"
      "stderr while the others are still walked (exit status 1).");
  return {command, [options] { return RunDupes(*options); }};
}

}  // namespace tallymere::cli
