#pragma once
// The data files find and dupes read: those named, and the *.mpd files of the
// folders named (of their subfolders too with --recursive), as one shelf.

#include <string>
#include <vector>

#include "common/status.h"
#include "ports/platform.h"

namespace CLI {
class App;
}  // namespace CLI

namespace tallymere::cli {

struct ShelfArguments {
  std::vector<std::string> paths;
  bool recursive = false;
};

// Adds the positional DATA... arguments and --recursive.
void AddShelfArguments(CLI::App* command, ShelfArguments* arguments);

struct NamedDataFiles {
  std::vector<std::string> files;
  std::vector<Status> problems;  // folders that could not be listed
  // Rows name their catalog when more than one data file, or a folder, was
  // named: a folder is a shelf, however many files it holds today.
  bool name_catalogs = false;
};

NamedDataFiles ResolveDataFiles(const Platform& platform, const ShelfArguments& arguments);

}  // namespace tallymere::cli
