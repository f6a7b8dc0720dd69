// The decoding of an MPEG audio frame header's second and third bytes.
//
//   sync byte  11111111
//   mode byte  111VVLLP   VV version, LL layer, P protection
//   rate byte  BBBBSSPX   BBBB bitrate index, SS sample-rate index
//
// The bytes are read through their eight-character bit strings; positions in
// the comments below are 1-based characters of those strings.

#include <array>
#include <string_view>

#include "mp3/bitrat.h"

namespace tallymere {
namespace {

using BitrateTable = std::array<int16_t, 16>;

// kbps by bitrate index; index 0 (free format) and 15 (invalid) give 0.
// ISO/IEC 11172-3, MPEG-1.
constexpr BitrateTable kMpeg1Layer1 = {0,   32,  64,  96,  128, 160, 192, 224,
                                       256, 288, 320, 352, 384, 416, 448, 0};
constexpr BitrateTable kMpeg1Layer2 = {0,   32,  48,  56,  64,  80,  96,  112,
                                       128, 160, 192, 224, 256, 320, 384, 0};
constexpr BitrateTable kMpeg1Layer3 = {0,   32,  40,  48,  56,  64,  80,  96,
                                       112, 128, 160, 192, 224, 256, 320, 0};
// ISO/IEC 13818-3, the lower sampling frequencies (also used for MPEG 2.5).
constexpr BitrateTable kMpeg2Layer1 = {0,   32,  48,  56,  64,  80,  96,  112,
                                       128, 144, 160, 176, 192, 224, 256, 0};
constexpr BitrateTable kMpeg2Layer2And3 = {0,  8,  16, 24,  32,  40,  48,  56,
                                           64, 80, 96, 112, 128, 144, 160, 0};

// Hz by sample-rate index; index 3 is reserved.
using SampleRateTable = std::array<float, 4>;
constexpr SampleRateTable kMpeg1Rates = {44100, 48000, 32000, 0};
constexpr SampleRateTable kMpeg2Rates = {22050, 24000, 16000, 0};
constexpr SampleRateTable kMpeg25Rates = {11025, 12000, 8000, 0};

constexpr std::string_view kVersion1 = "1.0";
constexpr std::string_view kVersion2 = "2.0";
constexpr std::string_view kVersion25 = "2.5";

// The value of a run of "1"/"0" characters.
int BitsValue(std::string_view bits) {
  int value = 0;
  for (char bit : bits) value = value * 2 + (bit == '1' ? 1 : 0);
  return value;
}

const BitrateTable* TableFor(std::string_view version, std::string_view layer) {
  if (version == kVersion1) {
    if (layer == "I") return &kMpeg1Layer1;
    if (layer == "II") return &kMpeg1Layer2;
    if (layer == "III") return &kMpeg1Layer3;
    return nullptr;
  }
  if (version == kVersion2 || version == kVersion25) {
    if (layer == "I") return &kMpeg2Layer1;
    if (layer == "II" || layer == "III") return &kMpeg2Layer2And3;
  }
  return nullptr;
}

const SampleRateTable& RatesFor(std::string_view version) {
  if (version == kVersion1) return kMpeg1Rates;
  if (version == kVersion2) return kMpeg2Rates;
  return kMpeg25Rates;
}

}  // namespace

std::string BitString(uint8_t value) {
  std::string bits;
  int remaining = value;
  for (int k = 7; k >= 0; --k) {
    const int weight = 1 << k;
    if (remaining / weight >= 1) {
      bits += '1';
      remaining %= weight;
    } else {
      bits += '0';
    }
  }
  return bits;
}

std::string DecodeVersionLayer(uint8_t mode_byte, Mp3Info* info) {
  const std::string bits = BitString(mode_byte);
  const std::string_view version = std::string_view(bits).substr(3, 2);  // characters 4 and 5
  const std::string_view layer = std::string_view(bits).substr(5, 2);    // characters 6 and 7
  if (version == "11") {
    info->MpegVersion = kVersion1;
  } else if (version == "10") {
    info->MpegVersion = kVersion2;
  } else if (version == "00") {
    info->MpegVersion = kVersion25;
  } else {
    info->MpegVersion = "reserved";
  }
  if (layer == "11") {
    info->MpegLayer = "I";
  } else if (layer == "10") {
    info->MpegLayer = "II";
  } else if (layer == "01") {
    info->MpegLayer = "III";
  } else {
    info->MpegLayer = "0";
  }
  return bits;
}

std::optional<int> DecodeBitrate(uint8_t rate_byte, Mp3Info* info) {
  const BitrateTable* table = TableFor(info->MpegVersion, info->MpegLayer);
  if (table == nullptr) return std::nullopt;
  const std::string bits = BitString(rate_byte);
  const int bitrate_index = BitsValue(std::string_view(bits).substr(0, 4));  // characters 1-4
  const int rate_index = BitsValue(std::string_view(bits).substr(4, 2));     // characters 5, 6
  info->FrameBitrate = (*table)[bitrate_index];
  info->SampleRate = RatesFor(info->MpegVersion)[rate_index];
  return info->FrameBitrate;
}

std::optional<BitrateRange> BitrateRangeOf(std::string_view version, std::string_view layer) {
  const BitrateTable* table = TableFor(version, layer);
  if (table == nullptr) return std::nullopt;
  // Index 0 (free format) and 15 (invalid) hold 0; the rest rise.
  return BitrateRange{(*table)[1], (*table)[14]};
}

uint32_t XingFrameCount(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) {
  return (static_cast<uint32_t>(b0) << 24) | (static_cast<uint32_t>(b1) << 16) |
         (static_cast<uint32_t>(b2) << 8) | static_cast<uint32_t>(b3);
}

}  // namespace tallymere
