#include "platform/drives_file.h"

#include <algorithm>
#include <array>
#include <utility>

#include "common/ascii_case.h"
#include "common/text_encoding.h"
#include "common/text_lines.h"
#include "platform/mount_info.h"
#include "ports/platform.h"

namespace tallymere {
namespace {

constexpr std::array<std::pair<std::string_view, int>, 5> kTypeNames = {{
    {"removable", kDriveRemovable},
    {"fixed", kDriveFixed},
    {"remote", kDriveRemote},
    {"cdrom", kDriveCdRom},
    {"ramdisk", kDriveRamDisk},
}};
constexpr std::string_view kIgnoreWord = "ignore";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Takes the next blank-separated word off the front of *rest.
std::string_view NextWord(std::string_view* rest) {
  std::size_t start = 0;
  while (start < rest->size() && IsBlank((*rest)[start])) ++start;
  std::size_t end = start;
  while (end < rest->size() && !IsBlank((*rest)[end])) ++end;
  const std::string_view word = rest->substr(start, end - start);
  rest->remove_prefix(end);
  return word;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<DriveOverride> ParseLine(std::string_view line) {
  std::string_view rest = line;
  const std::string_view drive = NextWord(&rest);
  if (drive.size() != 2 || drive[1] != ':') return std::nullopt;
  const char letter = AsciiUpper(drive[0]);
  if (letter < 'A' || letter > 'Z') return std::nullopt;

  DriveOverride entry;
  entry.letter = letter;
  const std::string_view type_word = NextWord(&rest);
  if (EqualNoCase(type_word, kIgnoreWord)) {
    entry.ignored = true;
  } else if (const std::optional<int> type = DriveTypeFromName(type_word)) {
    entry.type = *type;
  } else {
    return std::nullopt;
  }

  const std::string_view folder = NextWord(&rest);
  if (folder.empty() || folder[0] != '/') return std::nullopt;
  entry.native_folder = TrimTrailingSlashes(DecodeOctalEscapes(folder));
  entry.label = DecodeText(TrimBlanks(rest));
  return entry;
}

}  // namespace

std::optional<int> DriveTypeFromName(std::string_view name) {
  for (const auto& [word, type] : kTypeNames) {
    if (EqualNoCase(name, word)) return type;
  }
  return std::nullopt;
}

std::string_view DriveTypeName(int type) {
  for (const auto& [word, value] : kTypeNames) {
    if (value == type) return word;
  }
  return "none";
}

std::string TrimTrailingSlashes(std::string_view folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.remove_suffix(1);
  return std::string(folder);
}

std::vector<DriveOverride> ParseDrivesFile(std::string_view text,
                                           std::vector<std::string>* problems) {
  std::vector<DriveOverride> entries;
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  int number = 0;
  for (std::string_view line : SplitLines(text)) {
    ++number;
    line = TrimBlanks(line);
    if (line.empty() || line.front() == '#') continue;

    std::optional<DriveOverride> entry = ParseLine(line);
    if (!entry) {
      if (problems != nullptr) {
        problems->push_back("line " + std::to_string(number) + " is not understood: \"" +
                            DecodeText(line) + "\"");
      }
      continue;
    }
    std::erase_if(entries, [&](const DriveOverride& e) { return e.letter == entry->letter; });
    entries.push_back(std::move(*entry));
  }
  std::sort(entries.begin(), entries.end(),
            [](const DriveOverride& a, const DriveOverride& b) { return a.letter < b.letter; });
  return entries;
}

}  // namespace tallymere
