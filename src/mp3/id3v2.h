#pragma once
// The ID3v2 tag that modern encoders put at the start of an MP3 file. Only its
// size matters here: the MPEG frames begin right after it, and its cover art is
// full of 0xFF bytes that would pass for frame syncs.
//
//   0   3  "ID3"
//   3   2  version (major, revision), neither 0xFF
//   5   1  flags; 0x10 means a 10-byte footer follows the tag
//   6   4  size of what follows the header, footer excluded: four 7-bit
//          bytes, most significant first (bit 7 always clear)

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tallymere {

inline constexpr std::size_t kId3v2HeaderSize = 10;
inline constexpr std::size_t kId3v2FooterSize = 10;
inline constexpr uint8_t kId3v2FooterFlag = 0x10;

// The number of bytes an ID3v2 tag at the start of head takes, header and
// footer included; 0 when head does not begin with a well-formed tag header.
uint32_t Id3v2TagLength(std::string_view head);

}  // namespace tallymere
