#include "mp3/name_fields.h"

#include <vector>

#include "common/shown_text.h"
#include "mp3/search_and_replace.h"

namespace tallymere {
namespace {

// The texts between the separators, found left to right.
std::vector<std::string> SplitAtSeparators(std::string_view name) {
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (std::size_t pos = name.find(kNameSeparator); pos != std::string_view::npos;
       pos = name.find(kNameSeparator, from)) {
    parts.emplace_back(name.substr(from, pos - from));
    from = pos + kNameSeparator.size();
  }
  parts.emplace_back(name.substr(from));
  return parts;
}

// A tag text as a name part: up to its first NUL, without spaces at the ends,
// followed by the separator when it is not empty.
std::string NamePart(std::string_view tag_text) {
  const std::string text = TrimSpaces(ShownText(tag_text));
  return text.empty() ? text : text + std::string(kNameSeparator);
}

}  // namespace

int CountNameSeparators(std::string_view name) {
  int count = 0;
  for (std::size_t pos = name.find(kNameSeparator); pos != std::string_view::npos;
       pos = name.find(kNameSeparator, pos + 1)) {
    ++count;
  }
  return count;
}

std::optional<NameFields> FieldsFromFileName(std::string_view name) {
  if (CharacterCount(name) > kMaxScannedNameCharacters) return std::nullopt;
  const int separators = CountNameSeparators(name);
  if (separators < 1 || separators > 3) return std::nullopt;
  std::vector<std::string> parts = SplitAtSeparators(name);
  // " - - " holds two overlapping separators but splits into fewer parts.
  parts.resize(static_cast<std::size_t>(separators) + 1);

  NameFields fields;
  fields.artist = TrimSpaces(parts[0]);
  switch (separators) {
    case 1:
      fields.title = parts[1];
      break;
    case 2: {
      std::string middle = TrimSpaces(parts[1]);
      (CharacterCount(middle) > kMaxCommentFieldCharacters ? fields.album : fields.comment) =
          std::move(middle);
      fields.title = TrimSpaces(parts[2]);
      break;
    }
    default:
      fields.album = TrimSpaces(parts[1]);
      fields.comment = TrimSpaces(parts[2]);
      fields.title = TrimSpaces(parts[3]);
      break;
  }
  return fields;
}

std::string NameFromTag(const Mp3Info& info, bool with_album, bool with_comment) {
  std::string name = NamePart(info.TagArtist);
  if (with_album) name += NamePart(info.TagAlbum);
  if (with_comment) name += NamePart(info.TagComment);
  name += TrimSpaces(ShownText(info.TagTitle));
  return name;
}

}  // namespace tallymere
