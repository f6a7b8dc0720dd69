// tallymere-cli mp3info [--json] FILE...: what ReadMp3Info finds in each file,
// one line per file, as a tab-separated table with a header line or as one
// JSON object per line.

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/json_text.h"
#include "mp3/bitrat.h"

namespace tallymere::cli {
namespace {

constexpr const char* kMp3InfoUsage = "Usage: tallymere-cli mp3info [--json] FILE...\n";
constexpr std::string_view kColumns[] = {"file",        "bitrate", "version", "layer",
                                         "sample_rate", "has_tag", "title",   "artist",
                                         "album",       "year",    "comment", "genre"};

// A sample rate in its shortest decimal form ("44100", "0").
std::string RateText(float rate) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, rate).ptr;
  return std::string(text, end);
}

// A table cell shows a text as views do, up to its first NUL; tabs and line
// breaks become spaces so every file stays on one row.
std::string Cell(std::string_view text) {
  std::string cell(text.substr(0, text.find('\0')));
  for (char& c : cell) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
  return cell;
}

struct Row {
  std::string file;
  std::string bitrate;
  const Mp3Info& info;
};

void PrintTableRow(const Row& row) {
  const Mp3Info& info = row.info;
  const std::string cells[] = {
      Cell(row.file),       Cell(row.bitrate),         Cell(info.MpegVersion),
      Cell(info.MpegLayer), RateText(info.SampleRate), info.HasTag ? "1" : "0",
      Cell(info.TagTitle),  Cell(info.TagArtist),      Cell(info.TagAlbum),
      Cell(info.TagYear),   Cell(info.TagComment),     Cell(info.TagGenre)};
  std::string line;
  for (std::size_t i = 0; i < std::size(cells); ++i) {
    if (i > 0) line += '\t';
    line += cells[i];
  }
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
}

void PrintJsonRow(const Row& row) {
  const Mp3Info& info = row.info;
  const std::string values[] = {
      JsonString(row.file),       JsonString(row.bitrate),     JsonString(info.MpegVersion),
      JsonString(info.MpegLayer), RateText(info.SampleRate),   info.HasTag ? "true" : "false",
      JsonString(info.TagTitle),  JsonString(info.TagArtist),  JsonString(info.TagAlbum),
      JsonString(info.TagYear),   JsonString(info.TagComment), JsonString(info.TagGenre)};
  std::string line = "{";
  for (std::size_t i = 0; i < std::size(kColumns); ++i) {
    if (i > 0) line += ", ";
    line += JsonString(kColumns[i]);
    line += ": ";
    line += values[i];
  }
  line += "}\n";
  std::fwrite(line.data(), 1, line.size(), stdout);
}

}  // namespace

int RunMp3Info(const Arguments& args) {
  bool json = false;
  bool options_ended = false;
  std::vector<std::string> files;
  for (const std::string& arg : args) {
    if (!options_ended && arg == "--json") {
      json = true;
    } else if (!options_ended && arg == "--") {
      options_ended = true;
    } else if (!options_ended && arg.size() > 1 && arg[0] == '-') {
      std::fprintf(stderr, "tallymere-cli: mp3info: unknown option \"%s\"\n%s", arg.c_str(),
                   kMp3InfoUsage);
      return 1;
    } else {
      files.push_back(arg);
    }
  }
  if (files.empty()) {
    std::fputs(kMp3InfoUsage, stderr);
    return 1;
  }

  if (!json) {
    std::string header;
    for (std::size_t i = 0; i < std::size(kColumns); ++i) {
      if (i > 0) header += '\t';
      header += kColumns[i];
    }
    header += '\n';
    std::fwrite(header.data(), 1, header.size(), stdout);
  }
  int exit_status = 0;
  for (const std::string& file : files) {
    // A fresh record per file: nothing of one file may show up in the next.
    Mp3Info info;
    const Result<std::string> bitrate = ReadMp3Info(file, &info);
    if (!bitrate) {
      std::fflush(stdout);
      std::fprintf(stderr, "tallymere-cli: \"%s\": %s\n", file.c_str(),
                   bitrate.status().message().c_str());
      exit_status = 1;
      continue;
    }
    const Row row{file, *bitrate, info};
    json ? PrintJsonRow(row) : PrintTableRow(row);
  }
  return exit_status;
}

}  // namespace tallymere::cli
