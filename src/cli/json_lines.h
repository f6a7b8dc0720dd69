#pragma once
// JSON output of the commands: one compact object per line, so that a reader
// can take the records one at a time.

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace tallymere::cli {

// Keeps the keys in the order they are set: the order of the fields in the
// data file and of the columns in the table form.
using JsonObject = nlohmann::ordered_json;

// The object on one line, ended by a line break. Texts in memory are UTF-8,
// but a file name given on the command line is a byte string that need not
// be; JSON cannot carry such bytes, so each invalid sequence becomes U+FFFD
// rather than failing the whole output.
inline std::string JsonLine(const JsonObject& object) {
  constexpr int kCompact = -1;
  std::string line =
      object.dump(kCompact, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
  line += '\n';
  return line;
}

// Appends a text as a JSON string, byte for byte as JsonLine writes it in an
// object. A text of printable ASCII, as nearly every name and path is, is
// copied with a backslash before each quote and backslash, as JSON (and the
// library) writes them; any other goes through the JSON library. A command
// writing tens of thousands of lines spends most of its time in the library's
// escaping otherwise.
inline void AppendJsonString(std::string_view text, std::string* out) {
  bool printable_ascii = true;
  for (const char c : text) {
    // 0x80 and above read as negative here, so they take the library's way.
    if (c < 0x20 || c >= 0x7F) {
      printable_ascii = false;
      break;
    }
  }
  if (!printable_ascii) {
    constexpr int kCompact = -1;
    out->append(JsonObject(std::string(text))
                    .dump(kCompact, ' ', false, nlohmann::ordered_json::error_handler_t::replace));
    return;
  }
  out->push_back('"');
  for (const char c : text) {
    if (c == '"' || c == '\\') out->push_back('\\');
    out->push_back(c);
  }
  out->push_back('"');
}

}  // namespace tallymere::cli
