#pragma once
// Line-oriented text files (settings, lists, playlists, the rename log).
//
// Writing chooses per file: Windows-1252 when every line fits, so
// Windows-1252 readers keep working, else UTF-8 behind a byte-order mark, so
// nothing is lost. Every line ends in CR LF, and the file is replaced
// atomically. Reading accepts both forms.

#include <string>
#include <string_view>
#include <vector>

#include "common/status.h"
#include "ports/platform.h"

namespace tallymere {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
inline constexpr std::string_view kLineEnd = "\r\n";

Status WriteTextFile(const Platform& platform, const std::string& native_path,
                     const std::vector<std::string>& utf8_lines);

// The lines of a text file in UTF-8. A file with a byte-order mark is UTF-8
// and its bytes are kept as they are (a raw file name in it survives); any
// other file is decoded as a whole (valid UTF-8 holding non-ASCII is UTF-8,
// anything else Windows-1252). Lines end in CR LF or LF; a last line without
// a line end still counts. The file may be max_bytes long at most.
Result<std::vector<std::string>> ReadTextLines(const Platform& platform,
                                               const std::string& native_path,
                                               std::size_t max_bytes = kSmallTextFileLimit);

// The same two steps on bytes, for callers that keep text elsewhere.
std::string EncodeTextFile(const std::vector<std::string>& utf8_lines);
std::vector<std::string> DecodeTextFile(std::string_view bytes);

}  // namespace tallymere
