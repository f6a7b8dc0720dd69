// Opening and saving a full catalog, and what a full catalog costs in memory.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>

#include "catalog/catalog_fixtures.h"
#include "catalog/data_file.h"
#include "support/temp_folder.h"
#include "support/test_platform.h"

namespace tallymere {
namespace {

// The real file system, as the program reaches it.
const Platform& Files() {
  static const testing::TestPlatform platform;
  return platform;
}

constexpr int kFullCatalog = CatalogTable::kDescribedFileRecords;

void BM_SaveFullCatalog(benchmark::State& state) {
  testing::TempFolder folder;
  const CatalogTable table = testing::SampleTable(kFullCatalog);
  const std::string path = folder.Path("full.mpd");
  for (auto _ : state) {
    if (!SaveDataFile(Files(), table, path).ok()) state.SkipWithError("save failed");
  }
}
BENCHMARK(BM_SaveFullCatalog)->Unit(benchmark::kMillisecond);

void BM_OpenFullCatalog(benchmark::State& state) {
  testing::TempFolder folder;
  const std::string path = folder.Path("full.mpd");
  (void)SaveDataFile(Files(), testing::SampleTable(kFullCatalog), path);
  for (auto _ : state) {
    CatalogTable table;
    if (!LoadDataFile(Files(), path, &table).ok()) state.SkipWithError("open failed");
    benchmark::DoNotOptimize(table);
  }
}
BENCHMARK(BM_OpenFullCatalog)->Unit(benchmark::kMillisecond);

// Heap bytes a full table holds once opened, as a counter in megabytes.
void BM_FullCatalogMemory(benchmark::State& state) {
  testing::TempFolder folder;
  const std::string path = folder.Path("full.mpd");
  (void)SaveDataFile(Files(), testing::SampleTable(kFullCatalog), path);
  for (auto _ : state) {
    const std::size_t before = mallinfo2().uordblks;
    auto table = std::make_unique<CatalogTable>();
    (void)LoadDataFile(Files(), path, table.get());
    state.counters["MB"] = static_cast<double>(mallinfo2().uordblks - before) / 1048576.0;
  }
}
BENCHMARK(BM_FullCatalogMemory)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tallymere

BENCHMARK_MAIN();
