// tallymere-cli list: the list the window's Create List writes for a data
// file, or, with a find condition, the list Create List from Search Result
// writes after that find.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/data_file.h"
#include "catalog/file_type.h"
#include "catalog/program_settings.h"
#include "catalog/settings.h"
#include "cli/command.h"
#include "cli/command_line.h"
#include "cli/output.h"
#include "lists/create_list.h"
#include "lists/list_entries.h"
#include "platform/heap_reuse.h"
#include "platform/linux_platform.h"
#include "search/find.h"
#include "views/file_list_row.h"

namespace tallymere::cli {
namespace {

constexpr const char* kPrefix = "tallymere-cli list";
// The output name that stands for standard output.
constexpr std::string_view kStandardOutput = "-";
// The largest column width the settings file holds.
constexpr int kMaxWidth = 32767;

// An option given as --NAME or --no-NAME, or neither (the settings decide).
struct Switch {
  bool on = false;
  bool off = false;
  void ApplyTo(int* check_box) const {
    if (on) *check_box = 1;
    if (off) *check_box = 0;
  }
};

struct ListOptions {
  std::string data_file;
  std::string output;
  Switch single, path, size, bitrate, header, summary, html, m3u, labels;
  int width = 0;
  std::string find_text;
  std::string type_pattern;
  std::string drive;
  std::string program_folder;
  // Set when the option was given, for those whose value cannot tell.
  CLI::Option* width_option = nullptr;
  CLI::Option* find_option = nullptr;
  CLI::Option* type_option = nullptr;
  CLI::Option* drive_option = nullptr;

