#pragma once
// The ID3v1 tag: the last 128 bytes of an MP3 file.
//
//   0    3  marker   "TAG", or "000" once the tag was erased
//   3   30  title    text, space padded (other taggers pad with NULs)
//  33   30  artist
//  63   30  album
//  93    4  year
//  97   30  comment
// 127    1  genre    index into Genres
//
// Texts are stored per field in the code page the user names; Automatic
// stores Windows-1252 when they fit, else UTF-8.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/code_page.h"

namespace tallymere {

inline constexpr std::size_t kTagSize = 128;

struct TagField {
  std::size_t offset;
  std::size_t width;
};

inline constexpr TagField kTagMarker{0, 3};
inline constexpr TagField kTagTitle{3, 30};
inline constexpr TagField kTagArtist{33, 30};
inline constexpr TagField kTagAlbum{63, 30};
inline constexpr TagField kTagYear{93, 4};
inline constexpr TagField kTagComment{97, 30};
inline constexpr std::size_t kTagGenreOffset = 127;

// The five text fields in the order they are written.
inline constexpr std::array<TagField, 5> kTagTextFields = {kTagTitle, kTagArtist, kTagAlbum,
                                                           kTagYear, kTagComment};

inline constexpr std::string_view kTagMarkerText = "TAG";
inline constexpr std::string_view kErasedMarkerText = "000";
// The genre byte an erased block carries.
inline constexpr uint8_t kErasedGenreByte = 254;

static_assert(kTagComment.offset + kTagComment.width == kTagGenreOffset);
static_assert(kTagGenreOffset + 1 == kTagSize);

// The fields of a tag block as the program reads them.
struct Id3v1Tag {
  std::string title;
  std::string artist;
  std::string album;
  std::string year;
  std::string comment;
  uint8_t genre = 0;
};

// A block holds a tag when it is a whole block that begins with "TAG".
bool IsTagBlock(std::string_view block);
// An erased tag begins with "000"; it no longer counts as a tag but its bytes
// are reused when a tag is written again.
bool IsErasedTagBlock(std::string_view block);

// One text field: spaces removed at both ends (NULs are kept, as other taggers
// pad with them), then decoded to UTF-8 from the code page.
std::string ReadTagText(std::string_view block, TagField field,
                        const CodePage& code_page = CodePage());

// All fields of a block for which IsTagBlock holds.
Id3v1Tag ReadTagBlock(std::string_view block, const CodePage& code_page = CodePage());

// A block as a new tag starts out: "TAG", every text field spaces (each reads
// back empty) and the genre kNoGenre (reads back as no genre).
std::string EmptyTagBlock();

}  // namespace tallymere
