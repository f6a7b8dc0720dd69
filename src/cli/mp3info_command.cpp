// tallymere-cli mp3info [--json] FILE...: what ReadMp3Info finds in each file,
// one line per file, as a tab-separated table with a header line or as one
// JSON object per line.

#include <CLI/CLI.hpp>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/file_type.h"
#include "cli/code_page_option.h"
#include "cli/command.h"
#include "cli/command_line.h"
#include "cli/file_list_lines.h"
#include "cli/json_lines.h"
#include "cli/output.h"
#include "mp3/audio_info.h"
#include "mp3/bitrat.h"
#include "platform/linux_platform.h"

namespace tallymere::cli {
namespace {

// The ID3v2 columns come last, so scripts that count columns keep working.
constexpr std::string_view kColumns[] = {
    "file",          "bitrate",     "version",      "layer",       "sample_rate", "has_tag",
    "title",         "artist",      "album",        "year",        "comment",     "genre",
    "id3v2_version", "id3v2_title", "id3v2_artist", "id3v2_album", "format",      "channels"};

// What ReadMp3Info returns for a file without a usable frame header.
constexpr std::string_view kNoHeader = "---";

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
  std::string format;  // "MPEG" for an MP3 file
  int channels = 0;    // 0: not read (MP3 files)
};

void PrintTableRow(const Row& row) {
  const Mp3Info& info = row.info;
  const std::string cells[] = {Cell(row.file),
                               Cell(row.bitrate),
                               Cell(info.MpegVersion),
                               Cell(info.MpegLayer),
                               RateText(info.SampleRate),
                               info.HasId3v1Tag ? "1" : "0",
                               Cell(info.TagTitle),
                               Cell(info.TagArtist),
                               Cell(info.TagAlbum),
                               Cell(info.TagYear),
                               Cell(info.TagComment),
                               Cell(info.TagGenre),
                               Cell(info.Id3v2Version),
                               Cell(info.V2Title),
                               Cell(info.V2Artist),
                               Cell(info.V2Album),
                               row.format,
                               row.channels > 0 ? std::to_string(row.channels) : ""};
  std::string line;
  for (std::size_t i = 0; i < std::size(cells); ++i) {
    if (i > 0) line += '\t';
    line += cells[i];
  }
  line += '\n';
  WriteStandardOutput(line);
}

// The JSON form shows each tag field as the table and the window do, up to
// its first NUL: a script compares "Кино", not the field's padding.
std::string ShownText(std::string_view text) { return std::string(Shown(text)); }

void PrintJsonRow(const Row& row) {
  const Mp3Info& info = row.info;
  // Sample rates come from tables of whole hertz.
  const JsonObject values[] = {row.file,
                               row.bitrate,
                               info.MpegVersion,
                               info.MpegLayer,
                               std::lround(info.SampleRate),
                               info.HasId3v1Tag,
                               ShownText(info.TagTitle),
                               ShownText(info.TagArtist),
                               ShownText(info.TagAlbum),
                               ShownText(info.TagYear),
                               ShownText(info.TagComment),
                               ShownText(info.TagGenre),
                               info.Id3v2Version,
                               ShownText(info.V2Title),
                               ShownText(info.V2Artist),
                               ShownText(info.V2Album),
                               row.format,
                               row.channels};
  static_assert(std::size(values) == std::size(kColumns));
  JsonObject object;
  for (std::size_t i = 0; i < std::size(kColumns); ++i)
    object[std::string(kColumns[i])] = values[i];
  const std::string line = JsonLine(object);
  WriteStandardOutput(line);
}

// A file of another audio format: its stream and its tag in the columns of
// an MP3 file's ID3v1 tag, as the catalog takes them. False when it cannot
// be opened.
bool PrintAudioFile(const Platform& platform, const std::string& file, const std::string& extension,
                    bool json) {
  Result<std::unique_ptr<RandomAccessFile>> opened = platform.OpenFile(file, OpenMode::kRead);
  Result<int64_t> length = opened ? (*opened)->Length() : Result<int64_t>(opened.status());
  if (!length) {
    std::fflush(stdout);
    std::fprintf(stderr, "tallymere-cli: \"%s\": %s\n", file.c_str(),
                 length.status().message().c_str());
    return false;
  }
  const Result<AudioInfo> audio = ReadAudioInfo(**opened, *length, extension);
  Mp3Info info;
  Row row{file, std::string(kNoHeader), info, "", 0};
  if (audio) {
    row.bitrate = std::to_string(audio->bitrate_kbps);
    row.format = audio->format;
    row.channels = audio->channels;
    info.SampleRate = static_cast<float>(audio->sample_rate);
    info.TagTitle = audio->title;
    info.TagArtist = audio->artist;
    info.TagAlbum = audio->album;
    info.HasId3v1Tag = !(audio->title.empty() && audio->artist.empty() && audio->album.empty());
  }
  json ? PrintJsonRow(row) : PrintTableRow(row);
  if (!audio) {
    std::fflush(stdout);
    std::fprintf(stderr, "tallymere-cli mp3info: \"%s\" is %s\n", file.c_str(),
                 audio.status().message().c_str());
  }
  return true;
}

struct Mp3InfoOptions {
  bool json = false;
  std::string id3v1_encoding;
  std::vector<std::string> files;
};

int RunMp3Info(const Mp3InfoOptions& options) {
  const LinuxPlatform platform(ProgramFolder(""));
  const CodePage code_page =
      Id3v1CodePage(options.id3v1_encoding, platform, "tallymere-cli mp3info");
  if (!options.json) {
    std::string header;
    for (std::size_t i = 0; i < std::size(kColumns); ++i) {
      if (i > 0) header += '\t';
      header += kColumns[i];
    }
    header += '\n';
    WriteStandardOutput(header);
  }
  int exit_status = 0;
  for (const std::string& file : options.files) {
    if (const std::string extension = LowerExtension(file);
        extension != kMp3Type && IsAudioExtension(extension)) {
      if (!PrintAudioFile(platform, file, extension, options.json)) exit_status = 1;
      continue;
    }
    // A fresh record per file: nothing of one file may show up in the next.
    Mp3Info info;
    const Result<std::string> bitrate = ReadMp3Info(platform, file, &info, code_page);
    if (!bitrate) {
      std::fflush(stdout);
      std::fprintf(stderr, "tallymere-cli: \"%s\": %s\n", file.c_str(),
                   bitrate.status().message().c_str());
      exit_status = 1;
      continue;
    }
    const Row row{file, *bitrate, info, "MPEG"};
    options.json ? PrintJsonRow(row) : PrintTableRow(row);
    // "---" on its own is easy to miss in a long table; a file that is no MP3
    // at all is worth a word, though it is no error.
    if (*bitrate == kNoHeader) {
      std::fflush(stdout);
      std::fprintf(stderr, "tallymere-cli mp3info: no MPEG audio header found in \"%s\"\n",
                   file.c_str());
    }
  }
  if (!FinishStandardOutput("tallymere-cli mp3info")) return 1;
  return exit_status;
}

}  // namespace

