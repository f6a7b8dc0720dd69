#include "cli/scan_report.h"

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
