#pragma once
// The Data Field Editor's reading of a file name (without its extension) into
// Artist, Title and, sometimes, Album. It shares the separator " - " and its
// count with "Write Tag Using File Name" (mp3/name_fields.h), but splits
// differently: it walks the separators in a text trimmed after each one, so
// a name such as "A -  - B" whose separators share or lose a blank cannot be
// split, and a name longer than 300 characters can, as long as each
// separator starts within the first 300 characters of what is left.
//
//   Artist - Title                  Artist trimmed, Title as it stands
//   Artist - Album - Title          Album only when longer than two characters
//   Artist - 01 - Title             ...so "01" leaves the Album as it was
//   Artist - Album - 01 - Title     the third field is dropped

#include <optional>
#include <string>
#include <string_view>

namespace tallymere {

// A separator is looked for no further than this many characters into the
// text left after the previous one.
inline constexpr int kMaxSeparatorSearchCharacters = 300;
// A middle field of a two-separator name this short is a track number.
inline constexpr int kMaxTrackFieldCharacters = 2;

struct EditorNameFields {
  std::string artist;
  std::optional<std::string> album;  // nothing: the entry keeps its Album
  std::string title;
};

// Nothing when the name has no separator, four or more, or a separator that
// the walk cannot find.
std::optional<EditorNameFields> EditorFieldsFromName(std::string_view name);

}  // namespace tallymere
