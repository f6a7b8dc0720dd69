#include "platform/catalog_path.h"

#include <vector>

namespace tallymere {
namespace {

struct PathParts {
  std::vector<std::string_view> names;
  bool trailing_separator = false;
};

bool IsSeparator(char c, bool backslash_too) { return c == '/' || (backslash_too && c == '\\'); }

// The names of a relative path after dropping "." and empty names and letting
// ".." remove the name before it (never more than there are).
PathParts SplitPath(std::string_view path, bool backslash_too) {
  PathParts parts;
  parts.trailing_separator = !path.empty() && IsSeparator(path.back(), backslash_too);
  std::size_t pos = 0;
  while (pos <= path.size()) {
    std::size_t end = pos;
    while (end < path.size() && !IsSeparator(path[end], backslash_too)) ++end;
    const std::string_view name = path.substr(pos, end - pos);
    if (name == "..") {
      if (!parts.names.empty()) parts.names.pop_back();
    } else if (!name.empty() && name != ".") {
      parts.names.push_back(name);
    }
    pos = end + 1;
  }
  return parts;
}

// True when path is folder or lies below it, comparing whole components.
bool IsWithin(std::string_view path, std::string_view folder) {
  if (folder == "/") return true;
  return path.starts_with(folder) && (path.size() == folder.size() || path[folder.size()] == '/');
}

}  // namespace

std::optional<ResolvedPath> ResolveCatalogPath(const DriveMap& map, std::string_view catalog_path) {
  if (catalog_path.size() < 2 || catalog_path[1] != ':') return std::nullopt;
  const MappedDrive* drive = FindDrive(map, catalog_path[0]);
  if (drive == nullptr) return std::nullopt;
  ResolvedPath resolved;
  resolved.drive = drive;
  const std::string& root = drive->info.native_folder;
  if (root.empty()) return resolved;

  const PathParts parts = SplitPath(catalog_path.substr(2), /*backslash_too=*/true);
  resolved.native = root;
  for (std::string_view name : parts.names) {
    if (resolved.native.back() != '/') resolved.native += '/';
    resolved.native += name;
  }
  if (parts.trailing_separator && resolved.native.back() != '/') resolved.native += '/';
  return resolved;
}

std::optional<std::string> CatalogToNative(const DriveMap& map, std::string_view catalog_path) {
  std::optional<ResolvedPath> resolved = ResolveCatalogPath(map, catalog_path);
  if (!resolved || resolved->native.empty()) return std::nullopt;
  return std::move(resolved->native);
}

std::optional<std::string> NativeToCatalog(const DriveMap& map, std::string_view native_path) {
  if (native_path.empty() || native_path[0] != '/') return std::nullopt;
  const PathParts parts = SplitPath(native_path, /*backslash_too=*/false);
  std::string normal;
  for (std::string_view name : parts.names) {
    if (name.find('\\') != std::string_view::npos) return std::nullopt;
    normal += '/';
    normal += name;
  }
  if (normal.empty()) normal = "/";

  const MappedDrive* best = nullptr;
  std::size_t best_length = 0;
  for (const MappedDrive& drive : map.drives) {
    const std::string& root = drive.info.native_folder;
    if (root.empty() || !IsWithin(normal, root)) continue;
    if (best == nullptr || root.size() > best_length) {
      best = &drive;
      best_length = root.size();
    }
  }
  if (best == nullptr) return std::nullopt;
  for (const std::string& ignored : map.ignored_folders) {
    if (IsWithin(normal, ignored) && ignored.size() > best_length) return std::nullopt;
  }

  std::string catalog{best->info.letter, ':'};
  const std::string_view rest = best->info.native_folder == "/"
                                    ? std::string_view(normal)
                                    : std::string_view(normal).substr(best_length);
  for (char c : rest) catalog += c == '/' ? '\\' : c;
  if (catalog.size() == 2 || (parts.trailing_separator && catalog.back() != '\\')) catalog += '\\';
  return catalog;
}

}  // namespace tallymere
