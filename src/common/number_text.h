#pragma once
// Numbers in the catalog's texts: sizes and bitrates as whole numbers,
// playing times as "mm:ss" (minutes may run past 99). A text that holds no
// such value ("---", empty) gives nothing.

#include <cstdint>
#include <optional>
#include <string_view>

namespace tallymere {

// A whole number made of the whole text, optionally signed.
std::optional<int64_t> ParseWholeNumber(std::string_view text);

// "mm:ss" as seconds; seconds are 00 to 59.
std::optional<int64_t> ParseDuration(std::string_view text);

// A playing time as people write it for a bound: "mm:ss", or a number of
// seconds ("210"). Never below zero.
std::optional<int64_t> ParsePlayingTime(std::string_view text);

// A size as people write it: bytes ("5000000"), or a number with KB, MB or
// GB (1024, 1024², 1024³ bytes; "4.5 MB", "700kb"). Never below zero.
std::optional<int64_t> ParseByteCount(std::string_view text);

}  // namespace tallymere
