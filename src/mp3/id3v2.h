#pragma once
// The ID3v2 tag that modern encoders and taggers put at the start of an MP3
// file. Its size matters for the audio, which begins right after it (and its
// cover art is full of 0xFF bytes that would pass for frame syncs); and a
// file without an ID3v1 tag takes its artist, title and album from it.
//
//   0   3  "ID3"
//   3   2  version (major, revision), neither 0xFF
//   5   1  flags; 0x80 unsynchronised, 0x40 an extended header follows,
//          0x10 a 10-byte footer follows the tag
//   6   4  size of what follows the header, footer excluded: four 7-bit
//          bytes, most significant first (bit 7 always clear)
//
// The text frames are decoded by TagLib (every text encoding, per-frame
// unsynchronisation, compression within the bounds of
// bounded_frame_factory.h); finding them is ours, so that a picture of
// megabytes between them is stepped over rather than read.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/status.h"

namespace tallymere {

inline constexpr std::size_t kId3v2HeaderSize = 10;
inline constexpr std::size_t kId3v2FooterSize = 10;
inline constexpr uint8_t kId3v2FooterFlag = 0x10;

// The number of bytes an ID3v2 tag at the start of head takes, header and
// footer included; 0 when head does not begin with a well-formed tag header.
uint32_t Id3v2TagLength(std::string_view head);

// What the catalog takes from an ID3v2 tag. Several values of one frame are
// joined with " / ".
struct Id3v2Fields {
  std::string version;  // "2.3"; empty when there is no tag
  std::string title;
  std::string artist;
  std::string album;
  std::string year;   // as the tag writes it: "1986", or a date "2004-05-01" in 2.4
  std::string genre;  // a name; a genre number of the ID3v1 list as its name
};

// Gives up to size bytes from offset (fewer only at the end of the file).
using ReadAtFunction = std::function<Status(int64_t offset, std::size_t size, std::string* bytes)>;

// The fields of the ID3v2 tag at the start of a file. Only the tag's frame
// headers and the five text frames are read; a tag whose whole body is
// unsynchronised (ID3v2.3) is read whole, as its frames can be found only
// once that is undone. What is damaged (sizes past the tag, frames that do
// not decode) is passed over: the fields it would have filled stay empty.
// Nothing past file_length is asked for, whatever the tag claims. Each field
// is at most a kilobyte, its control characters made spaces.
Id3v2Fields ReadId3v2Fields(std::string_view header, int64_t file_length,
                            const ReadAtFunction& read_at);

}  // namespace tallymere
