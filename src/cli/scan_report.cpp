#include "cli/scan_report.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "catalog/data_file.h"
#include "scan/scan_report_text.h"

namespace tallymere::cli {
namespace {

// The progress line is redrawn at most this often.
constexpr std::chrono::milliseconds kProgressInterval{100};

// The terminal's width; 80 where it does not say.
int TerminalWidth() {
  winsize size{};
  if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

}  // namespace

std::string ProgressText(int folders, int files, std::string_view folder, int width) {
  std::string text =
      "Scanning: " + std::to_string(folders) + " folders, " + std::to_string(files) + " files";
  if (!folder.empty()) text += "  " + std::string(folder);
  // One column is left free: a line that fills the terminal wraps on some.
  int columns = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if ((static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) continue;
    if (++columns == width) return text.substr(0, at);
  }
  return text;
}

void ProgressLine::Show(int folders, int files, std::string_view folder) {
  const auto now = std::chrono::steady_clock::now();
  if (m_shown && now - m_last < kProgressInterval) return;
  m_last = now;
  m_shown = true;
  const std::string text = ProgressText(folders, files, folder, TerminalWidth());
  std::fprintf(stderr, "\r%s\033[K", text.c_str());
  std::fflush(stderr);
}

void ProgressLine::Finish() {
  if (!m_shown) return;
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
  m_shown = false;
}

ConsoleScanObserver::ConsoleScanObserver(std::string prefix, bool quiet)
    : m_prefix(std::move(prefix)), m_show_progress(!quiet && isatty(STDERR_FILENO) != 0) {}

void ConsoleScanObserver::FolderFound(std::string_view folder) {
  if (m_show_progress) m_folder.assign(folder);
}

void ConsoleScanObserver::FileFound(std::string_view folder, std::string_view /*name*/) {
  // Files come folder by folder: the copy is made once per folder.
  if (m_show_progress && folder != m_folder) m_folder.assign(folder);
}

void ConsoleScanObserver::Progress(int folders, int files) {
  if (m_show_progress) m_progress.Show(folders, files, m_folder);
}

void ConsoleScanObserver::FileFailed(std::string_view path, const Status& why) {
  // The line may follow a progress line: that one goes first.
  m_progress.Finish();
  std::fprintf(stderr, "%s: %s. while opening \"%.*s\"\n", m_prefix.c_str(), why.message().c_str(),
               static_cast<int>(path.size()), path.data());
}

void AddQuietOption(CLI::App* command, bool* quiet) {
  command->add_flag("-q,--quiet", *quiet, "Show no progress line on a terminal");
}

void ReportOlderPrograms(const char* prefix, const CatalogTable& catalog) {
  if (const std::optional<std::string> note = OlderProgramsNote(catalog)) {
    std::fprintf(stderr, "%s: %s\n", prefix, note->c_str());
  }
}

void ReportSkipped(const char* prefix, const ScanReport& report) {
  const SkippedText skipped = SkippedTextOf(report);
  if (!skipped.folders_headline.empty()) {
    std::fprintf(stderr, "%s: %s\n", prefix, skipped.folders_headline.c_str());
    for (const std::string& folder : skipped.folders) {
      std::fprintf(stderr, "  %s\n", folder.c_str());
    }
  }
  if (!skipped.names.empty()) std::fprintf(stderr, "%s: %s\n", prefix, skipped.names.c_str());
  for (const ScanReport::LeftOut& left_out : report.left_out) {
    std::printf("left out: %s  (rule %s)\n", left_out.path.c_str(), left_out.rule.c_str());
  }
  // Said beside the other counts, so standard output keeps its own lines.
  if (const std::string left_out = LeftOutText(report); !left_out.empty()) {
    std::fprintf(stderr, "%s: %s.\n", prefix, left_out.c_str());
  }
}

}  // namespace tallymere::cli
