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

TEST(MpegHeaderTest, BitStringPutsTheHighestBitFirst) {
  EXPECT_EQ(BitString(0x00), "00000000");
  EXPECT_EQ(BitString(0xFB), "11111011");
  EXPECT_EQ(BitString(0x90), "10010000");
  EXPECT_EQ(BitString(0x01), "00000001");
  EXPECT_EQ(BitString(0xFF), "11111111");
}

TEST(MpegHeaderTest, DecodesVersionAndLayerBits) {
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
    EXPECT_EQ(info.MpegVersion, c.version) << int(c.mode);
    EXPECT_EQ(info.MpegLayer, c.layer) << int(c.mode);
  }
}

TEST(MpegHeaderTest, UsesTheSixBitrateTables) {
  // Rate bytes 0x10 and 0xE0 hold the first and the last non-free index.
  struct Case {
    uint8_t mode;
    int lowest;
    int highest;
  };
  const Case cases[] = {{0xFB, 32, 320}, {0xFD, 32, 384}, {0xFF, 32, 448},
                        {0xF7, 32, 256}, {0xF5, 8, 160},  {0xF3, 8, 160}};
  for (const Case& c : cases) {
    EXPECT_EQ(Decode(c.mode, 0x10).kbps, c.lowest) << int(c.mode);
    EXPECT_EQ(Decode(c.mode, 0xE0).kbps, c.highest) << int(c.mode);
    EXPECT_EQ(Decode(c.mode, 0x00).kbps, 0) << int(c.mode);
    EXPECT_EQ(Decode(c.mode, 0xF0).kbps, 0) << int(c.mode);
  }
  const std::vector<int> layer3 = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
  for (int index = 1; index <= 14; ++index) {
    EXPECT_EQ(Decode(0xFB, static_cast<uint8_t>(index << 4)).kbps, layer3[index - 1]);
  }
  const std::vector<int> mpeg2_layer1 = {32,  48,  56,  64,  80,  96,  112,
                                         128, 144, 160, 176, 192, 224, 256};
  for (int index = 1; index <= 14; ++index) {
    EXPECT_EQ(Decode(0xF7, static_cast<uint8_t>(index << 4)).kbps, mpeg2_layer1[index - 1]);
  }
}

TEST(MpegHeaderTest, DecodesSampleRatesPerVersion) {
  EXPECT_EQ(Decode(0xFB, 0x90).sample_rate, 44100);
  EXPECT_EQ(Decode(0xFB, 0x94).sample_rate, 48000);
  EXPECT_EQ(Decode(0xFB, 0x98).sample_rate, 32000);
  EXPECT_EQ(Decode(0xFB, 0x9C).sample_rate, 0);
  EXPECT_EQ(Decode(0xF3, 0x90).sample_rate, 22050);
  EXPECT_EQ(Decode(0xF3, 0x94).sample_rate, 24000);
  EXPECT_EQ(Decode(0xF3, 0x98).sample_rate, 16000);
  EXPECT_EQ(Decode(0xF3, 0x9C).sample_rate, 0);
  EXPECT_EQ(Decode(0xE3, 0x90).sample_rate, 11025);
  EXPECT_EQ(Decode(0xE3, 0x94).sample_rate, 12000);
  EXPECT_EQ(Decode(0xE3, 0x98).sample_rate, 8000);
  EXPECT_EQ(Decode(0xE3, 0x9C).sample_rate, 0);
}

TEST(MpegHeaderTest, Mpeg25UsesTheMpeg2Tables) {
  EXPECT_EQ(Decode(0xE3, 0x90).kbps, 80);   // Layer III, index 9
  EXPECT_EQ(Decode(0xE5, 0xE0).kbps, 160);  // Layer II, index 14
  EXPECT_EQ(Decode(0xE7, 0xE0).kbps, 256);  // Layer I, index 14
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

TEST(MpegHeaderTest, DecodeBitrateStoresFrameBitrate) {
  Mp3Info info;
  DecodeVersionLayer(0xFB, &info);
  EXPECT_EQ(DecodeBitrate(0x90, &info), 128);
  EXPECT_EQ(info.FrameBitrate, 128);
  EXPECT_EQ(info.SampleRate, 44100);
}

TEST(MpegHeaderTest, XingFrameCountIsBigEndian) {
  EXPECT_EQ(XingFrameCount(0, 0, 0x27, 0x10), 10000u);
  EXPECT_EQ(XingFrameCount(0x01, 0x02, 0x03, 0x04), 0x01020304u);
  EXPECT_EQ(XingFrameCount(0xFF, 0xFF, 0xFF, 0xFF), 0xFFFFFFFFu);
  EXPECT_EQ(XingFrameCount(0, 0, 0, 0), 0u);
}

}  // namespace
}  // namespace tallymere
