// Writing a list of a full catalog (bench/full_catalog.h) end to end, as
// Create List does once the name is chosen: the entries, the sorted lines,
// the header and footer texts, the encoding and the atomic write to disk.
// Each kind must stay under 100 ms. Every option that adds to a line is on.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "full_catalog.h"
#include "lists/create_list.h"
#include "lists/list_entries.h"
#include "platform/heap_reuse.h"
#include "platform/linux_platform.h"
#include "support/temp_folder.h"
#include "views/file_list_row.h"

namespace tallymere {
namespace {

// A program folder with header and footer texts and a drive map for the
// catalog's drives, an output folder, and the catalog.
class Machine {
 public:
  Machine() : m_catalog(bench::FullCatalog()) {
    const std::string root = m_folder.path();
    for (const char* drive : {"c", "e", "f"}) m_folder.MakeFolder(drive);
    m_folder.WriteFile("program/Data/drives.dat", "C: fixed " + root + "/c\nE: cdrom " + root +
                                                      "/e MUSIC99\nF: removable " + root + "/f\n");
    m_folder.WriteFile("program/Header.txt", "My music\r\n\r\nEvery song I have\r\n");
    m_folder.WriteFile("program/Footer.txt", "Made at home\r\n");
    m_folder.MakeFolder("out");
    m_platform = std::make_unique<LinuxPlatform>(m_folder.Path("program"));
  }

  const Platform& platform() const { return *m_platform; }
  const CatalogTable& catalog() const { return m_catalog; }
  std::string Output(const std::string& name) const { return m_folder.Path("out/" + name); }

 private:
  testing::TempFolder m_folder;
  std::unique_ptr<LinuxPlatform> m_platform;
  CatalogTable m_catalog;
};

const Machine& TheMachine() {
  static const Machine machine;
  return machine;
}

Settings FullLines(bool single, bool html, bool m3u) {
  Settings settings;
  settings.optOne = single ? "True" : "False";
  settings.optSeperate = single ? "False" : "True";
  settings.chkPath = 1;
  settings.chkSize = 1;
  settings.chkBitRate = 1;
  settings.chkHeader = 1;
  settings.chkSum = 1;
  settings.chkHtml = html ? 1 : 0;
  settings.chkM3U = m3u ? 1 : 0;
  if (m3u) ForceM3uOptions(&settings);
  return settings;
}

template <typename Source>
void WriteEach(benchmark::State& state, const Settings& settings, const Source& source) {
  const Machine& machine = TheMachine();
  const ListRequest request{machine.platform(), settings, machine.Output("list.txt"), 0, {}, {}};
  for (auto _ : state) {
    // The file list's rows are taken anew each time, as the command takes them.
    const Result<std::string> written = [&] {
      if constexpr (std::is_same_v<Source, ListModel>) {
        return WriteList(request, FileListEntries(source));
      } else {
        return WriteList(request, source);
      }
    }();
    if (!written) {
      state.SkipWithError(written.status().message().c_str());
      return;
    }
    benchmark::DoNotOptimize(written->data());
  }
}

void BM_TextSingle(benchmark::State& state) {
  WriteEach(state, FullLines(true, false, false), TheMachine().catalog());
}
void BM_TextByFolder(benchmark::State& state) {
  WriteEach(state, FullLines(false, false, false), TheMachine().catalog());
}
void BM_HtmlSingle(benchmark::State& state) {
  WriteEach(state, FullLines(true, true, false), TheMachine().catalog());
}
void BM_HtmlByFolder(benchmark::State& state) {
  WriteEach(state, FullLines(false, true, false), TheMachine().catalog());
}
void BM_M3u(benchmark::State& state) {
  WriteEach(state, FullLines(true, false, true), TheMachine().catalog());
}

// Create List from Search Result after a find that picked every file: the
// file list's rows, sorted by Path first as the command sorts them.
void BM_SearchResultByFolder(benchmark::State& state) {
  const CatalogTable& catalog = TheMachine().catalog();
  std::vector<ListRow> rows;
  catalog.Walk([&](int, const CatalogRecord& record) { rows.push_back(FileListRow(record, 3)); });
  ListModel file_list = MakeFileList();
  file_list.AddRows(std::move(rows));
  SortByPath(file_list);
  WriteEach(state, FullLines(false, false, false), file_list);
}

BENCHMARK(BM_TextSingle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextByFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HtmlSingle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HtmlByFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_M3u)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchResultByFolder)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tallymere

int main(int argc, char** argv) {
  // As the desktop program does before its first catalog.
  tallymere::KeepFreedMemoryForReuse();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
