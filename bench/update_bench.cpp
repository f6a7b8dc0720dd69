// Update against a scan of the same fixed drives: an update may take at most
// 10% longer. The machine is a drives.dat of two fixed drives, C: and D:,
// each a generated tree of 7,800 small files (half of them MP3 files), and a
// CD-ROM drive E:, whose 5,000 records the catalog keeps from earlier. The
// catalog to update is what an earlier update left: the fixed drives' files,
// the CD's records, the trailer.
//
// In this process the engine is measured alone (ScanDisk of C:\ and D:\ with
// its trailer against PlanUpdate and UpdateHardDrives); as programs,
// tallymere-cli scan of C:\ and D:\ against tallymere-cli update of the data
// file, each writing its data file. For steady figures run it with
// --benchmark_repetitions=5 --benchmark_report_aggregates_only=true.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "catalog/catalog_record.h"
#include "catalog/data_file.h"
#include "common/format.h"
#include "generated_tree.h"
#include "platform/linux_platform.h"
#include "scan/scan_disk.h"
#include "scan/update.h"

namespace {

using namespace tallymere;
using bench::MakeFolder;
using bench::RunProgram;
using bench::WriteFile;

constexpr const char* kBase = "/tmp/tallymere-update-bench";
constexpr const char* kReadyMarker = "/tmp/tallymere-update-bench/ready-1";
// 20 artist folders and 500 album folders of 15 files each, on each drive.
constexpr bench::TreeShape kDrive{.artists = 20, .albums_per_artist = 25, .files_per_folder = 15};
constexpr int kCdRecords = 5000;
constexpr int kCdTracks = 12;  // a CD of 12 tracks, 417 CDs

std::string BasePath(const std::string& relative) { return std::string(kBase) + "/" + relative; }

bool BuildMachine() {
  if (access(kReadyMarker, F_OK) == 0) return true;
  std::fprintf(stderr, "Building the update trees under %s ...\n", kBase);
  return MakeFolder(kBase) && MakeFolder(BasePath("e")) && MakeFolder(BasePath("program")) &&
         MakeFolder(BasePath("program/Data")) &&
         WriteFile(BasePath("program/Data/drives.dat"), "C: fixed " + BasePath("c") +
                                                            "\nD: fixed " + BasePath("d") +
                                                            "\nE: cdrom " + BasePath("e") + "\n") &&
         bench::BuildMusicTree(BasePath("c"), kDrive, BasePath("c-ready")) &&
         bench::BuildMusicTree(BasePath("d"), kDrive, BasePath("d-ready")) &&
         WriteFile(kReadyMarker, "");
}

// The records of the CDs catalogued on E:, with their MP3 fields.
void AddCdRecords(CatalogTable* table) {
  int index = table->CatalogEnd();
  for (int i = 0; i < kCdRecords; ++i) {
    const int cd = i / kCdTracks;
    CatalogRecord record;
    record.path = "E:\\Album " + std::to_string(cd) + "\\";
    record.file_name = "Track " + std::to_string(i % kCdTracks + 1) + ".mp3";
    record.disk_label = "CD " + std::to_string(cd);
    record.size = 4000000 + i;
    record.modified = FormatDateTime(1000000000 + i);
    record.bitrate = "128";
    record.time = "04:09";
    record.artist = "Artist " + std::to_string(cd);
    record.album = "Album " + std::to_string(cd);
    record.title = "Title " + std::to_string(i);
    table->SetRecord(index++, std::move(record));
  }
}

// What an earlier update left for these settings: the fixed drives, the CDs,
// the trailer. Also written as a data file for tallymere-cli.
bool EarlierCatalog(const Platform& platform, const ScanSettings& settings, CatalogTable* catalog,
                    const std::string& data_file) {
  Result<ScanResult> scanned = ScanDisk(platform, {{"C:\\", "D:\\"}, settings, "", 0});
  if (!scanned) return false;
  *catalog = std::move(scanned->table);
  AddCdRecords(catalog);
  catalog->SetRecord(catalog->CatalogEnd(),
                     MakeTrailer(settings.file_type, settings.mp3_info_flag, "earlier"));
  return SaveDataFile(platform, *catalog, data_file).ok();
}

const std::string& ProgramFolder() {
  static const std::string folder = BasePath("program");
  return folder;
}

void ScanFixedDrives(benchmark::State& state, const ScanSettings& settings) {
  if (!BuildMachine()) return state.SkipWithError("cannot build the update trees");
  const LinuxPlatform platform(ProgramFolder());
  const std::string built = FormatDateTime(platform.Now());
  int files = 0;
  for (auto _ : state) {
    Result<ScanResult> scanned = ScanDisk(platform, {{"C:\\", "D:\\"}, settings, "", 0});
    if (!scanned || !NewCatalogFromScan(&*scanned, nullptr, built)) {
      return state.SkipWithError("scan failed");
    }
    files = scanned->file_count;
    benchmark::DoNotOptimize(scanned->table);
  }
  state.counters["files"] = files;
}

void UpdateFixedDrives(benchmark::State& state, const ScanSettings& settings) {
  if (!BuildMachine()) return state.SkipWithError("cannot build the update trees");
  const LinuxPlatform platform(ProgramFolder());
  CatalogTable catalog;
  if (!EarlierCatalog(platform, settings, &catalog, BasePath("earlier.mpd"))) {
    return state.SkipWithError("cannot build the earlier catalog");
  }
  bench::CountingScanObserver observer;
  int scanned = 0;
  int kept = 0;
  for (auto _ : state) {
    const UpdatePlan plan = PlanUpdate(platform);
    Result<UpdateResult> updated = UpdateHardDrives(platform, plan, catalog, settings,
                                                    FormatDateTime(platform.Now()), &observer);
    if (!updated) return state.SkipWithError(updated.status().message().c_str());
    scanned = updated->scanned;
    kept = updated->kept;
    benchmark::DoNotOptimize(updated->table);
  }
  if (kept != kCdRecords || observer.failures != 0) {
    return state.SkipWithError("the update did not keep the CD's records as expected");
  }
  state.counters["files"] = scanned;
  state.counters["kept"] = kept;
}

const ScanSettings kAllFiles{"*.*", 0};
const ScanSettings kMp3WithInfo{"mp3", 1};

void BM_ScanFixedDrivesAllFiles(benchmark::State& state) { ScanFixedDrives(state, kAllFiles); }
BENCHMARK(BM_ScanFixedDrivesAllFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_UpdateAllFiles(benchmark::State& state) { UpdateFixedDrives(state, kAllFiles); }
BENCHMARK(BM_UpdateAllFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ScanFixedDrivesMp3WithInfo(benchmark::State& state) {
  ScanFixedDrives(state, kMp3WithInfo);
}
BENCHMARK(BM_ScanFixedDrivesMp3WithInfo)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_UpdateMp3WithInfo(benchmark::State& state) { UpdateFixedDrives(state, kMp3WithInfo); }
BENCHMARK(BM_UpdateMp3WithInfo)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- As programs of their own ------------------------------------------------

void RunCli(benchmark::State& state, const std::vector<std::string>& command) {
  std::vector<std::string> args = {TALLYMERE_CLI_PATH};
  args.insert(args.end(), command.begin(), command.end());
  double cpu_ms = 0;
  for (auto _ : state) {
    if (!RunProgram(args, "/dev/null", &cpu_ms)) {
      return state.SkipWithError(("tallymere-cli " + command.front() + " failed").c_str());
    }
  }
  bench::ReportChildCpu(state, cpu_ms);
}

void CliScan(benchmark::State& state, const std::vector<std::string>& type_options) {
  if (!BuildMachine()) return state.SkipWithError("cannot build the update trees");
  std::vector<std::string> command = {"scan", "--program-folder", ProgramFolder(), "-o",
                                      BasePath("scanned.mpd")};
  command.insert(command.end(), type_options.begin(), type_options.end());
  command.insert(command.end(), {"C:\\", "D:\\"});
  RunCli(state, command);
}

void CliUpdate(benchmark::State& state, const ScanSettings& settings) {
  if (!BuildMachine()) return state.SkipWithError("cannot build the update trees");
  const LinuxPlatform platform(ProgramFolder());
  CatalogTable catalog;
  const std::string earlier = BasePath("earlier.mpd");
  if (!EarlierCatalog(platform, settings, &catalog, earlier)) {
    return state.SkipWithError("cannot build the earlier catalog");
  }
  // Written elsewhere, so every run updates the same earlier catalog.
  RunCli(state,
         {"update", "--program-folder", ProgramFolder(), "-o", BasePath("updated.mpd"), earlier});
}

void BM_CliScanFixedDrivesAllFiles(benchmark::State& state) {
  CliScan(state, {"--type", "*.*", "--no-mp3-info"});
}
BENCHMARK(BM_CliScanFixedDrivesAllFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliUpdateAllFiles(benchmark::State& state) { CliUpdate(state, kAllFiles); }
BENCHMARK(BM_CliUpdateAllFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliScanFixedDrivesMp3WithInfo(benchmark::State& state) {
  CliScan(state, {"--type", "mp3", "--mp3-info"});
}
BENCHMARK(BM_CliScanFixedDrivesMp3WithInfo)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliUpdateMp3WithInfo(benchmark::State& state) { CliUpdate(state, kMp3WithInfo); }
BENCHMARK(BM_CliUpdateMp3WithInfo)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  return bench::RunBenchmarks(
      argc, argv,
      {{"BM_UpdateAllFiles", "BM_ScanFixedDrivesAllFiles", 1.1},
       {"BM_UpdateMp3WithInfo", "BM_ScanFixedDrivesMp3WithInfo", 1.1},
       {"BM_CliUpdateAllFiles", "BM_CliScanFixedDrivesAllFiles", 1.1},
       {"BM_CliUpdateMp3WithInfo", "BM_CliScanFixedDrivesMp3WithInfo", 1.1}});
}
