#pragma once
// rename.log, the record of one Rename of MP3 Utilities. Lines in order:
//   18 spaces + "Tallymere Rename Log"
//   22 spaces + the date and time
//   ""
//   "Log file: " + the log's own path
//   64 "="
//   per entry: "", "Old: " + old text, "New: " + new text
//   "", 64 "=", "Total number of file(s) renamed: " + renamed count
//   only after failures: "", failures + " error(s)."
// An old or new text is the folder, three spaces and the file name; a failed
// rename shows the failure between arrow markers as its new text.

#include <string>
#include <string_view>
#include <vector>

namespace tallymere {

inline constexpr std::string_view kRenameLogName = "rename.log";

struct RenameLogEntry {
  std::string old_text;
  std::string new_text;
};

// "C:\Music\" and "Track01.mp3" give "C:\Music\   Track01.mp3".
std::string RenameLogFileText(std::string_view folder, std::string_view file_name);

// "---------> " + description + " <----------".
std::string RenameLogFailureText(std::string_view description);

std::vector<std::string> RenameLogLines(std::string_view log_path, std::string_view date_text,
                                        const std::vector<RenameLogEntry>& entries, int failures);

}  // namespace tallymere
