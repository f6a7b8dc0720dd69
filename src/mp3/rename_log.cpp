#include "mp3/rename_log.h"

namespace tallymere {
namespace {

constexpr std::size_t kTitleIndent = 18;
constexpr std::size_t kDateIndent = 22;
constexpr std::size_t kRuleWidth = 64;
constexpr std::string_view kTitle = "Tallymere Rename Log";
constexpr std::string_view kFolderGap = "   ";

}  // namespace

std::string RenameLogFileText(std::string_view folder, std::string_view file_name) {
  std::string text(folder);
  text += kFolderGap;
  text += file_name;
  return text;
}

std::string RenameLogFailureText(std::string_view description) {
  return "---------> " + std::string(description) + " <----------";
}

std::vector<std::string> RenameLogLines(std::string_view log_path, std::string_view date_text,
                                        const std::vector<RenameLogEntry>& entries, int failures) {
  const std::string rule(kRuleWidth, '=');
  std::vector<std::string> lines;
  lines.reserve(entries.size() * 3 + 12);
  lines.push_back(std::string(kTitleIndent, ' ') + std::string(kTitle));
  lines.push_back(std::string(kDateIndent, ' ') + std::string(date_text));
  lines.emplace_back();
  lines.push_back("Log file: " + std::string(log_path));
  lines.push_back(rule);
  for (const RenameLogEntry& entry : entries) {
    lines.emplace_back();
    lines.push_back("Old: " + entry.old_text);
    lines.push_back("New: " + entry.new_text);
  }
  lines.emplace_back();
  lines.push_back(rule);
  const int renamed = static_cast<int>(entries.size()) - failures;
  lines.push_back("Total number of file(s) renamed: " + std::to_string(renamed));
  if (failures > 0) {
    lines.emplace_back();
    lines.push_back(std::to_string(failures) + " error(s).");
  }
  return lines;
}

}  // namespace tallymere
