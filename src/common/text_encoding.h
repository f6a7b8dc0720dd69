#pragma once
// In memory every text is UTF-8. On disk a text is Windows-1252 whenever every
// character fits, so Windows-1252 readers keep working, and UTF-8 otherwise, so
// nothing is lost. Reading accepts both.

#include <cstddef>
#include <string>
#include <string_view>

namespace tallymere {

// Decodes the UTF-8 sequence at bytes[pos] into *out and returns its length
// in bytes, or 0 when no valid sequence starts there.
std::size_t DecodeUtf8At(std::string_view bytes, std::size_t pos, char32_t* out);

// Appends the UTF-8 bytes of a character.
void AppendUtf8(std::string* out, char32_t c);

// True when no byte is 0x80 or above: such a text is stored as it is.
bool IsAscii(std::string_view bytes);

// True when the bytes form valid UTF-8 (ASCII included).
bool IsValidUtf8(std::string_view bytes);

// True when every character of the UTF-8 text has a Windows-1252 byte.
bool FitsWindows1252(std::string_view utf8);

// The Windows-1252 bytes of a text for which FitsWindows1252 holds.
std::string Utf8ToWindows1252(std::string_view utf8);

// Every byte has a character: the five bytes Windows-1252 leaves undefined
// become U+0081, U+008D, U+008F, U+0090 and U+009D, so any byte string
// round-trips through EncodeText.
std::string Windows1252ToUtf8(std::string_view bytes);

// The bytes to store for one text: Windows-1252 when it fits, else UTF-8.
// Text that is not valid UTF-8 (a raw file name) is stored as it is.
std::string EncodeText(std::string_view utf8);

// The UTF-8 text of stored bytes: valid UTF-8 holding non-ASCII is taken as
// UTF-8, anything else as Windows-1252.
std::string DecodeText(std::string_view bytes);
// The same into *out, reusing its buffer: reading many records into one keeps
// allocating nothing once it has grown.
void DecodeTextTo(std::string_view bytes, std::string* out);

// The longest prefix of the text whose stored form (EncodeText) is at most
// max_bytes long, never splitting a UTF-8 sequence.
std::string CutToStoredWidth(std::string_view utf8, std::size_t max_bytes);

}  // namespace tallymere
