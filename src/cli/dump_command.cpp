// tallymere-cli dump: every record of a data file, trailer included.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include "catalog/data_file.h"
#include "cli/command.h"
#include "cli/command_line.h"
#include "cli/json_lines.h"
#include "cli/read_data_file.h"

namespace tallymere::cli {
namespace {

// A field for the tab-separated form, appended after a tab: tabs and line
// breaks would break the table, and NUL padding of tag fields ends the text as
// every view shows it.
void AppendField(std::string_view text, std::string* out) {
  text = text.substr(0, text.find('\0'));
  out->push_back('\t');
  const std::size_t start = out->size();
  out->append(text);
  for (std::size_t i = start; i < out->size(); ++i) {
    char& c = (*out)[i];
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
}

// One line of the table; appended in place, as 32,765 lines built from
// temporary strings cost more than reading the whole file.
void AppendTableLine(int index, const CatalogRecord& r, std::string* out) {
  out->append(std::to_string(index));
  for (const std::string* text :
       {&r.bitrate, &r.disk_label, &r.path, &r.file_name, &r.modified, &r.time}) {
    AppendField(*text, out);
  }
  out->push_back('\t');
  out->append(std::to_string(r.size));
  for (const std::string* text : {&r.artist, &r.album, &r.title}) AppendField(*text, out);
  out->push_back('\n');
}

struct DumpOptions {
  bool json = false;
  std::string path;
};

int RunDump(const DumpOptions& options) {
  CatalogTable table;
  if (Status status = ReadDataFile(options.path, &table); !status) {
    std::fprintf(stderr, "tallymere-cli: %s\n", status.message().c_str());
    return 1;
  }
  std::string out;
  if (!options.json)
    out =
        "index\tbitrate\tdisk_label\tpath\tfile_name\tmodified\ttime\tsize\tartist\talbum\ttitle\n";
  const int end = table.WrittenEnd();
  for (int i = 1; i < end; ++i) {
    const CatalogRecord& r = table.Record(i);
    if (options.json) {
      out += JsonLine({{"index", i},
                       {"bitrate", r.bitrate},
                       {"disk_label", r.disk_label},
                       {"path", r.path},
                       {"file_name", r.file_name},
                       {"modified", r.modified},
                       {"time", r.time},
                       {"size", r.size},
                       {"artist", r.artist},
                       {"album", r.album},
                       {"title", r.title}});
    } else {
      AppendTableLine(i, r, &out);
    }
  }
  std::cout << out;
  return 0;
}

}  // namespace

Command AddDumpCommand(CLI::App& tool) {
  CLI::App* command =
      AddCommand(tool, "dump", "Print every record of a data file, trailer included");
  auto options = std::make_shared<DumpOptions>();
  command->add_flag("--json", options->json,
                    "One JSON object per record and line instead of a tab-separated table");
  command->add_option("FILE.mpd", options->path, "The data file")
      ->required()
      ->type_name("")
      ->check(NotEmpty());
  return {command, [options] { return RunDump(*options); }};
}

}  // namespace tallymere::cli
