#include <gtest/gtest.h>

#include <vector>

#include "mp3/bitrat.h"

namespace tallymere {
namespace {

// The header-decoded fields after DecodeVersionLayer and DecodeBitrate.
struct Decoded {
  std::string version;
  std::string layer;
  std::optional<int> kbps;
  float sample_rate;
};

Decoded Decode(uint8_t mode, uint8_t rate) {
  Mp3Info info;
  DecodeVersionLayer(mode, &info);
  const std::optional<int> kbps = DecodeBitrate(rate, &info);
  return {info.MpegVersion, info.MpegLayer, kbps, info.SampleRate};
}

TEST(MpegHeaderTest, DecodesVersionAndLayerBitsAndBigEndianFrameCounts) {
  EXPECT_EQ(BitString(0x00) + BitString(0xFB) + BitString(0x01),
            "00000000"
            "11111011"
            "00000001");
  struct Case {
    uint8_t mode;
    const char* version;
    const char* layer;
  };
  const Case cases[] = {
      {0xFB, "1.0", "III"},      {0xFD, "1.0", "II"},     {0xFF, "1.0", "I"},
      {0xF9, "1.0", "0"},        {0xF3, "2.0", "III"},    {0xF5, "2.0", "II"},
      {0xF7, "2.0", "I"},        {0xE3, "2.5", "III"},    {0xE2, "2.5", "III"},
      {0xEB, "reserved", "III"}, {0xEF, "reserved", "I"},
  };
  for (const Case& c : cases) {
    Mp3Info info;
    EXPECT_EQ(DecodeVersionLayer(c.mode, &info), BitString(c.mode));
    EXPECT_EQ(info.MpegVersion + " " + info.MpegLayer, std::string(c.version) + " " + c.layer)
        << int(c.mode);
  }
  EXPECT_EQ(XingFrameCount(0, 0, 0x27, 0x10), 10000u);
  EXPECT_EQ(XingFrameCount(0x01, 0x02, 0x03, 0x04), 0x01020304u);
  EXPECT_EQ(XingFrameCount(0xFF, 0xFF, 0xFF, 0xFF), 0xFFFFFFFFu);
}

TEST(MpegHeaderTest, UsesTheSixBitrateTablesAndMpeg2ForMpeg25) {
  // Rate bytes 0x10 and 0xE0 hold the first and the last non-free index.
  struct Case {
    uint8_t mode;
    int lowest;
    int highest;
  };
  const Case cases[] = {{0xFB, 32, 320}, {0xFD, 32, 384}, {0xFF, 32, 448}, {0xF7, 32, 256},
                        {0xF5, 8, 160},  {0xF3, 8, 160},  {0xE5, 8, 160},  {0xE7, 32, 256}};
  for (const Case& c : cases) {
    EXPECT_EQ(Decode(c.mode, 0x10).kbps, c.lowest) << int(c.mode);
    EXPECT_EQ(Decode(c.mode, 0xE0).kbps, c.highest) << int(c.mode);
    EXPECT_EQ(Decode(c.mode, 0x00).kbps, 0) << int(c.mode);
    EXPECT_EQ(Decode(c.mode, 0xF0).kbps, 0) << int(c.mode);
  }
  const std::vector<int> layer3 = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
  const std::vector<int> mpeg2_layer1 = {32,  48,  56,  64,  80,  96,  112,
                                         128, 144, 160, 176, 192, 224, 256};
  for (int index = 1; index <= 14; ++index) {
    EXPECT_EQ(Decode(0xFB, static_cast<uint8_t>(index << 4)).kbps, layer3[index - 1]);
    EXPECT_EQ(Decode(0xF7, static_cast<uint8_t>(index << 4)).kbps, mpeg2_layer1[index - 1]);
  }
  EXPECT_EQ(Decode(0xE3, 0x90).kbps, 80);  // MPEG 2.5 Layer III, index 9
}

TEST(MpegHeaderTest, DecodesSampleRatesPerVersion) {
  const std::pair<uint8_t, std::vector<float>> versions[] = {{0xFB, {44100, 48000, 32000, 0}},
                                                             {0xF3, {22050, 24000, 16000, 0}},
                                                             {0xE3, {11025, 12000, 8000, 0}}};
  for (const auto& [mode, rates] : versions) {
    for (int bits = 0; bits < 4; ++bits) {
      EXPECT_EQ(Decode(mode, static_cast<uint8_t>(0x90 | bits << 2)).sample_rate, rates[bits])
          << int(mode) << " " << bits;
    }
  }
}

TEST(MpegHeaderTest, ReservedVersionOrLayerSetsNothing) {
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

}  // namespace
}  // namespace tallymere
