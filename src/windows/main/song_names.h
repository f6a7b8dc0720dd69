#pragma once
// What both editors of the side panel take for an MP3 file, and the name
// they show for it.

#include <string_view>

#include "common/characters.h"
#include "common/sorted_list.h"

namespace tallymere {

inline constexpr std::string_view kSongExtension = ".mp3";

// The last four characters of the File name are ".mp3" in any letter case.
inline bool EndsInMp3(std::string_view file_name) {
  return CompareNoCase(LastCharacters(file_name, kSongExtension.size()), kSongExtension) == 0;
}

// The File name without its last four characters (the extension).
inline std::string_view WithoutExtension(std::string_view file_name) {
  return WithoutLastCharacters(file_name, kSongExtension.size());
}

}  // namespace tallymere
