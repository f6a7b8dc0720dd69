#include "mp3/search_and_replace.h"

#include <cstddef>

#include "common/text_encoding.h"

namespace tallymere {
namespace {

// The characters that separate words for proper case.
bool IsWordSeparator(char32_t c) {
  return c == U' ' || c == U'\t' || c == U'\n' || c == U'\v' || c == U'\f' || c == U'\r' ||
         c == U'\0';
}

// Letter case of the letters Windows-1252 holds: ASCII, Latin-1 and the
// three pairs Š/š, Œ/œ, Ž/ž, plus ÿ whose capital Ÿ lives elsewhere.
constexpr char32_t kLatinCapitalsFirst = 0xC0;
constexpr char32_t kLatinCapitalsLast = 0xDE;
constexpr char32_t kLatinSmallFirst = 0xE0;
constexpr char32_t kLatinSmallLast = 0xFE;
constexpr char32_t kMultiplicationSign = 0xD7;
constexpr char32_t kDivisionSign = 0xF7;
constexpr char32_t kSmallYDiaeresis = 0xFF;
constexpr char32_t kCapitalYDiaeresis = 0x178;
constexpr char32_t kLatinCaseDistance = 0x20;
constexpr char32_t kCapitalPairs[] = {0x152, 0x160, 0x17D};  // Œ Š Ž; small = capital + 1

char32_t UpperCaseOf(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - kLatinCaseDistance;
  if (c >= kLatinSmallFirst && c <= kLatinSmallLast && c != kDivisionSign) {
    return c - kLatinCaseDistance;
  }
  if (c == kSmallYDiaeresis) return kCapitalYDiaeresis;
  for (char32_t capital : kCapitalPairs) {
    if (c == capital + 1) return capital;
  }
  return c;
}

char32_t LowerCaseOf(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + kLatinCaseDistance;
  if (c >= kLatinCapitalsFirst && c <= kLatinCapitalsLast && c != kMultiplicationSign) {
    return c + kLatinCaseDistance;
  }
  if (c == kCapitalYDiaeresis) return kSmallYDiaeresis;
  for (char32_t capital : kCapitalPairs) {
    if (c == capital) return capital + 1;
  }
  return c;
}

// One character of a UTF-8 text: its code point and its length in bytes. A
// byte that starts no valid sequence is a character of its own (valid is
// false then and the byte is kept as it is).
struct Character {
  char32_t code = 0;
  std::size_t length = 1;
  bool valid = true;
};

Character CharacterAt(std::string_view text, std::size_t pos) {
  char32_t code = 0;
  const std::size_t length = DecodeUtf8At(text, pos, &code);
  if (length == 0) return {static_cast<unsigned char>(text[pos]), 1, false};
  return {code, length, true};
}

// Rewrites every character through map(code, index of the character among
// the text's characters, previous code point).
template <typename Map>
std::string MapCharacters(std::string_view text, Map map) {
  std::string out;
  out.reserve(text.size());
  char32_t previous = U' ';
  for (std::size_t pos = 0; pos < text.size();) {
    const Character c = CharacterAt(text, pos);
    if (c.valid) {
      AppendUtf8(&out, map(c.code, previous));
    } else {
      out.push_back(text[pos]);
    }
    previous = c.code;
    pos += c.length;
  }
  return out;
}

// The byte offset of the character at a character index (the size when the
// index lies past the end).
std::size_t ByteOffsetOf(std::string_view text, int index) {
  std::size_t pos = 0;
  for (int i = 0; i < index && pos < text.size(); ++i) pos += CharacterAt(text, pos).length;
  return pos;
}

// Where a changed text must be searched again for the first occurrence of a
// cut of cut_length: a new occurrence can only overlap the place of change.
std::size_t SearchAgainFrom(std::size_t changed_at, std::size_t cut_length) {
  return changed_at >= cut_length - 1 ? changed_at - (cut_length - 1) : 0;
}

std::string ReplaceEveryOccurrence(std::string_view text, std::string_view cut,
                                   std::string_view with) {
  std::string s(text);
  for (std::size_t pos = s.find(cut); pos != std::string::npos;
       pos = s.find(cut, SearchAgainFrom(pos, cut.size()))) {
    s.replace(pos, cut.size(), with);
  }
  return s;
}

// Puts a space after every opening bracket not already followed by one.
std::string SpaceAfterBrackets(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    out.push_back(text[i]);
    const bool bracket = text[i] == '(' || text[i] == '[';
    if (bracket && (i + 1 >= text.size() || text[i + 1] != ' ')) out.push_back(' ');
  }
  return out;
}

}  // namespace

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view with) {
  if (find.empty() || text.empty()) return std::string(text);
  std::string out;
  std::size_t from = 0;
  for (std::size_t pos = text.find(find); pos != std::string_view::npos;
       pos = text.find(find, from)) {
    out.append(text.substr(from, pos - from));
    out.append(with);
    from = pos + find.size();
  }
  out.append(text.substr(from));
  return out;
}

std::string ReplaceOnce(std::string_view text, std::string_view find, std::string_view with) {
  const std::size_t pos = text.find(find);
  if (pos == std::string_view::npos) return std::string(text);
  std::string out(text.substr(0, pos));
  out.append(with);
  out.append(text.substr(pos + find.size()));
  return out;
}

std::string TrimToSpace(std::string_view text, std::string_view cut) {
  if (cut.empty() || cut == " ") return std::string(text);
  return ReplaceEveryOccurrence(text, cut, " ");
}

std::string TrimOut(std::string_view text, std::string_view cut) {
  if (cut.empty()) return std::string(text);
  return ReplaceEveryOccurrence(text, cut, "");
}

std::string TrimNumbers(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c < '0' || c > '9') out.push_back(c);
  }
  return out;
}

std::string TrimSpaces(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::string();
  const std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string ProperCase(std::string_view text) {
  return MapCharacters(text, [](char32_t c, char32_t previous) {
    return IsWordSeparator(previous) ? UpperCaseOf(c) : LowerCaseOf(c);
  });
}

std::string ProperCaseWithBrackets(std::string_view text) {
  const std::string cased = ProperCase(SpaceAfterBrackets(text));
  return ReplaceAll(ReplaceAll(cased, "( ", "("), "[ ", "[");
}

std::string LowerCase(std::string_view text) {
  return MapCharacters(text, [](char32_t c, char32_t) { return LowerCaseOf(c); });
}

std::string InsertAt(std::string_view text, int location, std::string_view insert) {
  const std::size_t at = ByteOffsetOf(text, location < 0 ? 0 : location);
  std::string out(text.substr(0, at));
  out.append(insert);
  out.append(text.substr(at));
  return out;
}

std::string SwapArtistTitle(std::string_view text) {
  // A hyphen is one byte that never occurs inside a longer UTF-8 sequence,
  // so the walk can go by bytes; the final byte is left out.
  for (std::size_t i = text.size() < 2 ? 0 : text.size() - 1; i-- > 0;) {
    if (text[i] != '-') continue;
    std::string swapped(text.substr(i + 1));
    swapped.append(" - ");
    swapped.append(text.substr(0, i));
    return TrimSpaces(swapped);
  }
  return std::string(text);
}

int CharacterCount(std::string_view text) {
  int count = 0;
  for (std::size_t pos = 0; pos < text.size(); pos += CharacterAt(text, pos).length) ++count;
  return count;
}

}  // namespace tallymere
