#pragma once
// Catalog paths ("C:\Music\Pop\") and native paths ("/Music/Pop/") into each
// other through the drive map.
//
// Both directions resolve "." and ".." by the text alone, never above the
// drive's root, and fold repeated separators, so no path can leave its drive.
// A trailing separator is kept when the input has one. The drive letter may be
// of either case.

#include <optional>
#include <string>
#include <string_view>

#include "platform/drive_map.h"

namespace tallymere {

struct ResolvedPath {
  const MappedDrive* drive = nullptr;
  std::string native;  // empty when the drive has no folder (no disc)
};

// The drive of a catalog path and the native path it names; nothing when the
// text does not start with a mapped drive letter and a colon.
std::optional<ResolvedPath> ResolveCatalogPath(const DriveMap& map, std::string_view catalog_path);

// The native path, or nothing for an unknown drive or a drive without a disc.
std::optional<std::string> CatalogToNative(const DriveMap& map, std::string_view catalog_path);

// The catalog path on the drive whose folder is the longest leading part (by
// whole components) of the native path; nothing when no drive holds it, when
// an ignored folder holds it, or when a name in it contains "\".
std::optional<std::string> NativeToCatalog(const DriveMap& map, std::string_view native_path);

}  // namespace tallymere
