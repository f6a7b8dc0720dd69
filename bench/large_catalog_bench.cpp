// A library past the described table, end to end: catalogs of 100,000 and
// 1,000,000 records (the full catalog's shelves side by side, each under a
// folder or disk labels of its own) through the command line's info, find,
// dupes and a by-folder list run as programs, and File > Open with its tree
// and first folder, and a click on the largest folder, in the window. The
// two sizes show whether anything grows faster than the catalog.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "bench_window.h"
#include "catalog/data_file.h"
#include "full_catalog.h"
#include "platform/heap_reuse.h"
#include "platform/linux_platform.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"
#include "windows/main/frm_main.h"
#include "windows/main/main_command_table.h"

namespace tallymere {
namespace {

// `files` records made of full catalogs: shelf n's fixed-drive folders lie
// under C:\Shelf n\, its disks carry labels ending in _n. Every song has a
// fingerprint, as a scan with information takes them; one in ten is the
// copy of a song of the shelf before.
CatalogTable LargeCatalog(int files) {
  CatalogTable table;
  table.Reserve(files + 1);
  int index = 1;
  for (int shelf = 1; index <= files; ++shelf) {
    const CatalogTable part = bench::FullCatalog(shelf - 1);
    const std::string number = std::to_string(shelf);
    for (int i = 1; i < part.CatalogEnd() && index <= files; ++i) {
      CatalogRecord record = part.Record(i);
      if (record.disk_label == "C:\\") {
        record.path.insert(3, "Shelf " + number + "\\");
      } else {
        record.disk_label += "_" + number;
      }
      const int song = i % 10 == 0 && shelf > 1 ? i : index;
      record.extras = {static_cast<uint64_t>(song) * 0x9E3779B97F4A7C15ull, 3'000'000 + song};
      table.SetRecord(index++, std::move(record));
    }
  }
  table.SetRecord(index, MakeTrailer("mp3", 1, "1/1/11 10:00:00 AM"));
  return table;
}

// A machine with one data file of the size asked for, and its largest
// folder of the fixed drive.
class Machine {
 public:
  explicit Machine(int files) {
    m_folder.MakeFolder("c");
    m_folder.WriteFile("program/Data/drives.dat", "C: fixed " + m_folder.Path("c") + "\n");
    const CatalogTable table = LargeCatalog(files);
    m_ready = SaveDataFile(LinuxPlatform(program_folder()), table, data_file()).ok();
    std::map<std::string, int> per_folder;
    table.Walk([&](int, const CatalogRecord& record) {
      if (record.disk_label == "C:\\") ++per_folder[record.path];
    });
    for (const auto& [path, count] : per_folder) {
      if (count > m_largest_files) m_largest_folder = path, m_largest_files = count;
    }
  }
  bool ready() const { return m_ready; }
  std::string program_folder() const { return m_folder.Path("program"); }
  std::string data_file() const { return m_folder.Path("large.mpd"); }
  std::string Path(const std::string& name) const { return m_folder.Path(name); }
  const std::string& largest_folder() const { return m_largest_folder; }

 private:
  testing::TempFolder m_folder;
  bool m_ready = false;
  std::string m_largest_folder;
  int m_largest_files = 0;
};

const Machine& MachineOf(int files) {
  static std::map<int, std::unique_ptr<Machine>> machines;
  std::unique_ptr<Machine>& machine = machines[files];
  if (!machine) machine = std::make_unique<Machine>(files);
  return *machine;
}

// Runs the command line with these arguments on the data file, reporting
// its processor time. (Its peak memory is not reported: a child spawned by
// this large process starts with the parent's pages counted.)
void RunCli(benchmark::State& state, std::vector<std::string> args) {
  const Machine& machine = MachineOf(static_cast<int>(state.range(0)));
  if (!machine.ready()) return state.SkipWithError("cannot write the catalog");
  args.insert(args.begin(), TALLYMERE_CLI_PATH);
  args.push_back(machine.data_file());
  double cpu_ms = 0;
  for (auto _ : state) {
    if (!bench::RunProgram(args, machine.Path("out.txt"), &cpu_ms)) {
      return state.SkipWithError(("failed: " + args[1]).c_str());
    }
  }
  state.counters[bench::kChildCpuCounter] =
      benchmark::Counter(cpu_ms, benchmark::Counter::kAvgIterations);
}

void BM_LargeCliInfo(benchmark::State& state) { RunCli(state, {"info"}); }
void BM_LargeCliFindWord(benchmark::State& state) { RunCli(state, {"find", "--text", "heart"}); }
void BM_LargeCliDupesExact(benchmark::State& state) { RunCli(state, {"dupes", "--exact"}); }
void BM_LargeCliDupesAudio(benchmark::State& state) { RunCli(state, {"dupes", "--audio"}); }
void BM_LargeCliListByFolder(benchmark::State& state) {
  const Machine& machine = MachineOf(static_cast<int>(state.range(0)));
  RunCli(state, {"list", "--by-folder", "-o", machine.Path("list.txt")});
}

// The memory this process holds now: the window's share is what it holds
// more once the catalog is open (the machine's own table is gone by then).
double ResidentMb() {
  long size = 0;
  long pages = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &size, &pages) != 2) pages = 0;
    std::fclose(statm);
  }
  return static_cast<double>(pages) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1 << 20);
}

// The window: File > Open with the tree and the first folder's list, then
// the click on the largest folder.
struct Window : bench::BenchWindow {
  explicit Window(const Machine& machine) : BenchWindow(machine.program_folder()) {}
};

void BM_LargeOpenCommand(benchmark::State& state) {
  const int files = static_cast<int>(state.range(0));
  const Machine& machine = MachineOf(files);
  if (!machine.ready()) return state.SkipWithError("cannot write the catalog");
  const double before_mb = ResidentMb();
  Window window(machine);
  for (auto _ : state) {
    window.Open(machine.data_file());
  }
  if (window.main->session().catalog().FileCount() != files || !window.ui.Messages().empty()) {
    return state.SkipWithError("the catalog was not opened");
  }
  state.counters["tree_nodes"] = window.main->tvAlbum().count();
  state.counters["window_mb"] = ResidentMb() - before_mb;
}

void BM_LargeFolderClick(benchmark::State& state) {
  const Machine& machine = MachineOf(static_cast<int>(state.range(0)));
  if (!machine.ready()) return state.SkipWithError("cannot write the catalog");
  Window window(machine);
  window.Open(machine.data_file());
  const int node = window.main->tvAlbum().Find(machine.largest_folder());
  if (node == TreeModel::kNoNode) return state.SkipWithError("no largest folder");
  for (auto _ : state) window.main->tvAlbum_NodeClick(node);
  state.counters["listed"] = window.main->LV().row_count();
}

#define TALLYMERE_LARGE(name) \
  BENCHMARK(name)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime()
TALLYMERE_LARGE(BM_LargeCliInfo);
TALLYMERE_LARGE(BM_LargeCliFindWord);
TALLYMERE_LARGE(BM_LargeCliDupesExact);
TALLYMERE_LARGE(BM_LargeCliDupesAudio);
TALLYMERE_LARGE(BM_LargeCliListByFolder);
TALLYMERE_LARGE(BM_LargeOpenCommand);
TALLYMERE_LARGE(BM_LargeFolderClick);

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
