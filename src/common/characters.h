#pragma once
// The ends of a UTF-8 text counted in characters, as a name's extension is
// ("the last four characters"): cutting bytes could split a name's last
// letter in two. A byte that starts no valid sequence counts as one.

#include <cstddef>
#include <string_view>

namespace tallymere {

// The last `count` characters, or the whole text when it has no more.
std::string_view LastCharacters(std::string_view text, std::size_t count);

// The text without its last `count` characters; empty when it has no more.
std::string_view WithoutLastCharacters(std::string_view text, std::size_t count);

// The characters of a UTF-8 text, counted as NameEnd counts them.
inline std::size_t CountCharacters(std::string_view utf8) {
  std::size_t count = 0;
  for (char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

// The last `count` characters of a name, counted back from its end without
// decoding: a byte 10xxxxxx belongs to the character before it. This is what
// the scan's type filter, the find's type and the duplicate rules compare,
// for every name of a catalog, so it makes no copy and no allocation.
inline std::string_view NameEnd(std::string_view name, std::size_t count) {
  std::size_t start = name.size();
  while (start > 0 && count > 0) {
    --start;
    if ((static_cast<unsigned char>(name[start]) & 0xC0) != 0x80) --count;
  }
  return name.substr(start);
}

}  // namespace tallymere
