// Listing a tree the way a scan does: every folder twice, once for its
// subfolders and once for its files with their facts. The scan budget is
// 1.5x of `find ROOT -type f -printf '%s %T@\n'` over the same tree, which
// BM_FindPrintf measures alongside.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/linux_platform.h"

namespace {

namespace fs = std::filesystem;
using namespace tallymere;

constexpr int kTopFolders = 20;
constexpr int kSubfolders = 15;
constexpr int kFilesPerFolder = 100;  // 20 x 15 x 100 = 30,000 files

// A tree of 30,000 small files with its own drives.dat, removed at the end.
class BenchTree {
 public:
  BenchTree() {
    std::string pattern = (fs::temp_directory_path() / "tallymere-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    m_root = pattern;
    for (int top = 0; top < kTopFolders; ++top) {
      for (int sub = 0; sub < kSubfolders; ++sub) {
        const std::string folder =
            m_root + "/tree/Artist " + std::to_string(top) + "/Album " + std::to_string(sub);
        fs::create_directories(folder);
        for (int file = 0; file < kFilesPerFolder; ++file) {
          std::ofstream(folder + "/Track " + std::to_string(file) + ".mp3") << file;
        }
      }
    }
    fs::create_directories(m_root + "/program/Data");
    std::ofstream(m_root + "/program/Data/drives.dat") << "C: fixed " << m_root << "/tree\n";
  }
  ~BenchTree() {
    std::error_code error;
    if (!m_root.empty()) fs::remove_all(m_root, error);
  }
  const std::string& root() const { return m_root; }

 private:
  std::string m_root;
};

const BenchTree& Tree() {
  static const BenchTree tree;
  return tree;
}

void BM_ScanListingTwicePerFolder(benchmark::State& state) {
  const LinuxPlatform platform(Tree().root() + "/program");
  for (auto _ : state) {
    std::vector<std::string> folders = {"C:\\"};
    int64_t files = 0;
    int64_t bytes = 0;
    while (!folders.empty()) {
      const std::string folder = std::move(folders.back());
      folders.pop_back();
      const Result<FolderListing> subfolders = platform.ListFolder(folder, false);
      if (!subfolders.ok()) {
        state.SkipWithError(subfolders.status().message().c_str());
        return;
      }
      for (const FolderEntry& entry : subfolders->entries) {
        if (entry.is_folder) folders.push_back(folder + entry.name + "\\");
      }
      const Result<FolderListing> listing = platform.ListFolder(folder, true);
      for (const FolderEntry& entry : listing->entries) {
        if (entry.is_folder) continue;
        ++files;
        bytes += entry.size;
      }
    }
    benchmark::DoNotOptimize(bytes);
    state.counters["files"] = static_cast<double>(files);
  }
}
BENCHMARK(BM_ScanListingTwicePerFolder)->Unit(benchmark::kMillisecond);

void BM_FindPrintf(benchmark::State& state) {
  const std::string command =
      "find '" + Tree().root() + "/tree' -type f -printf '%s %T@\\n' > /dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("find failed");
      return;
    }
  }
}
BENCHMARK(BM_FindPrintf)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
