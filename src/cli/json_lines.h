#pragma once
// JSON output of the commands: one compact object per line, so that a reader
// can take the records one at a time.

#include <nlohmann/json.hpp>
#include <string>

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

}  // namespace tallymere::cli