Command AddMp3InfoCommand(CLI::App& tool) {
  CLI::App* command =
      AddCommand(tool, "mp3info",
                 "Print bitrate, sample rate and tag of MP3 files and of every other audio format");
  auto options = std::make_shared<Mp3InfoOptions>();
  command->add_flag("--json", options->json,
                    "One JSON object per file and line instead of a tab-separated table");
  AddId3v1EncodingOption(command, &options->id3v1_encoding);
  command->add_option("FILE", options->files, "The files to read, each on its own")
      ->required()
      ->type_name("");
  command->footer(
      "A file that cannot be read is reported on stderr and the others are still read; the\n"
      "exit status is then 1. A file without an MPEG audio header gets its row with bitrate\n"
      "--- and a warning on stderr. Variable-bitrate files show their average bitrate, over\n"
      "the audio without a leading ID3v2 tag. The ID3v2 columns show the version (2.2, 2.3,\n"
      "2.4; empty for none) and the artist, title and album of a leading ID3v2 tag.\n"
      "Files of other audio formats (by their extension: mp2, flac, ogg, oga, opus, spx, m4a,\n"
      "m4b, mp4, aac, wma, asf, wav, aif, aiff, ape, wv, mpc, tta) show their tag's title,\n"
      "artist and album in the ID3v1 columns (has_tag 1 when any is set), their format and\n"
      "channels in the last two columns, and no MPEG version or layer; one that cannot be\n"
      "read gets bitrate --- and a warning on stderr. MP3 files show format MPEG and no\n"
      "channels.\n"
      "Put -- before the files when a name begins with -.");
  return {command, [options] { return RunMp3Info(*options); }};
}

}  // namespace tallymere::cli
