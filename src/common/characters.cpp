#include "common/characters.h"

#include <vector>

#include "common/text_encoding.h"

namespace tallymere {
namespace {

// Where the character `count` places before the end starts; 0 when the text
// has no more characters than that.
std::size_t StartOfLast(std::string_view text, std::size_t count) {
  if (count == 0) return text.size();
  // Names are short: note where each character starts, then count back.
  std::vector<std::size_t> starts;
  for (std::size_t pos = 0; pos < text.size();) {
    starts.push_back(pos);
    char32_t ignored = 0;
    const std::size_t length = DecodeUtf8At(text, pos, &ignored);
    pos += length == 0 ? 1 : length;
  }
  return count >= starts.size() ? 0 : starts[starts.size() - count];
}

}  // namespace

std::string_view LastCharacters(std::string_view text, std::size_t count) {
  return text.substr(StartOfLast(text, count));
}

std::string_view WithoutLastCharacters(std::string_view text, std::size_t count) {
  return text.substr(0, StartOfLast(text, count));
}

}  // namespace tallymere
