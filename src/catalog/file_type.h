#pragma once
// The file type setting: "*.*" catalogues every file; "audio" every file of an
// audio format the tag reader knows; anything else is an extension whose
// characters a name's last characters must match (three for "mp3": SONG.MP3
// and xmp3 both pass; four for "flac"). The find panel's type patterns put
// "*." before the extension ("*.mp3").

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "common/ascii_case.h"
#include "common/characters.h"

namespace tallymere {

inline constexpr std::string_view kAllFiles = "*.*";
inline constexpr std::string_view kMp3Type = "mp3";
inline constexpr std::string_view kAudioType = "audio";
// A name's type is read from this many characters at its end.
inline constexpr std::size_t kTypeCharacters = 3;
// The longest extension a file type may be ("flac", "aiff", "opus").
inline constexpr std::size_t kLongestTypeCharacters = 4;

// The extensions of the audio formats whose bitrate, time and tags are read
// (MPEG audio, FLAC, Ogg, MP4, ASF, RIFF, APE, WavPack, Musepack, TrueAudio).
inline constexpr std::array<std::string_view, 20> kAudioExtensions = {
    "mp3", "mp2", "flac", "ogg", "oga", "opus", "spx", "m4a", "m4b", "mp4",
    "aac", "wma", "asf",  "wav", "aif", "aiff", "ape", "wv",  "mpc", "tta"};

// The extension of a name after its last ".", in lower case; empty for none.
inline std::string LowerExtension(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot + 1 >= name.size()) return {};
  return AsciiLower(name.substr(dot + 1));
}

inline bool IsAudioExtension(std::string_view lower_extension) {
  return std::find(kAudioExtensions.begin(), kAudioExtensions.end(), lower_extension) !=
         kAudioExtensions.end();
}

// Whether a name is that of an audio file: its extension is one of them.
inline bool IsAudioFileName(std::string_view name) {
  return IsAudioExtension(LowerExtension(name));
}

// Whether a catalog of this type holds music, whose bitrate, time and tags
// the views show: "mp3", "audio" or one audio format.
inline bool IsMusicType(std::string_view lower_type) {
  return lower_type == kAudioType || IsAudioExtension(lower_type);
}

// Whether a name passes the file type setting; lower_type is the setting in
// lower case.
inline bool PassesTypeFilter(std::string_view name, std::string_view lower_type) {
  if (lower_type == kAllFiles) return true;
  if (lower_type == kAudioType) return IsAudioFileName(name);
  const std::string_view last = NameEnd(name, CountCharacters(lower_type));
  return last.size() == lower_type.size() &&
         std::equal(last.begin(), last.end(), lower_type.begin(),
                    [](char c, char wanted) { return AsciiLower(c) == wanted; });
}

// A file type setting in its normal form: "*.*", "audio", or an extension of
// three or four characters in lower case ("MP3", ".mp3" and "*.mp3" all give
// "mp3"). Empty when the text cannot be a file type.
std::string NormalFileType(std::string_view text);

}  // namespace tallymere
