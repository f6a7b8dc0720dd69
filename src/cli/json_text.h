#pragma once
// JSON output of the CLI commands.

#include <string>
#include <string_view>

namespace tallymere::cli {

// The text as a JSON string, quotes included. Quote, backslash and control
// characters are escaped (NUL as \u0000); other characters stay UTF-8. A byte
// that is not part of valid UTF-8 (a raw file name) becomes U+FFFD.
std::string JsonString(std::string_view utf8);

}  // namespace tallymere::cli
