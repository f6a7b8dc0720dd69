// Rescan Disk against Add a Disk of the same disk, each as the window runs
// it with the tree it rebuilds and the list it shows: a rescan may take at
// most 20% longer. The disk is a USB stick F: holding a generated tree of
// 5,000 MP3 files (and as many text files the scan passes over); the catalog
// holds 27,765 files of C: besides it, so the rescan's catalog is full. The
// rescan finds 50 of the disk's files changed and replaces its records where
// they stand, between C:'s files; Add a Disk puts the same disk in front of
// them. Opening the catalog before each run is not measured. For steady
// figures run it with --benchmark_repetitions=5
// --benchmark_report_aggregates_only=true.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench_support.h"
#include "bench_window.h"
#include "catalog/catalog_record.h"
#include "catalog/data_file.h"
#include "common/format.h"
#include "generated_tree.h"
#include "platform/linux_platform.h"
#include "scan/scan_disk.h"
#include "support/scripted_ui.h"
#include "windows/main/frm_main.h"
#include "windows/main/main_command_table.h"

namespace {

using namespace tallymere;
using bench::MakeFolder;
using bench::WriteFile;

constexpr const char* kBase = "/tmp/tallymere-rescan-bench";
constexpr const char* kReadyMarker = "/tmp/tallymere-rescan-bench/ready-1";
// 20 artist folders and 480 album folders of 20 files, half of them MP3 files.
constexpr bench::TreeShape kStick{.artists = 20, .albums_per_artist = 24, .files_per_folder = 20};
constexpr int kOtherFiles = CatalogTable::kDescribedFileRecords - kStick.Files() / 2;
constexpr int kChanged = 50;

std::string BasePath(const std::string& relative) { return std::string(kBase) + "/" + relative; }
std::string ProgramFolder() { return BasePath("program"); }
std::string WithoutDisk() { return BasePath("without-disk.mpd"); }
std::string WithDisk() { return BasePath("with-disk.mpd"); }

// A file of C: as a scan of a music folder records it.
CatalogRecord HardDriveSong(int i) {
  CatalogRecord record;
  record.path = "C:\\Music\\Artist " + std::to_string(i / 300) + "\\Album " +
                std::to_string(i / 12 % 25) + "\\";
  record.file_name =
      "Track " + std::to_string(i % 12 + 1) + " - Title " + std::to_string(i) + ".mp3";
  record.disk_label = "C:\\";
  record.size = 4000000 + i;
  record.modified = FormatDateTime(1000000000 + i);
  record.bitrate = "192";
  record.time = "03:25";
  record.artist = "Artist " + std::to_string(i / 300);
  record.title = "Title " + std::to_string(i);
  return record;
}

// The two data files: C:'s files alone, and with the stick's records between
// them, 50 of which the stick no longer matches.
bool WriteCatalogs(const LinuxPlatform& platform) {
  Result<ScanResult> stick = ScanDisk(platform, {{"F:\\"}, ScanSettings{}, "Stick", 0}, nullptr);
  if (!stick || stick->file_count != kStick.Files() / 2) return false;
  CatalogTable without;
  CatalogTable with;
  int next = 1;
  for (int i = 0; i < kOtherFiles; ++i) {
    without.SetRecord(i + 1, HardDriveSong(i));
    if (i == kOtherFiles / 2) {
      for (int j = 1; j <= stick->file_count; ++j) {
        CatalogRecord record = stick->table.Record(j);
        if (j % (stick->file_count / kChanged) == 0) record.size += 1;
        with.SetRecord(next++, std::move(record));
      }
    }
    with.SetRecord(next++, HardDriveSong(i));
  }
  const std::string now = FormatDateTime(platform.Now());
  without.SetRecord(kOtherFiles + 1, MakeTrailer("mp3", 1, now));
  with.SetRecord(next, MakeTrailer("mp3", 1, now));
  return SaveDataFile(platform, without, WithoutDisk()).ok() &&
         SaveDataFile(platform, with, WithDisk()).ok();
}

bool BuildMachine() {
  if (access(kReadyMarker, F_OK) == 0) return true;
  std::fprintf(stderr, "Building the stick under %s ...\n", kBase);
  if (!(MakeFolder(kBase) && MakeFolder(BasePath("c")) && MakeFolder(ProgramFolder()) &&
        MakeFolder(BasePath("program/Data")) &&
        WriteFile(BasePath("program/Data/drives.dat"),
                  "C: fixed " + BasePath("c") + "\nF: removable " + BasePath("f") + "\n") &&
        bench::BuildMusicTree(BasePath("f"), kStick, BasePath("f-ready")))) {
    return false;
  }
  return WriteCatalogs(LinuxPlatform(ProgramFolder())) && WriteFile(kReadyMarker, "");
}

// A started main window on the machine, opening a data file as the user does.
struct Window : bench::BenchWindow {
  Window() : BenchWindow(ProgramFolder()) {}
};

void BM_AddDiskCommand(benchmark::State& state) {
  if (!BuildMachine()) return state.SkipWithError("cannot build the stick");
  Window window;
  for (auto _ : state) {
    state.PauseTiming();
    window.Open(WithoutDisk());
    window.ui.ClearCalls();
    window.ui.AnswerFolder("F:\\").AnswerText("Stick");
    state.ResumeTiming();
    window.main->Run(MainCommand::kAddDisk);
  }
  if (window.main->session().catalog().FileCount() != CatalogTable::kDescribedFileRecords) {
    return state.SkipWithError("the disk was not added");
  }
  state.counters["files"] = window.main->session().catalog().FileCount();
}
BENCHMARK(BM_AddDiskCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RescanDiskCommand(benchmark::State& state) {
  if (!BuildMachine()) return state.SkipWithError("cannot build the stick");
  Window window;
  for (auto _ : state) {
    state.PauseTiming();
    window.Open(WithDisk());
    window.main->tvAlbum_NodeClick(window.main->tvAlbum().Find("F:\\Stick\\"));
    window.ui.ClearCalls();
    window.ui.AnswerMessage(Answer::kYes);
    state.ResumeTiming();
    window.main->Run(MainCommand::kRescanDisk);
  }
  const std::vector<testing::UiCall> messages = window.ui.Messages();
  if (window.main->session().catalog().FileCount() != CatalogTable::kDescribedFileRecords ||
      messages.size() != 1 ||
      messages[0].text.find("0 files added, 0 removed, 50 changed") == std::string::npos ||
      !window.main->session().changed()) {
    return state.SkipWithError("the disk was not rescanned as expected");
  }
  state.counters["files"] = window.main->session().catalog().FileCount();
}
BENCHMARK(BM_RescanDiskCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  return bench::RunBenchmarks(argc, argv, {{"BM_RescanDiskCommand", "BM_AddDiskCommand", 1.2}});
}
