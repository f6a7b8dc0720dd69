#include "scan/playing_time.h"

#include <gtest/gtest.h>

namespace tallymere {
namespace {

std::string TimeOf(int32_t size, std::string_view bitrate) {
  const Result<std::string> time = PlayingTime(size, bitrate);
  return time.ok() ? *time : "error: " + time.status().message();
}

TEST(PlayingTimeTest, CountsSecondsFromSizeAndBitrateWithoutASixteenBitLimit) {
  EXPECT_EQ(TimeOf(4000000, "128"), "04:09");  // x = 250, T = 249
  EXPECT_EQ(TimeOf(16000 * 61 + 16000, "128"), "01:01");
  EXPECT_EQ(TimeOf(120128000, "128"), "125:07");  // more than two digits of minutes
  EXPECT_EQ(TimeOf(4000000, "320"), "01:39");     // x = 100
  EXPECT_EQ(TimeOf(576000000, "128"), "599:59");  // ten hours
  EXPECT_EQ(TimeOf(2147483647, "8"), "35791:23");
}

TEST(PlayingTimeTest, RoundsHalfToEvenInEachPartAndNeverGoesBelowZero) {
  // x = 2.5: round(x) = 2 gives T = 1, but round(x - 1) = round(1.5) = 2.
  EXPECT_EQ(TimeOf(40000, "128"), "00:02");
  // x = 3.5: round(x) = 4 gives T = 3, and round(2.5) = 2.
  EXPECT_EQ(TimeOf(56000, "128"), "00:02");
  EXPECT_EQ(TimeOf(0, "128"), "00:00");
  EXPECT_EQ(TimeOf(417, "128"), "00:00");   // under half a second rounds to 0 too
  EXPECT_EQ(TimeOf(8000, "128"), "00:00");  // exactly half a second: to even, 0
  EXPECT_EQ(TimeOf(8001, "128"), "00:00");  // just over: 1 second, minus 1
}

TEST(PlayingTimeTest, ABitrateOfZeroCannotGiveATime) {
  EXPECT_EQ(TimeOf(4000000, "0"), "error: Division by zero");
  EXPECT_FALSE(PlayingTime(4000000, "").ok());
}

}  // namespace
}  // namespace tallymere
