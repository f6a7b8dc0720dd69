#include "common/text_encoding.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace tallymere {
namespace {

// Characters of the bytes 0x80 to 0x9F; the undefined ones keep their own code.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

// The Windows-1252 byte of a character, or -1 when it has none.
int Windows1252Byte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == c) return static_cast<int>(0x80 + i);
  }
  return -1;
}

bool HasNonAscii(std::string_view bytes) {
  // Eight bytes at a time (every text of a data file passes here): a byte of
  // 0x80 or more shows as a top bit in the mask, 1xxxxxxx.
  constexpr uint64_t kTopBits = 0x8080808080808080;
  std::size_t pos = 0;
  for (; pos + sizeof(uint64_t) <= bytes.size(); pos += sizeof(uint64_t)) {
    uint64_t word;
    std::memcpy(&word, bytes.data() + pos, sizeof word);
    if ((word & kTopBits) != 0) return true;
  }
  for (; pos < bytes.size(); ++pos) {
    if (static_cast<unsigned char>(bytes[pos]) >= 0x80) return true;
  }
  return false;
}

}  // namespace

bool IsAscii(std::string_view bytes) { return !HasNonAscii(bytes); }

std::size_t DecodeUtf8At(std::string_view bytes, std::size_t pos, char32_t* out) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = byte(pos);
  std::size_t length;
  char32_t value;
  if (lead < 0x80) {
    *out = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {  // 110xxxxx
    length = 2;
    value = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {  // 1110xxxx
    length = 3;
    value = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {  // 11110xxx
    length = 4;
    value = lead & 0x07;
  } else {
    return 0;
  }
  if (pos + length > bytes.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char next = byte(pos + i);
    if ((next & 0xC0) != 0x80) return 0;  // 10xxxxxx
    value = (value << 6) | (next & 0x3F);
  }
  static constexpr std::array<char32_t, 5> kSmallest = {0, 0, 0x80, 0x800, 0x10000};
  if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return 0;  // overlong form, beyond Unicode or a surrogate
  }
  *out = value;
  return length;
}

void AppendUtf8(std::string* out, char32_t c) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (c >> 6)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (c >> 12)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (c >> 18)));
    out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

bool IsValidUtf8(std::string_view bytes) {
  char32_t c;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t length = DecodeUtf8At(bytes, pos, &c);
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

bool FitsWindows1252(std::string_view utf8) {
  char32_t c;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t length = DecodeUtf8At(utf8, pos, &c);
    if (length == 0 || Windows1252Byte(c) < 0) return false;
    pos += length;
  }
  return true;
}

std::string Utf8ToWindows1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  char32_t c;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t length = DecodeUtf8At(utf8, pos, &c);
    const int byte = length == 0 ? -1 : Windows1252Byte(c);
    out.push_back(byte < 0 ? '?' : static_cast<char>(byte));
    pos += length == 0 ? 1 : length;
  }
  return out;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (char ch : bytes) {
    const auto byte = static_cast<unsigned char>(ch);
    if (byte >= 0x80 && byte <= 0x9F) {
      AppendUtf8(&out, kHighControls[byte - 0x80]);
    } else {
      AppendUtf8(&out, byte);
    }
  }
  return out;
}

std::string EncodeText(std::string_view utf8) {
  if (!HasNonAscii(utf8)) return std::string(utf8);
  if (!IsValidUtf8(utf8)) return std::string(utf8);
  if (FitsWindows1252(utf8)) return Utf8ToWindows1252(utf8);
  return std::string(utf8);
}

std::string DecodeText(std::string_view bytes) {
  std::string text;
  DecodeTextTo(bytes, &text);
  return text;
}

void DecodeTextTo(std::string_view bytes, std::string* out) {
  if (!HasNonAscii(bytes) || IsValidUtf8(bytes)) {
    // A string that must grow gets exactly the room it needs: assigning would
    // double a short string's room, a megabyte more over a full catalog.
    if (bytes.size() > out->capacity()) {
      *out = std::string(bytes);
    } else {
      out->assign(bytes);
    }
  } else {
    *out = Windows1252ToUtf8(bytes);
  }
}

std::string CutToStoredWidth(std::string_view utf8, std::size_t max_bytes) {
  if (utf8.size() <= max_bytes) return std::string(utf8);  // stored form is never longer
  if (!IsValidUtf8(utf8)) return std::string(utf8.substr(0, max_bytes));
  if (FitsWindows1252(utf8)) {
    // One byte per character on disk: keep max_bytes characters.
    std::size_t pos = 0;
    char32_t c;
    for (std::size_t count = 0; count < max_bytes && pos < utf8.size(); ++count) {
      pos += DecodeUtf8At(utf8, pos, &c);
    }
    return std::string(utf8.substr(0, pos));
  }
  std::size_t pos = 0;
  char32_t c;
  while (pos < utf8.size()) {
    const std::size_t length = DecodeUtf8At(utf8, pos, &c);
    if (pos + length > max_bytes) break;
    pos += length;
  }
  return std::string(utf8.substr(0, pos));
}

}  // namespace tallymere
