#include "common/number_text.h"

#include <charconv>

#include "common/ascii_case.h"

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

std::optional<int64_t> ParsePlayingTime(std::string_view text) {
  if (std::optional<int64_t> seconds = ParseWholeNumber(text); seconds && *seconds >= 0) {
    return seconds;
  }
  return ParseDuration(text);
}

std::optional<int64_t> ParseByteCount(std::string_view text) {
  const auto trim = [](std::string_view t) {
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
    return t;
  };
  text = trim(text);
  struct Unit {
    std::string_view name;
    double bytes;
  };
  constexpr Unit kUnits[] = {{"GB", 1024.0 * 1024 * 1024}, {"MB", 1024.0 * 1024}, {"KB", 1024.0}};
  double factor = 1;
  for (const Unit& unit : kUnits) {
    if (text.size() > unit.name.size() &&
        EqualNoCase(text.substr(text.size() - unit.name.size()), unit.name)) {
      factor = unit.bytes;
      text = trim(text.substr(0, text.size() - unit.name.size()));
      break;
    }
  }
  if (factor == 1) {
    const std::optional<int64_t> bytes = ParseWholeNumber(text);
    return bytes && *bytes >= 0 ? bytes : std::nullopt;
  }
  double number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  constexpr double kLargest = 9.0e18;
  if (error != std::errc() || end != text.data() + text.size() || text.empty() || number < 0 ||
      number * factor > kLargest) {
    return std::nullopt;
  }
  return static_cast<int64_t>(number * factor + 0.5);
}

}  // namespace tallymere
