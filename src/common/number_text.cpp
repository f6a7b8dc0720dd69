#include "common/number_text.h"

#include <charconv>

namespace tallymere {

std::optional<int64_t> ParseWholeNumber(std::string_view text) {
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::optional<int64_t> ParseDuration(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos || text.empty() || text[0] == '-') return std::nullopt;
  const std::optional<int64_t> minutes = ParseWholeNumber(text.substr(0, colon));
  const std::optional<int64_t> seconds = ParseWholeNumber(text.substr(colon + 1));
  if (!minutes || !seconds || *seconds < 0 || *seconds > 59 || text[colon + 1] == '-') {
    return std::nullopt;
  }
  return *minutes * 60 + *seconds;
}

}  // namespace tallymere
