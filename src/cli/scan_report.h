#pragma once
// What tallymere-cli scan writes on stderr besides errors: a progress line
// while it scans, and afterwards what it had to leave out.

#include <chrono>

#include "scan/scan_state.h"

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

// The folders that could not be read and the names that could not be
// catalogued, each line starting with prefix.
void ReportSkipped(const char* prefix, const ScanReport& report);

}  // namespace tallymere::cli
