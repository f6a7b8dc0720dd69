// tallymere-cli dump: every record of a data file, trailer included.

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>

#include "catalog/data_file.h"
#include "cli/commands.h"
#include "cli/json_text.h"
#include "platform/linux_platform.h"

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

}  // namespace

int RunDump(const Arguments& args) {
  bool json = false;
  std::string path;
  for (const std::string& arg : args) {
    if (arg == "--json") {
      json = true;
    } else if (path.empty() && (arg.empty() || arg[0] != '-')) {
      path = arg;
    } else {
      std::fprintf(stderr, "tallymere-cli dump: unexpected argument \"%s\"\n", arg.c_str());
      return 1;
    }
  }
  if (path.empty()) {
    std::fputs("Usage: tallymere-cli dump [--json] FILE.mpd\n", stderr);
    return 1;
  }
  const LinuxPlatform platform(LinuxPlatform::FindProgramFolder());
  CatalogTable table;
  if (Status status = LoadDataFile(platform, path, &table); !status) {
    std::fprintf(stderr, "tallymere-cli: %s\n", status.message().c_str());
    return 1;
  }
  std::string out;
  if (!json)
    out =
        "index\tbitrate\tdisk_label\tpath\tfile_name\tmodified\ttime\tsize\tartist\talbum\ttitle\n";
  for (int i = 1; i < table.WrittenEnd(); ++i) {
    const CatalogRecord& r = table.Record(i);
    if (json) {
      out += "{\"index\":" + std::to_string(i) + ",\"bitrate\":" + JsonString(r.bitrate) +
             ",\"disk_label\":" + JsonString(r.disk_label) + ",\"path\":" + JsonString(r.path) +
             ",\"file_name\":" + JsonString(r.file_name) +
             ",\"modified\":" + JsonString(r.modified) + ",\"time\":" + JsonString(r.time) +
             ",\"size\":" + std::to_string(r.size) + ",\"artist\":" + JsonString(r.artist) +
             ",\"album\":" + JsonString(r.album) + ",\"title\":" + JsonString(r.title) + "}\n";
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

}  // namespace tallymere::cli
