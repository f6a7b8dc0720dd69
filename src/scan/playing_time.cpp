#include "scan/playing_time.h"

#include <charconv>
#include <cmath>

#include "common/format.h"

namespace tallymere {

Result<std::string> PlayingTime(int32_t size, std::string_view bitrate) {
  // The bitrate text read as a number: leading digits, as a lenient reader would.
  long kbps = 0;
  std::from_chars(bitrate.data(), bitrate.data() + bitrate.size(), kbps);
  const float bytes_per_second = static_cast<float>(kbps) * 1000.0f / 8.0f;
  if (bytes_per_second == 0.0f) return Status::Error("Division by zero");
  const float x = static_cast<float>(size) / bytes_per_second;
  // nearbyint rounds half to even in the default rounding mode.
  const long long total_seconds = std::llrint(std::nearbyint(x)) - 1;
  // A file of half a second or less would come out as "-01:-01".
  if (total_seconds < 0) return std::string("00:00");
  const long long minutes = total_seconds / 60;
  const long long seconds = std::llrint(std::nearbyint(x - 1.0f)) % 60;
  return FormatTwoDigits(minutes) + ":" + FormatTwoDigits(seconds);
}

std::string MinutesAndSeconds(int64_t seconds) {
  if (seconds < 0) seconds = 0;
  return FormatTwoDigits(seconds / 60) + ":" + FormatTwoDigits(seconds % 60);
}

}  // namespace tallymere
