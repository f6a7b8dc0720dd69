#pragma once
// The file type setting: "*.*" catalogues every file, anything else is an
// extension whose characters a name's last three characters must match
// (SONG.MP3 and xmp3 both pass for "mp3"). The find panel's type patterns put
// "*." before the extension ("*.mp3").

#include <cstddef>
#include <string_view>

#include "common/ascii_case.h"
#include "common/characters.h"

namespace tallymere {

inline constexpr std::string_view kAllFiles = "*.*";
inline constexpr std::string_view kMp3Type = "mp3";
// A name's type is read from this many characters at its end.
inline constexpr std::size_t kTypeCharacters = 3;

// Whether a name passes the file type setting; lower_type is the setting in
// lower case.
inline bool PassesTypeFilter(std::string_view name, std::string_view lower_type) {
  if (lower_type == kAllFiles) return true;
  const std::string_view last = NameEnd(name, kTypeCharacters);
  return last.size() == lower_type.size() &&
         std::equal(last.begin(), last.end(), lower_type.begin(),
                    [](char c, char wanted) { return AsciiLower(c) == wanted; });
}

}  // namespace tallymere
