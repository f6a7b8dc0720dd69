#pragma once
// Playing time of an MP3 file from its size and bitrate.

#include <cstdint>
#include <string>

#include "common/status.h"

namespace tallymere {

// "mm:ss", each part with at least two digits ("04:09", "125:07"). Computed as
// x = size / (kbps * 1000 / 8) in single precision, minutes from round(x) - 1
// and seconds from round(x - 1) mod 60, rounding half to even. A time below
// zero (x of half a second or less) is "00:00", never "-01:-01". No 16-bit
// limit: a ten-hour file gets its time. A bitrate of 0
// cannot give a time and is reported as an error.
Result<std::string> PlayingTime(int32_t size, std::string_view bitrate);

// A length in seconds in the same form; below zero is "00:00".
std::string MinutesAndSeconds(int64_t seconds);

}  // namespace tallymere
