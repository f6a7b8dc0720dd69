#include "mp3/vbr_header.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace tallymere {
namespace {

// The frame header's bits that place the VBR header:
//   byte 1  111VVLLP   VV version, LL layer (01: Layer III)
//   byte 3  CCxxxxxx   CC channel mode (11: mono)
constexpr std::size_t kModeByte = 1;
constexpr std::size_t kChannelByte = 3;
constexpr int kVersionShift = 3;
constexpr int kLayerShift = 1;
constexpr int kChannelShift = 6;
constexpr unsigned kTwoBits = 0b11;
constexpr unsigned kLayer3Bits = 0b01;
constexpr unsigned kMonoBits = 0b11;

// The side information between the 4 header bytes and the Xing header is
// shorter for one channel and for the half-size frames of MPEG-2 and 2.5, so
// "Xing" sits at 36 (MPEG-1 two channels), 21 (MPEG-1 mono, MPEG-2/2.5 two
// channels) or 13 (MPEG-2/2.5 mono).
constexpr std::size_t kFrameHeaderBytes = 4;
struct Layer3Layout {
  std::size_t side_info_bytes_stereo;
  std::size_t side_info_bytes_mono;
  int samples_per_frame;
};
// By version bits VV; 01 is reserved and has no layout.
constexpr std::array<std::optional<Layer3Layout>, 4> kLayer3Layouts = {
    Layer3Layout{17, 9, 576},    // 00 MPEG 2.5
    std::nullopt,                // 01 reserved
    Layer3Layout{17, 9, 576},    // 10 MPEG-2
    Layer3Layout{32, 17, 1152},  // 11 MPEG-1
};

// Xing and Info, offsets from the marker.
constexpr std::string_view kXingMarker = "Xing";
constexpr std::string_view kInfoMarker = "Info";
constexpr std::size_t kXingFlagsOffset = 4;
constexpr std::size_t kXingFramesOffset = 8;
constexpr uint32_t kXingFramesFlag = 0x1;
constexpr std::size_t kXingNeededBytes = kXingFramesOffset + 4;

// VBRI, offsets from the marker; the marker itself is 36 bytes into the frame
// whatever the version and channel mode.
constexpr std::size_t kVbriOffset = 36;
constexpr std::string_view kVbriMarker = "VBRI";
constexpr std::size_t kVbriFramesOffset = 14;  // after version, delay, quality, bytes
constexpr std::size_t kVbriNeededBytes = kVbriFramesOffset + 4;

uint32_t BigEndian32(std::string_view bytes, std::size_t offset) {
  uint32_t value = 0;
  for (std::size_t i = offset; i < offset + 4; ++i)
    value = (value << 8) | static_cast<uint8_t>(bytes[i]);
  return value;
}

// The bytes from offset on, when at least needed of them are there.
std::optional<std::string_view> Field(std::string_view frame, std::size_t offset,
                                      std::size_t needed) {
  if (frame.size() < offset + needed) return std::nullopt;
  return frame.substr(offset, needed);
}

}  // namespace

std::optional<VbrHeader> FindVbrHeader(std::string_view frame) {
  if (frame.size() < kFrameHeaderBytes) return std::nullopt;
  const auto mode = static_cast<uint8_t>(frame[kModeByte]);
  if (((mode >> kLayerShift) & kTwoBits) != kLayer3Bits) return std::nullopt;
  const std::optional<Layer3Layout>& layout = kLayer3Layouts[(mode >> kVersionShift) & kTwoBits];
  if (!layout) return std::nullopt;
  const bool mono =
      ((static_cast<uint8_t>(frame[kChannelByte]) >> kChannelShift) & kTwoBits) == kMonoBits;

  VbrHeader header;
  header.samples_per_frame = layout->samples_per_frame;
  const std::size_t xing_offset =
      kFrameHeaderBytes + (mono ? layout->side_info_bytes_mono : layout->side_info_bytes_stereo);
  if (const auto xing = Field(frame, xing_offset, kXingNeededBytes)) {
    const std::string_view marker = xing->substr(0, kXingMarker.size());
    if (marker == kXingMarker || marker == kInfoMarker) {
      if ((BigEndian32(*xing, kXingFlagsOffset) & kXingFramesFlag) == 0) return std::nullopt;
      header.frames = BigEndian32(*xing, kXingFramesOffset);
      header.constant_bitrate = marker == kInfoMarker;
      if (header.frames == 0) return std::nullopt;
      return header;
    }
  }
  if (const auto vbri = Field(frame, kVbriOffset, kVbriNeededBytes)) {
    if (vbri->substr(0, kVbriMarker.size()) == kVbriMarker) {
      header.frames = BigEndian32(*vbri, kVbriFramesOffset);
      if (header.frames == 0) return std::nullopt;
      return header;
    }
  }
  return std::nullopt;
}

long long AverageBitrate(int64_t file_length, uint32_t frames, float sample_rate,
                         int samples_per_frame) {
  // Evaluated as length / frames × rate / (samples / 8), the same value as the
  // formula above: for MPEG-1 at 44100 Hz these are exactly the operations of
  // the earlier reader, which assumed 144 (1152 / 8) and 44100, so catalogs
  // made by it do not change.
  const double bytes_per_frame = static_cast<double>(file_length) / frames;
  const double frame_size_factor = samples_per_frame / 8.0;
  const auto bits_per_second =
      static_cast<float>(bytes_per_frame * static_cast<double>(sample_rate) / frame_size_factor);
  // rint rounds halves to even in the default rounding mode.
  return static_cast<long long>(std::rint(static_cast<double>(bits_per_second) / 1000));
}

}  // namespace tallymere
