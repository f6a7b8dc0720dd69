#include "mp3/vbr_header.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "mp3/mp3_fixtures.h"

namespace tallymere {
namespace {

using testing::XingFrame;

// The average that catalogs already hold for Xing files: every file taken as
// MPEG-1 Layer III at 44100 Hz, whose frames hold 144 × bitrate / rate bytes.
long long CatalogedXingAverage(int64_t file_length, uint32_t frames) {
  const double bytes_per_frame = static_cast<double>(file_length) / frames;
  const auto bits_per_second = static_cast<float>(bytes_per_frame * 44100 / 144);
  return static_cast<long long>(std::rint(static_cast<double>(bits_per_second) / 1000));
}

TEST(AverageBitrateTest, GivesWhatCatalogsHoldForMpeg1At44100HzForEveryLengthAndFrameCount) {
  const std::vector<uint32_t> frame_counts = {1,     2,      3,       7,       21,        32,
                                              79,    1225,   2450,    6891,    10000,     38281,
                                              99991, 100000, 1000003, 1 << 24, 0xFFFFFFFF};
  for (const uint32_t frames : frame_counts) {
    for (int64_t i = 0; i < 5000; ++i) {
      const int64_t length = i * i * 97 + i;  // 0 to about 2.4 GB, denser at the start
      ASSERT_EQ(AverageBitrate(length, frames, 44100, 1152), CatalogedXingAverage(length, frames))
          << length << " bytes, " << frames << " frames";
    }
  }
  // Lengths whose average is an exact half, where a different order of the
  // same operations could round the other way: length × 44100 / (144 ×
  // frames) is 1000 × (n + 0.5) when frames = 1225 m and length = m × (4000 n
  // + 2000).
  for (uint32_t m = 1; m <= 40; ++m) {
    for (int64_t n = 0; n <= 400; ++n) {
      const int64_t length = m * (4000 * n + 2000);
      const long long kbps = AverageBitrate(length, 1225 * m, 44100, 1152);
      ASSERT_EQ(kbps, CatalogedXingAverage(length, 1225 * m)) << length << " bytes, m " << m;
      ASSERT_EQ(kbps % 2, 0) << "a half rounds to even: " << length << " bytes, m " << m;
    }
  }
}

TEST(AverageBitrateTest, CountsTheSampleRateAndSamplesPerFrameOfTheFrame) {
  EXPECT_EQ(AverageBitrate(4179592, 10000, 44100, 1152), 128);
  EXPECT_EQ(AverageBitrate(4179592, 10000, 48000, 1152), 139);  // 139.32
  EXPECT_EQ(AverageBitrate(4179592, 10000, 22050, 576), 128);   // 127.99
  EXPECT_EQ(AverageBitrate(7466, 79, 22050, 576), 29);          // 28.94
  EXPECT_EQ(AverageBitrate(6815, 60, 11025, 576), 17);          // 17.39
  EXPECT_EQ(AverageBitrate(0, 60, 11025, 576), 0);
}

TEST(FindVbrHeaderTest, NeedsTheWholeHeaderInsideTheBytesItIsGiven) {
  const std::string frame = XingFrame(10000);
  ASSERT_TRUE(FindVbrHeader(frame));
  EXPECT_EQ(FindVbrHeader(frame)->frames, 10000u);
  EXPECT_EQ(FindVbrHeader(frame)->samples_per_frame, 1152);
  EXPECT_FALSE(FindVbrHeader(frame)->constant_bitrate);
  EXPECT_EQ(FindVbrHeader(frame.substr(0, 48))->frames, 10000u);
  EXPECT_FALSE(FindVbrHeader(frame.substr(0, 47)));
  EXPECT_FALSE(FindVbrHeader(frame.substr(0, 3)));

  const std::string vbri = testing::VbriFrame(77, 0xE3, 0x80, 0xC4);
  EXPECT_EQ(FindVbrHeader(vbri.substr(0, 54))->frames, 77u);
  EXPECT_EQ(FindVbrHeader(vbri)->samples_per_frame, 576);
  EXPECT_FALSE(FindVbrHeader(vbri.substr(0, 53)));

  const std::string info =
      XingFrame({.frames = 21, .channels = 0xC4, .offset = 21, .marker = "Info"});
  EXPECT_TRUE(FindVbrHeader(info)->constant_bitrate);
  EXPECT_EQ(FindVbrHeader(info)->frames, 21u);
}

}  // namespace
}  // namespace tallymere
