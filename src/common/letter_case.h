#pragma once
// Letter case of every script: the searches find "Кино" for "кино" and
// "Björk" for "BJÖRK". Each character takes its simple lower-case mapping
// of the Unicode tables (one character for one, so nothing is reordered);
// bytes that form no UTF-8 character stay as they are.

#include <string>
#include <string_view>

#include "common/ascii_case.h"

namespace tallymere {

// The text with every letter in lower case, into *out (its buffer reused).
void FoldCaseTo(std::string_view utf8, std::string* out);

inline std::string FoldCase(std::string_view utf8) {
  std::string folded;
  FoldCaseTo(utf8, &folded);
  return folded;
}

// A text looked for in many others, letter case ignored: folded once. A
// text of ASCII letters is compared byte by byte where its first letter
// fits, as most names are ASCII; any other text is folded before the search.
// An empty text is in every text.
class TextToFind {
 public:
  explicit TextToFind(std::string_view text);
  bool empty() const { return m_folded.empty(); }
  bool FoundIn(std::string_view text) const;

 private:
  std::string m_folded;
  bool m_ascii = true;
};

}  // namespace tallymere
