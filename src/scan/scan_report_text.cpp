#include "scan/scan_report_text.h"

#include "common/format.h"

namespace tallymere {

SkippedText SkippedTextOf(const ScanReport& report) {
  SkippedText text;
  const int folders = report.skipped_folder_count;
  if (folders > 0) {
    text.folders_headline = std::to_string(folders) + (folders == 1 ? " folder" : " folders") +
                            " could not be read and " + (folders == 1 ? "was" : "were") +
                            " left out of the catalog:";
    text.folders = report.skipped_folders;
    if (folders > static_cast<int>(report.skipped_folders.size())) text.folders.push_back("...");
    text.folders_advice = "Check the permissions of these folders and scan again to include them.";
  }
  if (const int names = report.skipped_names; names > 0) {
    // A backslash separates folders in a catalog path, so such a name cannot be stored.
    text.names = std::to_string(names) +
                 (names == 1 ? " file or folder was" : " files or folders were") +
                 " left out because the name contains \"\\\". Rename them to include them.";
  }
  return text;
}

std::string LeftOutText(const ScanReport& report) {
  if (report.left_out_folders == 0 && report.left_out_files == 0) return {};
  return FormatCount(report.left_out_folders) + " folders and " +
         FormatCount(report.left_out_files) + " files left out by the rules";
}

}  // namespace tallymere
