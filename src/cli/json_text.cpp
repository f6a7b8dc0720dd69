#include "cli/json_text.h"

#include <cstdio>

#include "common/text_encoding.h"

namespace tallymere::cli {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// The length of the valid UTF-8 sequence at text[pos], 0 when there is none.
std::size_t SequenceLength(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  if (pos + length > text.size()) return 0;
  return IsValidUtf8(text.substr(pos, length)) ? length : 0;
}

}  // namespace

std::string JsonString(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() + 2);
  out += '"';
  for (std::size_t pos = 0; pos < utf8.size();) {
    const char c = utf8[pos];
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80) {
      const std::size_t length = SequenceLength(utf8, pos);
      if (length == 0) {
        out += kReplacementCharacter;
        ++pos;
      } else {
        out.append(utf8.substr(pos, length));
        pos += length;
      }
      continue;
    }
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
          out += escaped;
        } else {
          out += c;
        }
    }
    ++pos;
  }
  out += '"';
  return out;
}

}  // namespace tallymere::cli
