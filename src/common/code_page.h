#pragma once
// The code page of ID3v1 texts. Players that wrote them used the code page of
// their machine (Windows-1251 for Cyrillic, Shift_JIS for Japanese...), which
// the 128-byte tag does not record, so the user names it. Automatic is the
// program's own rule: a text that is valid UTF-8 holding non-ASCII is UTF-8,
// anything else Windows-1252; written, Windows-1252 when every character fits,
// else UTF-8. A named code page is converted with the C library's iconv.

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/status.h"

namespace tallymere {

// The choices the Options offer, as the user reads them; the first is Automatic.
inline constexpr std::array<std::string_view, 14> kCodePageNames = {
    "Automatic",    "Windows-1250", "Windows-1251", "Windows-1252", "Windows-1253",
    "Windows-1254", "Windows-1257", "ISO-8859-2",   "ISO-8859-5",   "KOI8-R",
    "Shift_JIS",    "GBK",          "Big5",         "EUC-KR"};

class CodePage {
 public:
  // Automatic.
  CodePage();
  // A code page by one of kCodePageNames, letter case ignored; nothing for
  // another name.
  static std::optional<CodePage> Named(std::string_view name);

  // As kCodePageNames spells it.
  const std::string& name() const { return m_name; }
  bool automatic() const { return m_converter == nullptr; }

  // The UTF-8 text of stored bytes. A byte sequence the code page does not
  // define is read as Automatic reads it, so nothing is lost.
  std::string Decode(std::string_view bytes) const;
  // The bytes to store for a UTF-8 text, or a message naming the first
  // character the code page cannot hold.
  Result<std::string> Encode(std::string_view utf8) const;
  // The longest beginning of the text whose stored form takes at most
  // max_bytes, never splitting a character.
  std::string CutToWidth(std::string_view utf8, std::size_t max_bytes) const;

 private:
  struct Converter;
  std::string m_name;
  std::shared_ptr<Converter> m_converter;  // null for Automatic
};

}  // namespace tallymere
