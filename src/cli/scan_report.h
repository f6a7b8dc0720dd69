#pragma once
// What tallymere-cli scan writes on stderr besides errors: a progress line
// while it scans, and afterwards what it had to leave out.

#include <chrono>
#include <string>

#include "scan/scan_request.h"

namespace tallymere::cli {

// A line on a terminal that shows how far the scan has come, redrawn in place.
class ProgressLine {
 public:
  void Show(int folders, int files);
  // Wipes the line so that what follows starts on a clean one.
  void Finish();

 private:
  std::chrono::steady_clock::time_point m_last{};
  bool m_shown = false;
};

// What a scan run from the terminal tells while it works: progress on a
// terminal (nothing when stderr is redirected), and each MP3 file whose
// information could not be read, one line each.
class ConsoleScanObserver : public ScanObserver {
 public:
  // prefix names the command in each line ("tallymere-cli scan").
  explicit ConsoleScanObserver(std::string prefix);
  ~ConsoleScanObserver() override { m_progress.Finish(); }
  void Progress(int folders, int files) override;
  void FileFailed(std::string_view path, const Status& why) override;

 private:
  std::string m_prefix;
  bool m_on_terminal;
  ProgressLine m_progress;
};

// The folders that could not be read and the names that could not be
// catalogued, each line starting with prefix.
void ReportSkipped(const char* prefix, const ScanReport& report);

}  // namespace tallymere::cli
