// Find in Catalogs over a shelf of 100 full catalogs (3.28 million records,
// about 470 MB of data files, bench/full_catalog.h with a variant each), read
// from the page cache: the engine in this process, and tallymere-cli find and
// dupes as programs writing their output. Budgets: find under 400 ms as a
// program, dupes --exact under 3 s, memory under 200 MB. The shelf is built
// once under /tmp and kept for later runs.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "catalog/data_file.h"
#include "full_catalog.h"
#include "generated_tree.h"
#include "platform/linux_platform.h"
#include "search/shelf.h"
#include "search/shelf_search.h"
#include "support/scripted_ui.h"
#include "windows/find_catalogs/frm_find_catalogs.h"
#include "windows/main/frm_main.h"

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

// The window's search as the user waits for it: from Find to the first
// 1,000 rows in the list (poll as the window's timer does, here every
// millisecond), and to the last row listed and sorted.
void WindowSearch(benchmark::State& state, bool all_rows) {
  if (!BuildShelf()) return state.SkipWithError("cannot build the shelf");
  testing::ScriptedUi ui;
  CatalogSession session(Platform());
  WindowServices services(ui);
  FrmMain main(session, services);
  main.Form_Load();
  session.program_settings().shelf_folders = {kShelf};
  FrmFindCatalogs window(session, services, main);
  window.Form_Load();
  window.controls().txtFind = "moon";
  window.controls().cmbIn = static_cast<int>(SearchField::kAny);
  int rows = 0;
  for (auto _ : state) {
    window.cmdFind_Click();
    while (window.Poll() && (all_rows || window.lstResults().row_count() < 1000)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    rows = window.lstResults().row_count();
    state.PauseTiming();
    window.cmdStop_Click();
    window.FinishSearch();
    state.ResumeTiming();
  }
  if (rows < 1000) return state.SkipWithError("the search listed too few rows");
  state.counters["rows"] = rows;
  // The most memory this process has held: the window's rows and the
  // search's buffers, as a desktop program holding them would.
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

void BM_WindowFirstRows(benchmark::State& state) { WindowSearch(state, false); }
BENCHMARK(BM_WindowFirstRows)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WindowAllRows(benchmark::State& state) { WindowSearch(state, true); }
BENCHMARK(BM_WindowAllRows)->Unit(benchmark::kMillisecond)->UseRealTime();

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
