#include "catalog/text_file.h"

#include <algorithm>

#include "common/text_encoding.h"

namespace tallymere {

std::string EncodeTextFile(const std::vector<std::string>& utf8_lines) {
  // ASCII lines, nearly all of a long list, are the same bytes in either
  // form; only the others need decoding.
  const bool fits = std::all_of(utf8_lines.begin(), utf8_lines.end(), [](const std::string& line) {
    return IsAscii(line) || FitsWindows1252(line);
  });
  std::size_t size = kUtf8ByteOrderMark.size();
  for (const std::string& line : utf8_lines) size += line.size() + kLineEnd.size();
  std::string bytes;
  bytes.reserve(size);
  if (!fits) bytes += kUtf8ByteOrderMark;
  for (const std::string& line : utf8_lines) {
    if (fits && !IsAscii(line)) {
      bytes += Utf8ToWindows1252(line);
    } else {
      bytes += line;
    }
    bytes += kLineEnd;
  }
  return bytes;
}

std::vector<std::string> DecodeTextFile(std::string_view bytes) {
  std::string text;
  if (bytes.starts_with(kUtf8ByteOrderMark)) {
    text = bytes.substr(kUtf8ByteOrderMark.size());
  } else {
    text = DecodeText(bytes);
  }
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    const bool has_end = end != std::string::npos;
    if (!has_end) end = text.size();
    std::size_t length = end - pos;
    if (has_end && length > 0 && text[end - 1] == '\r') --length;
    lines.push_back(text.substr(pos, length));
    pos = end + 1;
  }
  return lines;
}

Status WriteTextFile(const Platform& platform, const std::string& native_path,
                     const std::vector<std::string>& utf8_lines) {
  return platform.WriteFileAtomically(native_path, EncodeTextFile(utf8_lines));
}

Result<std::vector<std::string>> ReadTextLines(const Platform& platform,
                                               const std::string& native_path,
                                               std::size_t max_bytes) {
  Result<std::string> bytes = platform.ReadFile(native_path, max_bytes);
  if (!bytes.ok()) return bytes.status();
  return DecodeTextFile(*bytes);
}

}  // namespace tallymere
