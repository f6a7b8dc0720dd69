#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <tuple>
#include <vector>

#include "mp3/bitrat.h"
#include "mp3/mp3_fixtures.h"
#include "mp3/vbr_header.h"

namespace tallymere {
namespace {

// The bitrate and the sample rate that DecodeBitrate gives after DecodeVersionLayer.
std::pair<std::optional<int>, float> Decode(uint8_t mode, uint8_t rate) {
  Mp3Info info;
  DecodeVersionLayer(mode, &info);
  const std::optional<int> kbps = DecodeBitrate(rate, &info);
  return {kbps, info.SampleRate};
}

TEST(MpegHeaderTest, DecodesVersionAndLayerBitsAndBigEndianFrameCounts) {
  EXPECT_EQ(BitString(0x00) + " " + BitString(0xFB) + " " + BitString(0x01),
            "00000000 11111011 00000001");
  const std::pair<uint8_t, const char*> cases[] = {
      {0xFB, "1.0 III"}, {0xFD, "1.0 II"},       {0xFF, "1.0 I"},      {0xF9, "1.0 0"},
      {0xF3, "2.0 III"}, {0xF5, "2.0 II"},       {0xF7, "2.0 I"},      {0xE3, "2.5 III"},
      {0xE2, "2.5 III"}, {0xEB, "reserved III"}, {0xEF, "reserved I"},
  };
  for (const auto& [mode, version_layer] : cases) {
    Mp3Info info;
    EXPECT_EQ(DecodeVersionLayer(mode, &info), BitString(mode));
    EXPECT_EQ(info.MpegVersion + " " + info.MpegLayer, version_layer) << int(mode);
  }
  EXPECT_EQ(XingFrameCount(0x01, 0x02, 0x03, 0x04), 0x01020304u);
  EXPECT_EQ(XingFrameCount(0xFF, 0xFF, 0xFF, 0xFF), 0xFFFFFFFFu);
}

TEST(MpegHeaderTest, UsesTheSixBitrateTablesAndMpeg2ForMpeg25) {
  // Rate bytes 0x10 and 0xE0 hold the first and the last non-free index.
  const std::tuple<uint8_t, int, int> cases[] = {{0xFB, 32, 320}, {0xFD, 32, 384}, {0xFF, 32, 448},
                                                 {0xF7, 32, 256}, {0xF5, 8, 160},  {0xF3, 8, 160},
                                                 {0xE5, 8, 160},  {0xE7, 32, 256}};
  for (const auto& [mode, lowest, highest] : cases) {
    EXPECT_EQ(Decode(mode, 0x10).first, lowest) << int(mode);
    EXPECT_EQ(Decode(mode, 0xE0).first, highest) << int(mode);
    EXPECT_EQ(Decode(mode, 0x00).first, 0) << int(mode);
    EXPECT_EQ(Decode(mode, 0xF0).first, 0) << int(mode);
  }
  const std::vector<int> layer3 = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
  const std::vector<int> mpeg2_layer1 = {32,  48,  56,  64,  80,  96,  112,
                                         128, 144, 160, 176, 192, 224, 256};
  for (int index = 1; index <= 14; ++index) {
    EXPECT_EQ(Decode(0xFB, static_cast<uint8_t>(index << 4)).first, layer3[index - 1]);
    EXPECT_EQ(Decode(0xF7, static_cast<uint8_t>(index << 4)).first, mpeg2_layer1[index - 1]);
  }
  EXPECT_EQ(Decode(0xE3, 0x90).first, 80);  // MPEG 2.5 Layer III, index 9
}

// A reserved version or layer has no table and sets nothing.
TEST(MpegHeaderTest, DecodesSampleRatesPerVersionAndNothingForAReservedVersionOrLayer) {
  const std::pair<uint8_t, std::vector<float>> versions[] = {{0xFB, {44100, 48000, 32000, 0}},
                                                             {0xF3, {22050, 24000, 16000, 0}},
                                                             {0xE3, {11025, 12000, 8000, 0}}};
  for (const auto& [mode, rates] : versions) {
    for (int bits = 0; bits < 4; ++bits) {
      EXPECT_EQ(Decode(mode, static_cast<uint8_t>(0x90 | bits << 2)).second, rates[bits])
          << int(mode) << " " << bits;
    }
  }
  for (const uint8_t mode : {0xEB, 0xF9, 0xE9}) {
    Mp3Info info;
    info.FrameBitrate = 99;
    info.SampleRate = 12345;
    DecodeVersionLayer(mode, &info);
    EXPECT_EQ(DecodeBitrate(0x90, &info), std::nullopt) << int(mode);
    EXPECT_EQ(info.FrameBitrate, 99);
    EXPECT_EQ(info.SampleRate, 12345);
  }
}

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
  // Exact halves, where another order of operations could round the other way:
  // frames = 1225 m and length = m × (4000 n + 2000) give 1000 × (n + 0.5).
  for (uint32_t m = 1; m <= 40; ++m) {
    for (int64_t n = 0; n <= 400; ++n) {
      const int64_t length = m * (4000 * n + 2000);
      const long long kbps = AverageBitrate(length, 1225 * m, 44100, 1152);
      ASSERT_EQ(kbps, CatalogedXingAverage(length, 1225 * m)) << length << " bytes, m " << m;
      ASSERT_EQ(kbps % 2, 0) << "a half rounds to even: " << length << " bytes, m " << m;
    }
  }
}

// "frames samples-per-frame", " Info" for a constant-bitrate header, or "none".
std::string Vbr(std::string_view bytes) {
  const std::optional<VbrHeader> vbr = FindVbrHeader(bytes);
  if (!vbr) return "none";
  return std::to_string(vbr->frames) + " " + std::to_string(vbr->samples_per_frame) +
         (vbr->constant_bitrate ? " Info" : "");
}

TEST(FindVbrHeaderTest, NeedsTheWholeHeaderInsideTheBytesItIsGiven) {
  const std::string xing = XingFrame(10000);
  EXPECT_EQ(Vbr(xing), "10000 1152");
  EXPECT_EQ(Vbr(xing.substr(0, 48)), "10000 1152");
  const std::string vbri = testing::VbriFrame(77, 0xE3, 0x80, 0xC4);
  EXPECT_EQ(Vbr(vbri.substr(0, 54)), "77 576");
  EXPECT_EQ(Vbr(xing.substr(0, 47)) + Vbr(xing.substr(0, 3)) + Vbr(vbri.substr(0, 53)),
            "nonenonenone");
  EXPECT_EQ(Vbr(XingFrame({.frames = 21, .channels = 0xC4, .offset = 21, .marker = "Info"})),
            "21 1152 Info");
}

}  // namespace
}  // namespace tallymere
