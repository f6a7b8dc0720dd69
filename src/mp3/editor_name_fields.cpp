#include "mp3/editor_name_fields.h"

#include <vector>

#include "mp3/name_fields.h"
#include "mp3/search_and_replace.h"

namespace tallymere {

std::optional<EditorNameFields> EditorFieldsFromName(std::string_view name) {
  const int separators = CountNameSeparators(name);
  if (separators < 1 || separators > 3) return std::nullopt;

  EditorNameFields fields;
  if (separators == 1) {
    const std::size_t at = name.find(kNameSeparator);
    fields.artist = TrimSpaces(name.substr(0, at));
    // The title keeps any blank after the separator.
    fields.title = std::string(name.substr(at + kNameSeparator.size()));
    return fields;
  }

  std::vector<std::string> parts;
  std::string rest(name);
  for (int i = 0; i < separators; ++i) {
    const std::size_t at = rest.find(kNameSeparator);
    if (at == std::string::npos ||
        CharacterCount(std::string_view(rest).substr(0, at)) >= kMaxSeparatorSearchCharacters) {
      return std::nullopt;
    }
    parts.push_back(TrimSpaces(std::string_view(rest).substr(0, at)));
    rest = TrimSpaces(std::string_view(rest).substr(at + kNameSeparator.size()));
  }
  fields.artist = parts[0];
  if (separators == 3 || CharacterCount(parts[1]) > kMaxTrackFieldCharacters) {
    fields.album = parts[1];
  }
  fields.title = rest;
  return fields;
}

}  // namespace tallymere
