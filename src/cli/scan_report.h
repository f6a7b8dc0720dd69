#pragma once
// What tallymere-cli scan writes on stderr besides errors: a progress line
// while it scans, and afterwards what it had to leave out.

#include <CLI/CLI.hpp>
#include <chrono>
#include <string>

#include "scan/scan_request.h"

namespace tallymere::cli {

// "Scanning: 12 folders, 345 files  C:\Music\Pop\", cut to `width` columns
// (characters, not bytes) so that it never wraps and can be redrawn in place.
std::string ProgressText(int folders, int files, std::string_view folder, int width);

// A line on a terminal that shows how far the scan has come, redrawn in place
// at most ten times a second.
class ProgressLine {
 public:
  void Show(int folders, int files, std::string_view folder);
  // Wipes the line so that what follows starts on a clean one.
  void Finish();

 private:
  std::chrono::steady_clock::time_point m_last{};
  bool m_shown = false;
};

// What a scan run from the terminal tells while it works: progress with the
// folder being read on a terminal (nothing when stderr is redirected or the
// user asked for quiet), and each MP3 file whose information could not be
// read, one line each.
class ConsoleScanObserver : public ScanObserver {
 public:
  // prefix names the command in each line ("tallymere-cli scan").
  ConsoleScanObserver(std::string prefix, bool quiet);
  ~ConsoleScanObserver() override { m_progress.Finish(); }
  void FolderFound(std::string_view folder) override;
  void FileFound(std::string_view folder, std::string_view name) override;
  void Progress(int folders, int files) override;
  void FileFailed(std::string_view path, const Status& why) override;

 private:
  std::string m_prefix;
  bool m_show_progress;
  std::string m_folder;
  ProgressLine m_progress;
};

// --quiet: no progress line, for scripts that run on a terminal.
void AddQuietOption(CLI::App* command, bool* quiet);

// That programs with the described table of 32,766 records cannot open the
// catalog just written, when so, after prefix.
void ReportOlderPrograms(const char* prefix, const CatalogTable& catalog);

// The folders that could not be read and the names that could not be
// catalogued, each line starting with prefix.
void ReportSkipped(const char* prefix, const ScanReport& report);

}  // namespace tallymere::cli
