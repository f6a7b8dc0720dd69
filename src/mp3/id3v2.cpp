#include "mp3/id3v2.h"

namespace tallymere {
namespace {

constexpr std::string_view kId3v2Marker = "ID3";
constexpr std::size_t kVersionOffset = 3;
constexpr std::size_t kFlagsOffset = 5;
constexpr std::size_t kSizeOffset = 6;
constexpr std::size_t kSizeWidth = 4;

}  // namespace

uint32_t Id3v2TagLength(std::string_view head) {
  if (head.size() < kId3v2HeaderSize || head.substr(0, kId3v2Marker.size()) != kId3v2Marker) {
    return 0;
  }
  const auto byte = [&](std::size_t i) { return static_cast<uint8_t>(head[i]); };
  if (byte(kVersionOffset) == 0xFF || byte(kVersionOffset + 1) == 0xFF) return 0;
  uint32_t size = 0;
  for (std::size_t i = kSizeOffset; i < kSizeOffset + kSizeWidth; ++i) {
    if (byte(i) & 0x80) return 0;  // not sync-safe: no tag of ours
    size = (size << 7) | byte(i);  // 0xxxxxxx
  }
  uint32_t length = static_cast<uint32_t>(kId3v2HeaderSize) + size;
  if (byte(kFlagsOffset) & kId3v2FooterFlag) length += kId3v2FooterSize;
  return length;
}

}  // namespace tallymere
