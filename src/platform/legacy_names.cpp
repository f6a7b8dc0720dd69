#include "platform/legacy_names.h"

#include <sys/stat.h>

#include <string_view>

#include "common/text_encoding.h"

namespace tallymere {
namespace {

bool Exists(const std::string& path) {
  struct stat facts;
  return lstat(path.c_str(), &facts) == 0;
}

}  // namespace

std::string ReachableNativePath(const std::string& drive_folder, std::string native_path) {
  if (IsAscii(native_path) || Exists(native_path)) return native_path;
  if (!native_path.starts_with(drive_folder)) return native_path;

  std::string reached = drive_folder;
  std::size_t pos = drive_folder.size();
  while (pos < native_path.size()) {
    std::size_t end = native_path.find('/', pos);
    if (end == std::string::npos) end = native_path.size();
    const std::string_view name = std::string_view(native_path).substr(pos, end - pos);
    if (!name.empty()) {
      if (reached.empty() || reached.back() != '/') reached += '/';
      std::string candidate = reached + std::string(name);
      if (!Exists(candidate) && !IsAscii(name) && IsValidUtf8(name) && FitsWindows1252(name)) {
        std::string legacy = reached + Utf8ToWindows1252(name);
        if (Exists(legacy)) candidate = std::move(legacy);
      }
      reached = std::move(candidate);
    }
    pos = end + 1;
  }
  if (native_path.back() == '/' && reached.back() != '/') reached += '/';
  return reached;
}

}  // namespace tallymere
