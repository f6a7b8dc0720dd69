#include "catalog/file_type.h"

namespace tallymere {

std::string NormalFileType(std::string_view text) {
  std::string type = AsciiLower(text);
  if (type == kAllFiles || type == kAudioType) return type;
  if (type.starts_with("*.")) type.erase(0, 1);
  if (type.starts_with('.')) type.erase(0, 1);
  const std::size_t characters = CountCharacters(type);
  if (characters < kTypeCharacters || characters > kLongestTypeCharacters) return {};
  if (type.find_first_of("*?/\\.") != std::string::npos) return {};
  return type;
}

}  // namespace tallymere
