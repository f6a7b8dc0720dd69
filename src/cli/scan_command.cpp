// tallymere-cli scan: scans folders into a new data file, as a new scan in the
// window would, trailer included.

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "catalog/catalog_record.h"
#include "catalog/data_file.h"
#include "catalog/settings.h"
#include "cli/commands.h"
#include "cli/console_ui.h"
#include "common/format.h"
#include "platform/linux_platform.h"
#include "scan/scan_disk.h"

namespace tallymere::cli {
namespace {

constexpr const char* kPrefix = "tallymere-cli scan";
constexpr const char* kScanUsage =
    "Usage: tallymere-cli scan [--type EXT] [--mp3-info | --no-mp3-info] [--label LABEL]\n"
    "                          [--program-folder DIR] -o OUT.mpd ROOT...\n"
    "  ROOT            a catalog path (C:\\Music) or a folder of this machine (/home/me/Music)\n"
    "  --type EXT      \"*.*\" for all files or a three-letter extension such as mp3\n"
    "                  (default: the file type of the settings file)\n"
    "  --mp3-info      read bitrate, playing time and tag of each file of the type\n"
    "  --no-mp3-info   do not (default: the MP3-information setting)\n"
    "  --label LABEL   catalog the roots as one disk under LABEL\n"
    "  --program-folder DIR  where Data/lists.dat and Data/drives.dat live\n"
    "  -o OUT.mpd      the data file to write\n";
constexpr std::string_view kAllFiles = "*.*";
constexpr int kTypeCharacters = 3;
// The progress line is redrawn at most this often.
constexpr std::chrono::milliseconds kProgressInterval{100};

struct ScanOptions {
  std::optional<std::string> file_type;
  std::optional<int> mp3_info_flag;
  std::optional<std::string> label;
  std::optional<std::string> program_folder;
  std::string output;
  std::vector<std::string> roots;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", kPrefix, message.c_str());
  return 1;
}

int CountCharacters(std::string_view utf8) {
  int count = 0;
  for (char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

// "*.*", or three characters in lower case; "MP3", ".mp3" and "*.mp3" all give
// "mp3". Nothing when the text cannot be a file type.
std::optional<std::string> NormalFileType(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  }
  if (text == kAllFiles) return text;
  if (text.starts_with("*.")) text.erase(0, 1);
  if (text.starts_with('.') && CountCharacters(text) == kTypeCharacters + 1) text.erase(0, 1);
  if (CountCharacters(text) != kTypeCharacters) return std::nullopt;
  if (text.find_first_of("*?/\\") != std::string::npos) return std::nullopt;
  return text;
}

// Fills *options; returns an error text, or nothing when the arguments are sound.
std::optional<std::string> ParseOptions(const Arguments& args, ScanOptions* options) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string name = arg;
    std::optional<std::string> value;
    if (arg.starts_with("--") && arg.find('=') != std::string::npos) {
      name = arg.substr(0, arg.find('='));
      value = arg.substr(arg.find('=') + 1);
    }
    const auto take_value = [&]() -> std::optional<std::string> {
      if (value) return value;
      if (i + 1 >= args.size()) return std::nullopt;
      return args[++i];
    };
    if (name == "--type" || name == "--label" || name == "--program-folder" || name == "-o" ||
        name == "--output") {
      const std::optional<std::string> text = take_value();
      if (!text) return name + " needs a value";
      if (name == "--type") {
        options->file_type = NormalFileType(*text);
        if (!options->file_type) {
          return "--type takes \"*.*\" or a three-letter extension such as mp3, not \"" + *text +
                 "\"";
        }
      } else if (name == "--label") {
        if (text->empty()) return "--label needs a label that is not empty";
        if (IsDriveRootLabel(*text)) return "the label \"" + *text + "\" looks like a drive root";
        options->label = *text;
      } else if (name == "--program-folder") {
        options->program_folder = *text;
      } else {
        options->output = *text;
      }
    } else if (arg == "--mp3-info" || arg == "--no-mp3-info") {
      const int flag = arg == "--mp3-info" ? 1 : 0;
      if (options->mp3_info_flag && *options->mp3_info_flag != flag) {
        return "--mp3-info and --no-mp3-info exclude each other";
      }
      options->mp3_info_flag = flag;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return "unknown option \"" + arg + "\"";
    } else if (arg.empty()) {
      return "a root may not be empty";
    } else {
      options->roots.push_back(arg);
    }
  }
  if (options->output.empty()) return "no data file given (-o OUT.mpd)";
  if (options->roots.empty()) return "no folder to scan given";
  return std::nullopt;
}

bool IsCatalogPath(std::string_view root) {
  if (root.size() < 2 || root[1] != ':') return false;
  const char letter = root[0];
  return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

// The catalog path of a root given either way; an error text when it has none.
// Catalogs name drives in upper case, so "c:\Music" becomes "C:\Music".
Result<std::string> CatalogRoot(const Platform& platform, const std::string& root) {
  if (IsCatalogPath(root)) {
    std::string catalog = root;
    if (catalog[0] >= 'a' && catalog[0] <= 'z')
      catalog[0] = static_cast<char>(catalog[0] - ('a' - 'A'));
    return catalog;
  }
  char resolved[PATH_MAX];
  if (realpath(root.c_str(), resolved) == nullptr) {
    return Status::Error("cannot scan \"" + root + "\": " + std::strerror(errno));
  }
  const std::optional<std::string> catalog = platform.ToCatalog(resolved);
  if (!catalog) {
    return Status::Error("cannot scan \"" + root + "\": no drive holds the folder " + resolved);
  }
  return *catalog;
}

// A line on a terminal that shows how far the scan has come, redrawn in place.
class ProgressLine {
 public:
  void Show(int folders, int files) {
    const auto now = std::chrono::steady_clock::now();
    if (m_shown && now - m_last < kProgressInterval) return;
    m_last = now;
    m_shown = true;
    std::fprintf(stderr, "\rScanning: %d folders, %d files", folders, files);
    std::fflush(stderr);
  }
  // Wipes the line so that what follows starts on a clean one.
  void Finish() {
    if (!m_shown) return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
  }

 private:
  std::chrono::steady_clock::time_point m_last{};
  bool m_shown = false;
};

void ReportSkipped(const ScanReport& report) {
  if (report.skipped_folder_count > 0) {
    std::fprintf(stderr, "%s: %d %s could not be read and %s left out:\n", kPrefix,
                 report.skipped_folder_count,
                 report.skipped_folder_count == 1 ? "folder" : "folders",
                 report.skipped_folder_count == 1 ? "was" : "were");
    for (const std::string& folder : report.skipped_folders) {
      std::fprintf(stderr, "  %s\n", folder.c_str());
    }
    if (report.skipped_folder_count > static_cast<int>(report.skipped_folders.size())) {
      std::fputs("  ...\n", stderr);
    }
  }
  if (report.skipped_names > 0) {
    std::fprintf(stderr, "%s: %d %s holding \"\\\" could not be catalogued\n", kPrefix,
                 report.skipped_names, report.skipped_names == 1 ? "name" : "names");
  }
}

}  // namespace

int RunScan(const Arguments& args) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(kScanUsage, stdout);
    return 0;
  }
  ScanOptions options;
  if (const std::optional<std::string> error = ParseOptions(args, &options)) {
    std::fprintf(stderr, "%s: %s\n%s", kPrefix, error->c_str(), kScanUsage);
    return 1;
  }

  const std::string program_folder =
      options.program_folder ? *options.program_folder : LinuxPlatform::FindProgramFolder();
  const LinuxPlatform platform(program_folder);
  ScanSettings settings;
  if (!options.file_type || !options.mp3_info_flag) {
    Settings stored;
    if (Status status = LoadSettings(platform, &stored); !status) {
      std::fprintf(stderr, "%s: %s; using the default settings\n", kPrefix,
                   status.message().c_str());
    }
    settings.file_type = stored.txtType;
    settings.mp3_info_flag = stored.chkBitRate;
  }
  if (options.file_type) settings.file_type = *options.file_type;
  if (options.mp3_info_flag) settings.mp3_info_flag = *options.mp3_info_flag;

  ScanState state;
  for (const std::string& root : options.roots) {
    Result<std::string> catalog_root = CatalogRoot(platform, root);
    if (!catalog_root) return Fail(catalog_root.status().message());
    state.lstBox.push_back(*catalog_root);
  }
  if (options.label) {
    state.label_mode = true;
    state.label = *options.label;
  }

  ConsoleUi ui(kPrefix);
  ScanEngine engine(platform, ui, state);
  ProgressLine progress;
  if (isatty(STDERR_FILENO)) {
    engine.set_progress([&](int folders, int files) { progress.Show(folders, files); });
  }
  CatalogTable table;
  ScanReport report;
  const Status scanned = engine.ScanDisk(settings, &table, &report);
  progress.Finish();
  if (!scanned) return Fail(scanned.message());

  table.SetRecord(table.CatalogEnd(), MakeTrailer(settings.file_type, settings.mp3_info_flag,
                                                  FormatDateTime(platform.Now())));
  if (Status saved = SaveDataFile(platform, table, options.output); !saved)
    return Fail(saved.message());

  ReportSkipped(report);
  std::printf("Total: %d files, %s MB\n", state.file_count,
              FormatMegabytes(static_cast<double>(table.TotalSize())).c_str());
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace tallymere::cli
