#include "common/letter_case.h"

#include <locale.h>
#include <wctype.h>

#include "common/text_encoding.h"

namespace tallymere {
namespace {

// The C library's Unicode tables, whatever locale the user runs: "C.UTF-8"
// ships with the C library itself. Where it is missing, letters outside
// ASCII keep their case rather than folding by the wrong tables.
locale_t UnicodeTables() {
  static const locale_t tables = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  return tables;
}

char32_t LowerOf(char32_t c) {
  if (c < 0x80) return static_cast<char32_t>(AsciiLower(static_cast<char>(c)));
  const locale_t tables = UnicodeTables();
  if (tables == static_cast<locale_t>(0)) return c;
  return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), tables));
}

}  // namespace

void FoldCaseTo(std::string_view utf8, std::string* out) {
  out->clear();
  out->reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const auto byte = static_cast<unsigned char>(utf8[at]);
    if (byte < 0x80) {
      out->push_back(AsciiLower(utf8[at]));
      ++at;
      continue;
    }
    char32_t c = 0;
    const std::size_t length = DecodeUtf8At(utf8, at, &c);
    if (length == 0) {
      out->push_back(utf8[at]);  // no character: kept as it is
      ++at;
      continue;
    }
    AppendUtf8(out, LowerOf(c));
    at += length;
  }
}

TextToFind::TextToFind(std::string_view text) : m_folded(FoldCase(text)), m_ascii(IsAscii(text)) {}

bool TextToFind::FoundIn(std::string_view text) const {
  const std::size_t size = m_folded.size();
  if (size == 0) return true;
  if (!m_ascii || !IsAscii(text)) {
    thread_local std::string folded;
    FoldCaseTo(text, &folded);
    return folded.find(m_folded) != std::string::npos;
  }
  if (text.size() < size) return false;
  const char lower = m_folded[0];
  const char upper = AsciiUpper(lower);
  const std::size_t last = text.size() - size;
  for (std::size_t at = 0; at <= last; ++at) {
    if (text[at] != lower && text[at] != upper) continue;
    std::size_t k = 1;
    while (k < size && AsciiLower(text[at + k]) == m_folded[k]) ++k;
    if (k == size) return true;
  }
  return false;
}

}  // namespace tallymere
