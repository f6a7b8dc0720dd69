#include "common/format.h"

#include <langinfo.h>
#include <time.h>

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tallymere {
namespace {

// The digits of a whole number with thousands separators, counting groups of
// three from the right.
std::string GroupedDigits(unsigned long long value) {
  const std::string digits = std::to_string(value);
  std::string grouped;
  grouped.reserve(digits.size() + digits.size() / 3);
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped.push_back(',');
    grouped.push_back(digits[i]);
  }
  return grouped;
}

}  // namespace

std::string FormatCount(long long count) {
  const std::string grouped =
      GroupedDigits(count < 0 ? 0ULL - static_cast<unsigned long long>(count)
                              : static_cast<unsigned long long>(count));
  return count < 0 ? "-" + grouped : grouped;
}

std::string FormatMegabytes(double bytes) {
  const double megabytes = bytes / 1048576.0;
  const long long hundredths = std::llround(std::fabs(megabytes) * 100.0);
  const std::string whole = GroupedDigits(static_cast<unsigned long long>(hundredths / 100));
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

namespace {

// The date in the locale's order of day, month and year with a four-digit
// year, then the time on the 24-hour clock: "07.12.2026 14:05:09" in
// Germany, "12/07/2026 14:05:09" in the United States.
std::string DateTimePattern() {
  std::string date = nl_langinfo(D_FMT);
  for (std::size_t at = 0; (at = date.find('%', at)) != std::string::npos && at + 1 < date.size();
       at += 2) {
    if (date[at + 1] == 'y') date[at + 1] = 'Y';
    if (date[at + 1] == 'D') date.replace(at, 2, "%m/%d/%Y");
  }
  return date + " %H:%M:%S";
}

// The moment a text stands for in one pattern, read whole; nothing otherwise.
std::optional<std::time_t> ReadPattern(const std::string& text, const char* pattern,
                                       bool four_digit_year) {
  std::tm local{};
  const char* end = strptime(text.c_str(), pattern, &local);
  if (end == nullptr || *end != '\0') return std::nullopt;
  // "%Y" also takes "26" of an older text as the year 26.
  constexpr int kFirstFourDigitYear = 1000 - 1900;
  if (four_digit_year && local.tm_year < kFirstFourDigitYear) return std::nullopt;
  local.tm_isdst = -1;  // let the clock's rules say whether summer time applied
  const std::time_t when = std::mktime(&local);
  if (when == static_cast<std::time_t>(-1)) return std::nullopt;
  return when;
}

}  // namespace

std::string FormatDateTime(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char text[128];
  const std::size_t length = std::strftime(text, sizeof text, DateTimePattern().c_str(), &local);
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
  // The form written now, then those earlier versions wrote: the locale's
  // own date and time, and the C locale's ("12/07/26 14:05:09").
  if (std::optional<std::time_t> when = ReadPattern(copy, DateTimePattern().c_str(), true)) {
    return when;
  }
  if (std::optional<std::time_t> when = ReadPattern(copy, "%x %X", false)) return when;
  return ReadPattern(copy, "%m/%d/%y %H:%M:%S", false);
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
