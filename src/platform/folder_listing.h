#pragma once
// One pass over a native folder, returning only what a catalog may hold:
// regular files and folders whose names do not begin with "." (unless the
// filter wants them) and contain no "\". Symbolic links, devices, fifos and sockets are left out;
// folders named in the filter (other drives' mount points, pseudo file systems) too.
//
// A scan lists every folder of a tree, so this loop allocates nothing per
// entry beyond its name and asks the file system for an entry's facts only
// when the directory entry itself cannot tell the type or facts are wanted.

#include <string>
#include <string_view>
#include <vector>

#include "ports/platform.h"

namespace tallymere {

struct ListingFilter {
  // Folder names never returned; may be null.
  const std::vector<std::string>* fenced_folders = nullptr;
  // Inside the kernel's areas nothing is returned but one folder, the way
  // down to /run/media ("" for none).
  bool kernel_area = false;
  std::string_view kernel_area_exception;
  // Names that begin with "." are returned too (never "." and "..").
  bool with_hidden = false;
};

// Fills *listing and returns 0, or returns the errno of opening or reading
// the folder.
int ListNativeFolder(const std::string& native_folder, const ListingFilter& filter,
                     bool with_file_facts, FolderListing* listing);

}  // namespace tallymere
