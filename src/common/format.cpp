#include "common/format.h"

#include <langinfo.h>
#include <time.h>

#include <algorithm>
#include <array>
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
// Germany, "12/07/2026 14:05:09" in the United States. A year before 1000
// keeps four digits ("0000"), so the text still reads back as a year.
std::string DateTimePattern() {
  std::string date = nl_langinfo(D_FMT);
  for (std::size_t at = 0; (at = date.find('%', at)) != std::string::npos && at + 1 < date.size();
       at += 2) {
    if (date[at + 1] == 'y' || date[at + 1] == 'Y') date.replace(at, 2, "%4Y");
    if (date[at + 1] == 'D') date.replace(at, 2, "%m/%d/%4Y");
  }
  return date + " %H:%M:%S";
}

// The moment of a local date and time; nothing for a day that does not exist
// (February 30th). mktime's -1 is also the last second of 1969, so its
// failure is told by the week day it leaves unset.
std::optional<std::time_t> LocalMoment(long long year, int month, int day, int hour, int minute,
                                       int second) {
  constexpr long long kLastYear = 99999;
  if (year < 0 || year > kLastYear || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 ||
      minute > 59 || second > 60) {
    return std::nullopt;
  }
  std::tm local{};
  local.tm_year = static_cast<int>(year - 1900);
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;  // let the clock's rules say whether summer time applied
  local.tm_wday = -1;
  const std::time_t when = std::mktime(&local);
  if (local.tm_wday == -1 || local.tm_mday != day || local.tm_mon != month - 1) return std::nullopt;
  return when;
}

// A date and time of three numbers, then the time on the 24-hour clock:
// "07.12.2026 14:05:09", "2026-12-07 14:05:09". Read without the locale, as
// a catalog may come from a machine of another country.
struct NumericDateTime {
  std::array<long long, 3> numbers{};
  std::array<std::size_t, 3> digits{};
  char separator = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

std::optional<NumericDateTime> ReadNumericDateTime(std::string_view text) {
  NumericDateTime read;
  std::size_t at = 0;
  const auto number = [&](long long* out, std::size_t most_digits) -> std::size_t {
    const std::size_t from = at;
    while (at < text.size() && at - from < most_digits && text[at] >= '0' && text[at] <= '9') ++at;
    if (at == from) return 0;
    std::from_chars(text.data() + from, text.data() + at, *out);
    return at - from;
  };
  const auto expect = [&](char c) { return at < text.size() && text[at++] == c; };
  constexpr std::size_t kMostYearDigits = 5;
  for (std::size_t i = 0; i < 3; ++i) {
    read.digits[i] = number(&read.numbers[i], kMostYearDigits);
    if (read.digits[i] == 0) return std::nullopt;
    if (i == 0 && at < text.size()) read.separator = text[at];
    if (i < 2 && (read.separator == ' ' || !expect(read.separator))) return std::nullopt;
  }
  long long hour = 0;
  long long minute = 0;
  long long second = 0;
  if (!expect(' ') || number(&hour, 2) == 0 || !expect(':') || number(&minute, 2) != 2 ||
      !expect(':') || number(&second, 2) != 2 || at != text.size()) {
    return std::nullopt;
  }
  read.hour = static_cast<int>(hour);
  read.minute = static_cast<int>(minute);
  read.second = static_cast<int>(second);
  return read;
}

// Whether the locale writes the day before the month, and with which
// separator; the C locale and the United States write the month first.
struct LocaleDayOrder {
  bool day_first = false;
  char separator = '/';
};

LocaleDayOrder LocaleOrder() {
  const std::string date = nl_langinfo(D_FMT);
  const std::size_t day = date.find("%d");
  const std::size_t month = date.find("%m");
  LocaleDayOrder order;
  if (day == std::string::npos || month == std::string::npos) return order;
  order.day_first = day < month;
  const std::size_t between = std::min(day, month) + 2;
  if (between < date.size()) order.separator = date[between];
  return order;
}

// The moments a numeric text may stand for, likeliest first: a year first
// is read year, month, day; otherwise the locale's order where the text
// uses the locale's separator, else day first after "." or "-" (as most of
// Europe writes) and month first after "/" (as the C locale writes), then
// the other order. A year of two digits is no such text (the older forms).
std::vector<std::time_t> NumericReadings(std::string_view text) {
  std::vector<std::time_t> readings;
  const std::optional<NumericDateTime> read = ReadNumericDateTime(text);
  if (!read) return readings;
  const auto& n = read->numbers;
  const auto add = [&](long long year, long long month, long long day) {
    if (month > 12 || day > 31) return;
    if (std::optional<std::time_t> when =
            LocalMoment(year, static_cast<int>(month), static_cast<int>(day), read->hour,
                        read->minute, read->second)) {
      readings.push_back(*when);
    }
  };
  constexpr std::size_t kYearDigits = 4;
  if (read->digits[0] >= kYearDigits && read->digits[1] <= 2 && read->digits[2] <= 2) {
    add(n[0], n[1], n[2]);
    return readings;
  }
  if (read->digits[0] > 2 || read->digits[1] > 2 || read->digits[2] < kYearDigits) return readings;
  const LocaleDayOrder locale = LocaleOrder();
  const bool day_first =
      read->separator == locale.separator ? locale.day_first : read->separator != '/';
  add(n[2], day_first ? n[1] : n[0], day_first ? n[0] : n[1]);
  add(n[2], day_first ? n[0] : n[1], day_first ? n[1] : n[0]);
  return readings;
}

// The moment a text stands for in one pattern, read whole; nothing otherwise.
std::optional<std::time_t> ReadPattern(const std::string& text, const char* pattern) {
  std::tm local{};
  const char* end = strptime(text.c_str(), pattern, &local);
  if (end == nullptr || *end != '\0') return std::nullopt;
  return LocalMoment(local.tm_year + 1900LL, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                     local.tm_min, local.tm_sec);
}

// The older forms: the locale's own date and time, and the C locale's
// ("12/07/26 14:05:09").
std::optional<std::time_t> ReadOlderForms(std::string_view text) {
  const std::string copy(text);  // strptime wants a terminated string
  if (std::optional<std::time_t> when = ReadPattern(copy, "%x %X")) return when;
  return ReadPattern(copy, "%m/%d/%y %H:%M:%S");
}

constexpr std::size_t kLongestDateText = 64;

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
  if (text.empty() || text.size() > kLongestDateText) return std::nullopt;
  const std::vector<std::time_t> readings = NumericReadings(text);
  if (!readings.empty()) return readings.front();
  return ReadOlderForms(text);
}

bool DateTextMayMean(std::string_view text, std::time_t when) {
  if (text.empty() || text.size() > kLongestDateText) return false;
  const std::vector<std::time_t> readings = NumericReadings(text);
  if (std::find(readings.begin(), readings.end(), when) != readings.end()) return true;
  return readings.empty() && ReadOlderForms(text) == when;
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
  const std::optional<std::time_t> when = LocalMoment(year, month, day, 0, 0, 0);
  if (!when || days_later == 0) return when;
  // Counted in days, not seconds, so a change of summer time between them
  // moves nothing.
  std::tm local{};
  localtime_r(&*when, &local);
  local.tm_mday += days_later;
  local.tm_hour = local.tm_min = local.tm_sec = 0;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

}  // namespace tallymere
