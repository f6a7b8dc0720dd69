#include "cli/scan_report.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace tallymere::cli {
namespace {

// The progress line is redrawn at most this often.
constexpr std::chrono::milliseconds kProgressInterval{100};

}  // namespace

void ProgressLine::Show(int folders, int files) {
  const auto now = std::chrono::steady_clock::now();
  if (m_shown && now - m_last < kProgressInterval) return;
  m_last = now;
  m_shown = true;
  std::fprintf(stderr, "\rScanning: %d folders, %d files", folders, files);
  std::fflush(stderr);
}

void ProgressLine::Finish() {
  if (!m_shown) return;
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
  m_shown = false;
}

ConsoleScanObserver::ConsoleScanObserver(std::string prefix)
    : m_prefix(std::move(prefix)), m_on_terminal(isatty(STDERR_FILENO) != 0) {}

void ConsoleScanObserver::Progress(int folders, int files) {
  if (m_on_terminal) m_progress.Show(folders, files);
}

void ConsoleScanObserver::FileFailed(std::string_view path, const Status& why) {
  // The line may follow a progress line: that one goes first.
  m_progress.Finish();
  std::fprintf(stderr, "%s: %s. while opening \"%.*s\"\n", m_prefix.c_str(), why.message().c_str(),
               static_cast<int>(path.size()), path.data());
}

void ReportSkipped(const char* prefix, const ScanReport& report) {
  if (report.skipped_folder_count > 0) {
    std::fprintf(stderr, "%s: %d %s could not be read and %s left out:\n", prefix,
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
    std::fprintf(stderr, "%s: %d %s holding \"\\\" could not be catalogued\n", prefix,
                 report.skipped_names, report.skipped_names == 1 ? "name" : "names");
  }
}

}  // namespace tallymere::cli
