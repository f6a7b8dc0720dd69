#pragma once
// Letter case of ASCII letters only: the searches, the type filter and the
// self-sorting lists ignore the case of A to Z and compare every other byte
// as it is, so a UTF-8 sequence is never folded half-way.

#include <algorithm>
#include <string>
#include <string_view>

namespace tallymere {

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

inline std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = AsciiLower(c);
  return lower;
}

inline std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = AsciiUpper(c);
  return upper;
}

inline bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

inline bool StartsWithNoCase(std::string_view text, std::string_view start) {
  return text.size() >= start.size() && EqualNoCase(text.substr(0, start.size()), start);
}

inline bool EndsWithNoCase(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && EqualNoCase(text.substr(text.size() - end.size()), end);
}

// A text looked for in many others, letter case ignored: folded once, and
// each place compared only when its first letter fits. An empty text is in
// every text.
class TextToFind {
 public:
  explicit TextToFind(std::string_view text) : m_folded(AsciiLower(text)) {}
  bool empty() const { return m_folded.empty(); }
  bool FoundIn(std::string_view text) const {
    const std::size_t size = m_folded.size();
    if (size == 0) return true;
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

 private:
  std::string m_folded;
};

// True when text contains part, letter case ignored; an empty part is in
// every text.
inline bool ContainsNoCase(std::string_view text, std::string_view part) {
  return TextToFind(part).FoundIn(text);
}

}  // namespace tallymere
