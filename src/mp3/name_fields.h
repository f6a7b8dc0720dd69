#pragma once
// File names and tag fields into each other, for MP3 Utilities: "Write Tag
// Using File Name" splits a name such as "Artist - Album - 05 - Title" into
// tag fields, and "Extract ID3 Tag" joins a file's tag fields into a name.

#include <optional>
#include <string>
#include <string_view>

#include "mp3/bitrat.h"

namespace tallymere {

// The three characters between the fields of a name.
inline constexpr std::string_view kNameSeparator = " - ";
// Longer names are not scanned: they fit no pattern.
inline constexpr int kMaxScannedNameCharacters = 300;
// A middle field of a three-field name longer than this is an album, else a
// comment (a track number such as "05").
inline constexpr int kMaxCommentFieldCharacters = 2;

struct NameFields {
  std::string artist;
  std::string album;
  std::string comment;
  std::string title;
};

// The number of character positions at which " - " starts.
int CountNameSeparators(std::string_view name);

// The fields a name sets, by the number of separators:
//   1  Artist - Title                  (the title is taken as it stands)
//   2  Artist - Album - Title, or Artist - 05 - Title (the 05 to the comment)
//   3  Artist - Album - Comment - Title
// Other fields stay empty; every field but the one-separator title is trimmed
// of spaces. Nothing for 0 or 4 and more separators, or a name longer than
// kMaxScannedNameCharacters.
std::optional<NameFields> FieldsFromFileName(std::string_view name);

// The name Extract ID3 Tag builds from a read: "Artist - " when there is an
// artist, then "Album - " and "Comment - " when asked for and present, then
// the title. Each field counts only up to its first NUL (other taggers pad
// with NULs) and is trimmed of spaces.
std::string NameFromTag(const Mp3Info& info, bool with_album, bool with_comment);

}  // namespace tallymere