  bool searches() const {
    return find_option->count() > 0 || type_option->count() > 0 || drive_option->count() > 0;
  }
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", kPrefix, message.c_str());
  return 1;
}

// "*.*", or "*." and an extension: "mp3", ".mp3" and "*.mp3" give "*.mp3",
// as the find panel's type list writes them.
CLI::Validator TypeCheck() {
  return CLI::Validator(
      [](std::string& text) {
        if (text == kAllFiles) return std::string();
        std::string extension = text;
        if (extension.starts_with('*')) extension.erase(0, 1);
        if (extension.starts_with('.')) extension.erase(0, 1);
        if (extension.empty() || extension.find_first_of("*?/\\.") != std::string::npos) {
          return "takes \"*.*\" or an extension such as \"*.mp3\", not \"" + text + "\"";
        }
        text = "*." + extension;
        return std::string();
      },
      "");
}

// "D", "d:", "D:\" and "D:/" all give "D:".
CLI::Validator DriveCheck() {
  return CLI::Validator(
      [](std::string& text) {
        const bool letter = !text.empty() && ((text[0] >= 'A' && text[0] <= 'Z') ||
                                              (text[0] >= 'a' && text[0] <= 'z'));
        const std::string_view rest = std::string_view(text).substr(letter ? 1 : 0);
        if (!letter || !(rest.empty() || rest == ":" || rest == ":\\" || rest == ":/")) {
          return "takes a drive letter such as D:, not \"" + text + "\"";
        }
        text = std::string(1, AsciiUpper(text[0])) + ":";
        return std::string();
      },
      "");
}

// The settings file, then what the command line says, then the forcing of
// M3U lists, as the window forces them before it writes one.
Settings ListSettings(const ListOptions& options, const Platform& platform) {
  Settings settings;
  if (Status status = ReadSettings(platform, &settings); !status) {
    std::fprintf(stderr, "%s: %s; using the default settings\n", kPrefix, status.message().c_str());
  }
  if (options.single.on || options.single.off) {
    settings.optOne = options.single.on ? "True" : "False";
    settings.optSeperate = options.single.on ? "False" : "True";
  }
  options.path.ApplyTo(&settings.chkPath);
  options.size.ApplyTo(&settings.chkSize);
  options.bitrate.ApplyTo(&settings.chkBitRate);
  options.header.ApplyTo(&settings.chkHeader);
  options.summary.ApplyTo(&settings.chkSum);
  options.html.ApplyTo(&settings.chkHtml);
  options.m3u.ApplyTo(&settings.chkM3U);
  if (options.width_option->count() > 0) settings.txtCol = static_cast<int16_t>(options.width);
  if (ListKindOf(settings) == ListKind::kM3u) ForceM3uOptions(&settings);
  return settings;
}

// The file list as Find in Drive or Find in All leaves it (sorted by File
// name), then sorted by Path as Create List from Search Result sorts it.
ListModel FoundFiles(const ListOptions& options, const Settings& settings,
                     const CatalogTable& catalog) {
  FindQuery query;
  query.text = options.find_text;
  query.type_pattern = options.type_option->count() > 0 ? options.type_pattern : kAllFiles;
  query.drive = options.drive;
  query.all_drives = options.drive.empty();
  const int icon = FileListIcon(settings.txtType);
  std::vector<ListRow> rows;
  for (int index : FindRecords(catalog, query)) {
    rows.push_back(FileListRow(catalog.Record(index), icon));
  }
  ListModel file_list = MakeFileList();
  file_list.AddRows(std::move(rows));
  file_list.SetSortKey(kColFileName);
  file_list.SetSorted(true);
  SortByPath(file_list);
  return file_list;
}

// --labels or --no-labels, else the window's Options choice.
bool ShowDiskLabels(const Switch& labels, const Platform& platform) {
  if (labels.on || labels.off) return labels.on;
  std::vector<std::string> problems;
  const ProgramSettings stored = ReadProgramSettings(platform, &problems);
  for (const std::string& problem : problems) {
    std::fprintf(stderr, "%s: %s\n", kPrefix, problem.c_str());
  }
  return stored.show_disk_labels;
}

int RunList(const ListOptions& options) {
  // Unlike the other commands, a list holds the whole catalog and its lines:
  // tens of megabytes of fresh memory, whose page faults would cost more
  // than the writing.
  KeepFreedMemoryForReuse();
  const std::string program_folder = ProgramFolder(options.program_folder);
  const LinuxPlatform platform(program_folder);
  ReportDriveMapProblems(platform, kPrefix);
  const Settings settings = ListSettings(options, platform);

  CatalogTable catalog;
  const std::string data_file = std::filesystem::absolute(options.data_file).string();
  const Status loaded = LoadDataFile(platform, data_file, &catalog);
  if (!RecordsWereRead(loaded)) return Fail(loaded.message());
  // A file cut short is listed as far as it goes, and said so.
  if (!loaded) std::fprintf(stderr, "%s: %s\n", kPrefix, loaded.message().c_str());
  const bool to_standard_output = options.output == kStandardOutput;
  ListRequest request{
      platform,       settings, ListFileName(std::filesystem::absolute(options.output).string()),
      platform.Now(), {},       {}};
  if (to_standard_output) {
    request.output = [](std::string_view bytes) {
      WriteStandardOutput(bytes);
      return Status::Ok();
    };
  }
  // The window makes empty texts at its start; a program folder that only the
  // command line has used has none, which is no reason to fail.
  request.show_disk_labels = ShowDiskLabels(options.labels, platform);
  request.missing_text = [](const std::string& note) {
    std::fprintf(stderr, "%s: %s\n", kPrefix, note.c_str());
  };
  // The rows point into the file list, which lives until the list is written.
  const ListModel found =
      options.searches() ? FoundFiles(options, settings, catalog) : MakeFileList();
  const Result<std::string> written =
      options.searches() ? WriteList(request, FileListEntries(found)) : WriteList(request, catalog);
  if (!written) return Fail(written.status().message());
  const int cut_short = loaded.ok() ? 0 : 1;
  if (to_standard_output) return FinishStandardOutput(kPrefix) ? cut_short : 1;
  std::printf("%s\n", written->c_str());
  return FinishStandardOutput(kPrefix, "the list \"" + *written + "\" was written") ? cut_short : 1;
}

// --NAME and --no-NAME, each refusing the other.
void AddSwitch(CLI::App* command, Switch* target, const std::string& on, const std::string& off,
               const std::string& on_help, const std::string& off_help) {
  CLI::Option* yes = command->add_flag(on, target->on, on_help);
  CLI::Option* no = command->add_flag(off, target->off, off_help);
  yes->excludes(no);
  no->excludes(yes);
}

}  // namespace

Command AddListCommand(CLI::App& tool) {
  CLI::App* command = AddCommand(
      tool, "list", "Write a text, HTML or M3U list of a data file, or of the files a find picks");
  auto options = std::make_shared<ListOptions>();
  AddSwitch(command, &options->single, "--single", "--by-folder", "One sorted list",
            "The files folder by folder");
  AddSwitch(command, &options->path, "--path", "--no-path", "Names with their folder",
            "File names alone");
  AddSwitch(command, &options->size, "--size", "--no-size", "Each file's size in bytes",
            "No sizes");
  AddSwitch(command, &options->bitrate, "--bitrate", "--no-bitrate", "Each file's bitrate",
            "No bitrates");
  AddSwitch(command, &options->header, "--header", "--no-header",
            "Header.txt at the top and (text lists) Footer.txt at the\n"
            "bottom, from the program folder",
            "Neither");
  AddSwitch(command, &options->summary, "--summary", "--no-summary",
            "The number of files, their size and the date at the end", "No totals");
  AddSwitch(command, &options->html, "--html", "--no-html",
            "An HTML page OUT.html instead of the text list", "A text list");
  AddSwitch(command, &options->m3u, "--m3u", "--no-m3u",
            "An M3U playlist OUT.m3u of the songs' paths on this\n"
            "machine; forces --single --path and no sizes, bitrates,\n"
            "header, totals or HTML",
            "No playlist");
  AddSwitch(command, &options->labels, "--labels", "--no-labels",
            "Each file's disk label: beside the folders of a by-folder\n"
            "list, after the names of a single one (not in playlists)",
            "No labels (default: the Options' Show disk labels)");
  options->width_option =
      command->add_option("--width", options->width, "Width of the name column in characters")
          ->type_name("W")
          ->check(CLI::Range(0, kMaxWidth));
  options->find_option =
      command->add_option("--find", options->find_text, "List the files whose name contains TEXT")
          ->type_name("TEXT");
  options->type_option =
      command
          ->add_option("--type", options->type_pattern,
                       "List the files of this type, such as \"*.mp3\" (\"*.*\": any)")
          ->type_name("PATTERN")
          ->transform(TypeCheck());
  options->drive_option =
      command->add_option("--drive", options->drive, "List the files on drive D: alone")
          ->type_name("D:")
          ->transform(DriveCheck());
  AddProgramFolderOption(command, &options->program_folder,
                         "Data/lists.dat, Data/drives.dat, Header.txt and Footer.txt");
  command
      ->add_option("-o,--output", options->output,
                   "The list file; \".txt\" is added unless the name ends in it;\n"
                   "- writes the list to standard output")
      ->required()
      ->type_name("OUT.txt")
      ->check(NotEmpty());
  command->add_option("FILE.mpd", options->data_file, "The data file")
      ->required()
      ->type_name("")
      ->check(NotEmpty());
  command->footer(
      "Without --find, --type or --drive the list holds every file of the catalog, as Create\n"
      "List writes it; with any of them, the files that find picks (in all drives unless\n"
      "--drive names one), sorted by folder, as Create List from Search Result writes them.\n"
      "Options not given are taken from Data/lists.dat; nothing is written back to it. The\n"
      "path of the file written (OUT.txt, OUT.html or OUT.m3u) is printed. A Header.txt or\n"
      "Footer.txt that does not exist counts as empty, with a note on stderr.");
  return {command, [options] { return RunList(*options); }};
}

}  // namespace tallymere::cli
