#pragma once
// Splitting text into lines without decoding it: the lines keep their bytes,
// so native paths in them stay exactly as written.

#include <string_view>
#include <vector>

namespace tallymere {

// Lines end in LF or CR LF; a last line without an end still counts.
inline std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
  }
  return lines;
}

}  // namespace tallymere
