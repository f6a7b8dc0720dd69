// tallymere-cli dump: every record of a data file, trailer included.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "catalog/data_file.h"
#include "cli/command.h"
#include "cli/command_line.h"
#include "cli/json_lines.h"
#include "cli/read_data_file.h"

namespace tallymere::cli {
namespace {

// A field for the tab-separated form: tabs and line breaks would break the
// table, and NUL padding of tag fields ends the text as every view shows it.
std::string TableField(std::string text) {
  text.resize(std::min(text.size(), text.find('\0')));
  for (char& c : text) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
  return text;
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
  for (int i = 1; i < table.WrittenEnd(); ++i) {
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
      out += std::to_string(i) + "\t" + TableField(r.bitrate) + "\t" + TableField(r.disk_label) +
             "\t" + TableField(r.path) + "\t" + TableField(r.file_name) + "\t" +
             TableField(r.modified) + "\t" + TableField(r.time) + "\t" + std::to_string(r.size) +
             "\t" + TableField(r.artist) + "\t" + TableField(r.album) + "\t" + TableField(r.title) +
             "\n";
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
