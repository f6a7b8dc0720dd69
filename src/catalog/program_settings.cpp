#include "catalog/program_settings.h"

#include <algorithm>
#include <optional>

namespace tallymere {
namespace {

constexpr std::string_view kId3v1EncodingKey = "Id3v1Encoding";
constexpr std::string_view kShelfFolderKey = "ShelfFolder";  // one line per folder
constexpr std::string_view kShelfSubfoldersKey = "ShelfSubfolders";
constexpr std::string_view kShowDiskLabelsKey = "ShowDiskLabels";
// The leave-out rules, one line each, once the user has set them (without
// that line the defaults hold, so an emptied list stays empty).
constexpr std::string_view kLeaveOutSetKey = "LeaveOutSet";
constexpr std::string_view kLeaveOutKey = "LeaveOut";
constexpr std::string_view kIncludeHiddenKey = "IncludeHidden";
constexpr std::string_view kWriteId3v2Key = "WriteId3v2";
// Every key this version writes: a stored line of one of them is replaced,
// even when the settings now have no line of it (an emptied shelf).
constexpr std::string_view kOurKeys[] = {kId3v1EncodingKey,  kShelfFolderKey, kShelfSubfoldersKey,
                                         kShowDiskLabelsKey, kLeaveOutSetKey, kLeaveOutKey,
                                         kIncludeHiddenKey,  kWriteId3v2Key};

struct Line {
  std::string key;  // empty for a line that holds no "="
  std::string text;
};

std::vector<Line> SplitLines(std::string_view bytes) {
  std::vector<Line> lines;
  while (!bytes.empty()) {
    const std::size_t end = std::min(bytes.find('\n'), bytes.size());
    std::string text(bytes.substr(0, end));
    if (!text.empty() && text.back() == '\r') text.pop_back();
    bytes.remove_prefix(std::min(end + 1, bytes.size()));
    const std::size_t equals = text.find('=');
    lines.push_back({equals == std::string::npos ? std::string() : text.substr(0, equals), text});
  }
  return lines;
}

std::string ValueOf(const Line& line) { return line.text.substr(line.key.size() + 1); }

// The stored lines, or none when there is no file; a file that cannot be
// read is said in *problem.
std::vector<Line> StoredLines(const Platform& platform, std::string* problem) {
  const Result<std::string> bytes =
      platform.ReadFile(ProgramSettingsPath(platform), kSmallTextFileLimit);
  if (bytes.code() == StatusCode::kNotFound) return {};
  if (!bytes) {
    *problem = bytes.status().message();
    return {};
  }
  return SplitLines(*bytes);
}

}  // namespace

std::string ProgramSettingsPath(const Platform& platform) {
  return platform.ConfigFolder() + "/" + std::string(kProgramSettingsFileName);
}

ProgramSettings ReadProgramSettings(const Platform& platform, std::vector<std::string>* problems) {
  ProgramSettings settings;
  std::string problem;
  bool leave_out_set = false;
  std::vector<std::string> stored_rules;
  for (const Line& line : StoredLines(platform, &problem)) {
    if (line.key == kId3v1EncodingKey) {
      if (const std::optional<CodePage> page = CodePage::Named(ValueOf(line))) {
        settings.id3v1_code_page = *page;
      } else {
        problems->push_back("The ID3v1 text encoding \"" + ValueOf(line) +
                            "\" is not one Tallymere knows; Automatic is used.");
      }
    } else if (line.key == kShelfFolderKey && !ValueOf(line).empty()) {
      settings.shelf_folders.push_back(ValueOf(line));
    } else if (line.key == kShelfSubfoldersKey) {
      settings.shelf_subfolders = ValueOf(line) == "1";
    } else if (line.key == kShowDiskLabelsKey) {
      settings.show_disk_labels = ValueOf(line) == "1";
    } else if (line.key == kLeaveOutSetKey && ValueOf(line) == "1") {
      leave_out_set = true;
    } else if (line.key == kLeaveOutKey) {
      stored_rules.push_back(ValueOf(line));
    } else if (line.key == kIncludeHiddenKey) {
      settings.include_hidden = ValueOf(line) == "1";
    } else if (line.key == kWriteId3v2Key) {
      settings.write_id3v2 = ValueOf(line) != "0";
    }
  }
  if (leave_out_set) settings.leave_out = std::move(stored_rules);
  if (!problem.empty()) {
    problems->push_back(problem + "; Tallymere uses its default settings.");
  }
  return settings;
}

Status SaveProgramSettings(const Platform& platform, const ProgramSettings& settings) {
  std::string problem;
  std::vector<Line> lines = StoredLines(platform, &problem);
  // A file that exists but cannot be read would lose its other lines.
  if (!problem.empty()) return Status::Error(StatusCode::kOther, problem);
  const auto line = [](std::string_view key, const std::string& value) {
    return Line{std::string(key), std::string(key) + "=" + value};
  };
  std::vector<Line> ours = {line(kId3v1EncodingKey, settings.id3v1_code_page.name())};
  for (const std::string& folder : settings.shelf_folders) {
    ours.push_back(line(kShelfFolderKey, folder));
  }
  ours.push_back(line(kShelfSubfoldersKey, settings.shelf_subfolders ? "1" : "0"));
  ours.push_back(line(kShowDiskLabelsKey, settings.show_disk_labels ? "1" : "0"));
  // The default rules are not written, so a later version's defaults reach
  // those who never changed them.
  if (settings.leave_out != DefaultLeaveOutRules()) {
    ours.push_back(line(kLeaveOutSetKey, "1"));
    for (const std::string& rule : settings.leave_out) {
      // A line break would end the rule and begin a line of another meaning.
      if (rule.find_first_of("\r\n") == std::string::npos) {
        ours.push_back(line(kLeaveOutKey, rule));
      }
    }
  }
  if (settings.include_hidden) ours.push_back(line(kIncludeHiddenKey, "1"));
  // Written only when turned off, as the default is on.
  if (!settings.write_id3v2) ours.push_back(line(kWriteId3v2Key, "0"));
  // Our lines replace their stored forms; every other line stays in its place.
  std::erase_if(lines, [&](const Line& stored) {
    return std::find(std::begin(kOurKeys), std::end(kOurKeys), stored.key) != std::end(kOurKeys);
  });
  std::string bytes;
  for (const Line& kept : lines) bytes += kept.text + "\n";
  for (const Line& mine : ours) bytes += mine.text + "\n";
  if (Status made = platform.CreateNativeFolders(platform.ConfigFolder()); !made) return made;
  return platform.WriteFileAtomically(ProgramSettingsPath(platform), bytes);
}

}  // namespace tallymere
