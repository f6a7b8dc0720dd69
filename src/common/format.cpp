#include "common/format.h"

#include <time.h>

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tallymere {

std::string FormatMegabytes(double bytes) {
  const double megabytes = bytes / 1048576.0;
  const long long hundredths = std::llround(std::fabs(megabytes) * 100.0);
  // Thousands separators, counting groups of three from the right.
  const std::string digits = std::to_string(hundredths / 100);
  std::string whole;
  whole.reserve(digits.size() + digits.size() / 3);
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) whole.push_back(',');
    whole.push_back(digits[i]);
  }
  char fraction[8];
  std::snprintf(fraction, sizeof fraction, ".%02lld", hundredths % 100);
  std::string text;
  if (megabytes < 0 && hundredths != 0) text.push_back('-');
  text.append(whole);
  text.append(fraction);
  return text;
}

std::string FormatTwoDigits(long long value) {
  const unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                 : static_cast<unsigned long long>(value);
  std::string text = value < 0 ? "-" : "";
  if (magnitude < 10) text.push_back('0');
  text.append(std::to_string(magnitude));
  return text;
}

std::string FormatDateTime(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char text[128];
  const std::size_t length = std::strftime(text, sizeof text, "%x %X", &local);
  return std::string(text, length);
}

const std::string& DateTimeTexts::Text(std::time_t when) {
  if (m_slots.empty()) m_slots.resize(kSlots);
  // Fibonacci hashing spreads neighbouring seconds over the slots.
  constexpr uint64_t kGoldenRatio = 0x9E3779B97F4A7C15ull;
  constexpr int kSlotBits = 10;
  static_assert(std::size_t{1} << kSlotBits == kSlots);
  const auto index =
      static_cast<std::size_t>((static_cast<uint64_t>(when) * kGoldenRatio) >> (64 - kSlotBits));
  Slot& slot = m_slots[index];
  if (!slot.filled || slot.when != when) {
    slot.text = FormatDateTime(when);
    slot.when = when;
    slot.filled = true;
  }
  return slot.text;
}

std::optional<std::time_t> ParseDateTime(std::string_view text) {
  if (text.empty() || text.size() > 64) return std::nullopt;
  const std::string copy(text);  // strptime wants a terminated string
  std::tm local{};
  const char* end = strptime(copy.c_str(), "%x %X", &local);
  if (end == nullptr || *end != '\0') return std::nullopt;
  local.tm_isdst = -1;  // let the clock's rules say whether summer time applied
  const std::time_t when = std::mktime(&local);
  if (when == static_cast<std::time_t>(-1)) return std::nullopt;
  return when;
}

std::optional<std::time_t> ParseDay(std::string_view text, int days_later) {
  int year = 0;
  int month = 0;
  int day = 0;
  constexpr std::size_t kDayLength = 10;  // YYYY-MM-DD
  const auto digits = [&](std::size_t at, std::size_t count, int* out) {
    const auto [end, error] = std::from_chars(text.data() + at, text.data() + at + count, *out);
    return error == std::errc() && end == text.data() + at + count;
  };
  if (text.size() != kDayLength || text[4] != '-' || text[7] != '-' || !digits(0, 4, &year) ||
      !digits(5, 2, &month) || !digits(8, 2, &day)) {
    return std::nullopt;
  }
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_isdst = -1;
  const std::time_t when = std::mktime(&local);
  // mktime moves a day that does not exist (February 30th) into the next month.
  if (when == static_cast<std::time_t>(-1) || local.tm_mday != day || local.tm_mon != month - 1) {
    return std::nullopt;
  }
  if (days_later == 0) return when;
  // Counted in days, not seconds, so a change of summer time between them
  // moves nothing.
  local.tm_mday += days_later;
  local.tm_hour = local.tm_min = local.tm_sec = 0;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

}  // namespace tallymere
