#include "search/shelf.h"

#include <algorithm>
#include <unordered_set>

#include "common/ascii_case.h"
#include "common/sorted_list.h"

namespace tallymere {
namespace {

std::string Joined(const std::string& folder, const std::string& name) {
  return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

void ListFolder(const Platform& platform, const std::string& folder, bool recursive,
                std::unordered_set<std::string>* seen, ShelfFiles* shelf) {
  Result<FolderListing> listing = platform.ListNativeFolder(folder);
  if (!listing) {
    shelf->problems.push_back(listing.status());
    return;
  }
  std::vector<std::string> files;
  std::vector<std::string> subfolders;
  for (FolderEntry& entry : listing->entries) {
    if (entry.is_folder) {
      if (recursive) subfolders.push_back(std::move(entry.name));
    } else if (EndsWithNoCase(entry.name, kDataFileExtension)) {
      files.push_back(std::move(entry.name));
    }
  }
  const auto by_name = [](const std::string& a, const std::string& b) {
    return CompareNoCase(a, b) < 0;
  };
  std::sort(files.begin(), files.end(), by_name);
  std::sort(subfolders.begin(), subfolders.end(), by_name);
  for (const std::string& name : files) {
    std::string path = Joined(folder, name);
    if (seen->insert(path).second) shelf->files.push_back(std::move(path));
  }
  for (const std::string& name : subfolders) {
    ListFolder(platform, Joined(folder, name), recursive, seen, shelf);
  }
}

}  // namespace

ShelfFiles ListShelf(const Platform& platform, const Shelf& shelf) {
  ShelfFiles files;
  // A folder given twice, or inside another given with its subfolders, adds
  // its data files once.
  std::unordered_set<std::string> seen;
  for (const std::string& folder : shelf.folders) {
    ListFolder(platform, folder, shelf.recursive, &seen, &files);
  }
  return files;
}

std::string_view CatalogName(std::string_view native_path) {
  const std::size_t slash = native_path.rfind('/');
  return slash == std::string_view::npos ? native_path : native_path.substr(slash + 1);
}

}  // namespace tallymere
