#include "platform/volume_label.h"

#include "common/text_encoding.h"

namespace tallymere {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string DecodeByLabelName(std::string_view name) {
  std::string bytes;
  bytes.reserve(name.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
      const int high = HexValue(name[i + 2]);
      const int low = HexValue(name[i + 3]);
      if (high >= 0 && low >= 0) {
        bytes.push_back(static_cast<char>(high * 16 + low));
        i += 3;
        continue;
      }
    }
    bytes.push_back(name[i]);
  }
  return DecodeText(bytes);
}

std::string ParseIsoVolumeIdentifier(std::string_view descriptor) {
  if (descriptor.size() < kIsoDescriptorPrefixSize) return "";
  if (static_cast<unsigned char>(descriptor[kIsoDescriptorTypeOffset]) !=
          kIsoPrimaryDescriptorType ||
      descriptor.substr(kIsoMagicOffset, kIsoMagic.size()) != kIsoMagic) {
    return "";
  }
  std::string_view id = descriptor.substr(kIsoVolumeIdOffset, kIsoVolumeIdSize);
  while (!id.empty() && (id.back() == ' ' || id.back() == '\0')) id.remove_suffix(1);
  return DecodeText(id);
}

}  // namespace tallymere
