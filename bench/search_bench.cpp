// The search engines over a full catalog (bench/full_catalog.h): the walk of
// Find in All for a typical text and for every file, Show All Files in
// Selected on an artist's folder, and the three duplicate rules. Find must
// stay under 10 ms, each duplicate rule under 100 ms; the commands with their
// rows are measured end to end in catalog_commands_bench.

#include <benchmark/benchmark.h>

#include <string>

#include "full_catalog.h"
#include "search/duplicates.h"
#include "search/find.h"

namespace tallymere {
namespace {

const CatalogTable& Catalog() {
  static const CatalogTable table = bench::FullCatalog();
  return table;
}

void FindInAll(benchmark::State& state, const std::string& text) {
  const CatalogTable& table = Catalog();
  const FindQuery query{text, "*.*", "", true};
  std::size_t found = 0;
  for (auto _ : state) {
    const std::vector<int> records = FindRecords(table, query);
    found = records.size();
    benchmark::DoNotOptimize(records.data());
  }
  if (found == 0) return state.SkipWithError("found nothing");
  state.counters["found"] = static_cast<double>(found);
}

// A word that stands in many titles, typed in another letter case.
void BM_FindRecordsText(benchmark::State& state) { FindInAll(state, "HEART"); }
BENCHMARK(BM_FindRecordsText)->Unit(benchmark::kMillisecond);

// "*.*" and no text: every file of the catalog.
void BM_FindRecordsEveryFile(benchmark::State& state) { FindInAll(state, ""); }
BENCHMARK(BM_FindRecordsEveryFile)->Unit(benchmark::kMillisecond);

void BM_FindRecordsMp3InDrive(benchmark::State& state) {
  const CatalogTable& table = Catalog();
  const FindQuery query{"of the", "*.mp3", "c:", false};
  std::size_t found = 0;
  for (auto _ : state) found = FindRecords(table, query).size();
  if (found == 0) return state.SkipWithError("found nothing");
  state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_FindRecordsMp3InDrive)->Unit(benchmark::kMillisecond);

void BM_FindRecordsUnderNode(benchmark::State& state) {
  const CatalogTable& table = Catalog();
  const NodeKey node = NodeKey::Parse("C:\\Music\\Silver Harbour\\", false);
  std::size_t found = 0;
  for (auto _ : state) found = FindRecords(table, node).size();
  if (found == 0) return state.SkipWithError("found nothing");
  state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_FindRecordsUnderNode)->Unit(benchmark::kMillisecond);

void Duplicates(benchmark::State& state, DuplicateRule rule) {
  const CatalogTable& table = Catalog();
  DuplicateSets sets;
  for (auto _ : state) {
    sets = FindDuplicates(table, table.FileCount(), rule);
    benchmark::DoNotOptimize(sets.pairs.data());
  }
  state.counters["sets"] = static_cast<double>(sets.count);
  state.counters["listed"] = static_cast<double>(sets.pairs.size());
}

void BM_FindDuplicatesExact(benchmark::State& state) { Duplicates(state, DuplicateRule::kExact); }
BENCHMARK(BM_FindDuplicatesExact)->Unit(benchmark::kMillisecond);

void BM_FindDuplicatesNotSoExact(benchmark::State& state) {
  Duplicates(state, DuplicateRule::kNotSoExact);
}
BENCHMARK(BM_FindDuplicatesNotSoExact)->Unit(benchmark::kMillisecond);

void BM_FindDuplicatesAnyPossible(benchmark::State& state) {
  Duplicates(state, DuplicateRule::kAnyPossible);
}
BENCHMARK(BM_FindDuplicatesAnyPossible)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tallymere

BENCHMARK_MAIN();
