#pragma once
// Number and date texts the windows and lists show.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallymere {

// A byte count as megabytes with the "##,##0.00" pattern: 1294467072 gives
// "1,234.50". Callers add " MB" themselves, as their texts differ.
std::string FormatMegabytes(double bytes);

// A count with the thousands grouped by commas: 120000 gives "120,000".
std::string FormatCount(long long count);

// An integer with the "##00" pattern: at least two digits, so 7 gives "07",
// 123 gives "123" and -1 gives "-01".
std::string FormatTwoDigits(long long value);

// The form of the Modified field and every date the program writes: the
// date in the locale's order with a four-digit year, then the time on the
// 24-hour clock ("12/07/2026 14:05:09" in the United States, "07.12.2026
// 14:05:09" in Germany, "12/07/2026 14:05:09" in the C locale).
std::string FormatDateTime(std::time_t when);

// FormatDateTime with a memory of the texts it made lately. The files of one
// album or one installed package share their modified times, and a scan asks
// for a text for each of tens of thousands of files; a text made for a time
// is made again only when newer times have pushed it out.
class DateTimeTexts {
 public:
  const std::string& Text(std::time_t when);

 private:
  struct Slot {
    std::time_t when = 0;
    bool filled = false;
    std::string text;
  };
  static constexpr std::size_t kSlots = 1024;  // a power of two
  std::vector<Slot> m_slots;
};

// The moment a FormatDateTime text stands for, whichever locale wrote it
// ("07.12.2026 14:05:09" reads as the 7th of December in the United States
// too; a text with "/" is read in this locale's order), or a text of the
// forms earlier versions wrote (the locale's "%x %X", the C locale's
// "12/07/26 14:05:09"); nothing for any other text.
std::optional<std::time_t> ParseDateTime(std::string_view text);

// Whether a date text may stand for a moment in any order a locale writes
// it: "07/12/2026 14:05:09" of a British catalog is the 7th of December
// although this locale reads it as the 12th of July first. A rescan asks
// this, so a catalog made under another locale does not show every file as
// changed.
bool DateTextMayMean(std::string_view text, std::time_t when);

// The first moment of a day written "YYYY-MM-DD", in local time, or of the
// day so many days later; nothing for a text that is no such date
// (2021-02-30 included).
std::optional<std::time_t> ParseDay(std::string_view text, int days_later = 0);

}  // namespace tallymere
