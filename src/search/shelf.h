#pragma once
// The shelf: the folders whose data files Find in Catalogs searches, each
// with its *.mpd files and, when asked, those of its subfolders.

#include <string>
#include <string_view>
#include <vector>

#include "common/status.h"
#include "ports/platform.h"

namespace tallymere {

inline constexpr std::string_view kDataFileExtension = ".mpd";

struct Shelf {
  std::vector<std::string> folders;  // native, searched in this order
  bool recursive = false;            // and their subfolders
};

struct ShelfFiles {
  std::vector<std::string> files;  // native paths, each once
  std::vector<Status> problems;    // folders that could not be listed
};

// The data files of the shelf: a folder's own ones sorted by name, letter
// case ignored, then those of its subfolders in the same order. A folder that
// cannot be listed (gone, no access) is named in problems; the others are
// still listed.
ShelfFiles ListShelf(const Platform& platform, const Shelf& shelf);

// The name of a data file without its folder, as the results name it.
std::string_view CatalogName(std::string_view native_path);

}  // namespace tallymere
