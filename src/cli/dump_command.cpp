// tallymere-cli dump: every record of a data file, trailer included.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include "catalog/data_file.h"
#include "cli/command.h"
#include "cli/command_line.h"
#include "cli/file_list_lines.h"
#include "cli/json_lines.h"
#include "cli/output.h"
#include "platform/read_file.h"

namespace tallymere::cli {
namespace {

// A field for the tab-separated form, appended after a tab.
void AppendField(std::string_view text, bool raw, std::string* out) {
  out->push_back('\t');
  AppendTableCell(text, out, raw);
}

// One line of the table; appended in place, as 32,765 lines built from
// temporary strings cost more than reading the whole file.
void AppendTableLine(int index, const CatalogRecord& r, bool raw, std::string* out) {
  out->append(std::to_string(index));
  for (const std::string* text :
       {&r.bitrate, &r.disk_label, &r.path, &r.file_name, &r.modified, &r.time}) {
    AppendField(*text, raw, out);
  }
  out->push_back('\t');
  out->append(std::to_string(r.size));
  for (const std::string* text : {&r.artist, &r.album, &r.title}) AppendField(*text, raw, out);
  out->push_back('\n');
}

// The JSON line of a record, as JsonLine writes the object of its fields in
// record order: the keys need no escape, so only the values go through
// AppendJsonString, which leaves the JSON library the texts that need it.
void AppendJsonLine(int index, const CatalogRecord& r, bool raw, std::string* out) {
  out->append("{\"index\":").append(std::to_string(index));
  const auto text = [&](const char* member, const std::string& value) {
    out->append(member);
    AppendJsonString(raw ? std::string_view(value) : Shown(value), out);
  };
  text(",\"bitrate\":", r.bitrate);
  text(",\"disk_label\":", r.disk_label);
  text(",\"path\":", r.path);
  text(",\"file_name\":", r.file_name);
  text(",\"modified\":", r.modified);
  text(",\"time\":", r.time);
  out->append(",\"size\":").append(std::to_string(r.size));
  text(",\"artist\":", r.artist);
  text(",\"album\":", r.album);
  text(",\"title\":", r.title);
  out->append("}\n");
}

// Output is written in pieces of this size, so it never grows to the size of
// the file.
constexpr std::size_t kOutputPiece = 64 * 1024;

struct DumpOptions {
  bool json = false;
  bool raw = false;
  std::string path;
};

int RunDump(const DumpOptions& options) {
  // The tool reads the file itself, as it needs no drive map, and prints each
  // record as it is read from its bytes instead of holding the catalog. A
  // damaged file must print nothing but its message, so the whole file is
  // checked before the first line goes out; both passes read one private
  // copy, so a file changed meanwhile cannot differ between them.
  Result<std::string> file = ReadWholeFile(options.path, kDataFileLimit);
  const auto refuse = [](const Status& status) {
    std::fprintf(stderr, "tallymere-cli: %s\n", status.message().c_str());
    return 1;
  };
  if (!file) return refuse(file.status());
  const Status checked = VisitDataFile(*file, options.path, [](int, const CatalogRecord&) {});
  if (!RecordsWereRead(checked)) return refuse(checked);
  std::string out;
  if (!options.json)
    out =
        "index\tbitrate\tdisk_label\tpath\tfile_name\tmodified\ttime\tsize\tartist\talbum\ttitle\n";
  const Status printed = VisitDataFile(*file, options.path, [&](int i, const CatalogRecord& r) {
    if (options.json) {
      AppendJsonLine(i, r, options.raw, &out);
    } else {
      AppendTableLine(i, r, options.raw, &out);
    }
    if (out.size() >= kOutputPiece) {
      WriteStandardOutput(out);
      out.clear();
    }
  });
  if (!RecordsWereRead(printed)) return refuse(printed);
  WriteStandardOutput(out);
  const bool written = FinishStandardOutput("tallymere-cli dump");
  // A file cut short: its records are printed, then why they are not all.
  if (!checked) return refuse(checked);
  return written ? 0 : 1;
}

}  // namespace

Command AddDumpCommand(CLI::App& tool) {
  CLI::App* command =
      AddCommand(tool, "dump", "Print every record of a data file, trailer included");
  auto options = std::make_shared<DumpOptions>();
  command->add_flag("--json", options->json,
                    "One JSON object per record and line instead of a tab-separated table");
  command->add_flag("--raw", options->raw,
                    "Every text as stored, an ID3v1 field's NUL padding included (by default\n"
                    "a text ends at its first NUL, as the window shows it)");
  command->add_option("FILE.mpd", options->path, "The data file")
      ->required()
      ->type_name("")
      ->check(NotEmpty());
  return {command, [options] { return RunDump(*options); }};
}

}  // namespace tallymere::cli
