// Find in Catalogs over a shelf of 100 full catalogs (3.28 million records,
// about 470 MB of data files, bench/full_catalog.h with a variant each), read
// from the page cache: the engine in this process, and tallymere-cli find and
// dupes as programs writing their output. Budgets: find under 400 ms as a
// program, dupes --exact under 3 s, memory under 200 MB. The shelf is built
// once under /tmp and kept for later runs.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "bench_support.h"
#include "catalog/data_file.h"
#include "full_catalog.h"
#include "generated_tree.h"
#include "platform/linux_platform.h"
#include "search/shelf.h"
#include "search/shelf_search.h"

namespace tallymere {
namespace {

constexpr const char* kShelf = "/tmp/tallymere-shelf-bench";
constexpr const char* kReadyMarker = "/tmp/tallymere-shelf-bench/.ready-1";
constexpr int kCatalogs = 100;

const LinuxPlatform& Platform() {
  static const LinuxPlatform platform(std::string(kShelf) + "/program");
  return platform;
}

bool BuildShelf() {
  if (access(kReadyMarker, F_OK) == 0) return true;
  std::fprintf(stderr, "Building the shelf of %d catalogs under %s ...\n", kCatalogs, kShelf);
  if (!bench::MakeFolder(kShelf) || !bench::MakeFolder(std::string(kShelf) + "/program")) {
    return false;
  }
  for (int i = 0; i < kCatalogs; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "%s/Shelf %03d.mpd", kShelf, i);
    if (!SaveDataFile(Platform(), bench::FullCatalog(i), name).ok()) return false;
  }
  return bench::WriteFile(kReadyMarker, "");
}

const std::vector<std::string>& ShelfFilesOnce() {
  static const std::vector<std::string> files = ListShelf(Platform(), {{kShelf}, false}).files;
  return files;
}

// A word in many artists' names, looked for in every field.
CatalogCondition Moon() { return {.text = "moon", .field = SearchField::kAny}; }

void BM_SearchShelfEngine(benchmark::State& state) {
  if (!BuildShelf()) return state.SkipWithError("cannot build the shelf");
  const std::vector<std::string>& files = ShelfFilesOnce();
  ShelfSearchResult result;
  for (auto _ : state) {
    result = SearchShelf(Platform(), files, Moon());
    benchmark::DoNotOptimize(result.rows.data());
  }
  if (result.searched != kCatalogs) return state.SkipWithError("not every catalog was searched");
  state.counters["rows"] = static_cast<double>(result.rows.size());
  state.counters["matched"] = static_cast<double>(result.matched);
}
BENCHMARK(BM_SearchShelfEngine)->Unit(benchmark::kMillisecond)->UseRealTime();

void RunCli(benchmark::State& state, std::vector<std::string> args) {
  if (!BuildShelf()) return state.SkipWithError("cannot build the shelf");
  args.insert(args.begin(), TALLYMERE_CLI_PATH);
  args.push_back(kShelf);
  double cpu_ms = 0;
  long peak_kb = 0;
  for (auto _ : state) {
    if (!bench::RunProgram(args, "/dev/null", &cpu_ms, &peak_kb)) {
      return state.SkipWithError("tallymere-cli failed");
    }
  }
  bench::ReportChildCpu(state, cpu_ms);
  state.counters["peak_MB"] = static_cast<double>(peak_kb) / 1024;
}

void BM_CliFindWordOnShelf(benchmark::State& state) {
  RunCli(state, {"find", "--in", "any", "--text", "moon"});
}
BENCHMARK(BM_CliFindWordOnShelf)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliDupesExactOnShelf(benchmark::State& state) { RunCli(state, {"dupes", "--exact"}); }
BENCHMARK(BM_CliDupesExactOnShelf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace tallymere

BENCHMARK_MAIN();
