#include "mp3/id3v1.h"

#include "mp3/genres.h"

namespace tallymere {
namespace {

std::string_view FieldBytes(std::string_view block, TagField field) {
  return block.substr(field.offset, field.width);
}

std::string_view TrimSpaces(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

}  // namespace

bool IsTagBlock(std::string_view block) {
  return block.size() == kTagSize && FieldBytes(block, kTagMarker) == kTagMarkerText;
}

bool IsErasedTagBlock(std::string_view block) {
  return block.size() == kTagSize && FieldBytes(block, kTagMarker) == kErasedMarkerText;
}

std::string ReadTagText(std::string_view block, TagField field, const CodePage& code_page) {
  return code_page.Decode(TrimSpaces(FieldBytes(block, field)));
}

Id3v1Tag ReadTagBlock(std::string_view block, const CodePage& code_page) {
  Id3v1Tag tag;
  tag.title = ReadTagText(block, kTagTitle, code_page);
  tag.artist = ReadTagText(block, kTagArtist, code_page);
  tag.album = ReadTagText(block, kTagAlbum, code_page);
  tag.year = ReadTagText(block, kTagYear, code_page);
  tag.comment = ReadTagText(block, kTagComment, code_page);
  tag.genre = static_cast<uint8_t>(block[kTagGenreOffset]);
  return tag;
}

std::string EmptyTagBlock() {
  std::string block(kTagSize, ' ');
  block.replace(kTagMarker.offset, kTagMarker.width, kTagMarkerText);
  block[kTagGenreOffset] = static_cast<char>(kNoGenre);
  return block;
}

}  // namespace tallymere
