#pragma once
// Reading volume labels: the names udev gives the links in /dev/disk/by-label
// and the volume identifier of an ISO 9660 disc.

#include <cstdint>
#include <string>
#include <string_view>

namespace tallymere {

// udev writes unsafe bytes of a label as "\xNN" ("My\x20Disk"); this gives
// the label back ("My Disk"), decoded to UTF-8 as labels are stored.
std::string DecodeByLabelName(std::string_view name);

// ISO 9660 primary volume descriptor, in the sixteenth 2048-byte sector:
//   type(1)=1 "CD001"(5) version(1)=1 unused(1) system-id(32) volume-id(32) ...
inline constexpr std::int64_t kIsoDescriptorOffset = 16 * 2048;
inline constexpr std::size_t kIsoDescriptorTypeOffset = 0;
inline constexpr std::size_t kIsoMagicOffset = 1;
inline constexpr std::string_view kIsoMagic = "CD001";
inline constexpr std::size_t kIsoVolumeIdOffset = 40;
inline constexpr std::size_t kIsoVolumeIdSize = 32;
inline constexpr std::size_t kIsoDescriptorPrefixSize = kIsoVolumeIdOffset + kIsoVolumeIdSize;
inline constexpr unsigned char kIsoPrimaryDescriptorType = 1;

// The volume identifier of a primary volume descriptor without its padding
// spaces, or "" when the bytes are not one.
std::string ParseIsoVolumeIdentifier(std::string_view descriptor);

}  // namespace tallymere
