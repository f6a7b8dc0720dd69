// Scanning a tree of 30,000 small files in 2,000 folders, against find over
// the same tree: all files must scan within 1.5 times find's time, MP3 files
// with their bitrate, time and tag within 3 times. Half of the files are MP3
// files with a frame header and an ID3v1 tag. The tree is built once under
// /tmp and kept for later runs; every measurement runs with warm caches.
// After the table the program prints each scan's time as a multiple of
// find's, in real and in processor time; for steady figures run it with
// --benchmark_repetitions=5 --benchmark_report_aggregates_only=true.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "catalog/catalog_table.h"
#include "mp3/mp3_fixtures.h"
#include "platform/linux_platform.h"
#include "scan/scan_disk.h"

extern char** environ;

namespace {

using namespace tallymere;

constexpr const char* kBase = "/tmp/tallymere-scan-bench";
// Changing the layout needs a new marker, so an old tree is built anew.
constexpr const char* kReadyMarker = "/tmp/tallymere-scan-bench/ready-1";
constexpr int kArtists = 40;
constexpr int kAlbumsPerArtist = 49;  // 40 artist folders + 1,960 album folders
constexpr int kFilesPerFolder = 15;   // 30,000 files

const std::string& TreeRoot() {
  static const std::string root = std::string(kBase) + "/c/Music";
  return root;
}

const std::string& ProgramFolder() {
  static const std::string folder = std::string(kBase) + "/program";
  return folder;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool written = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  return close(fd) == 0 && written;
}

bool MakeFolder(const std::string& path) {
  return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

// Fills one folder; folders of even number start with an MP3 file, the others
// with a text file, so exactly half of all files are MP3 files.
bool FillFolder(const std::string& folder, int number, const std::string& mp3,
                const std::string& text) {
  if (!MakeFolder(folder)) return false;
  for (int i = 0; i < kFilesPerFolder; ++i) {
    const bool is_mp3 = (i + number) % 2 == 0;
    const std::string name = "Track " + std::to_string(i + 1) + (is_mp3 ? ".mp3" : ".txt");
    if (!WriteFile(folder + "/" + name, is_mp3 ? mp3 : text)) return false;
  }
  return true;
}

bool BuildTree() {
  if (access(kReadyMarker, F_OK) == 0) return true;
  std::fprintf(stderr, "Building the scan tree under %s ...\n", kBase);
  testing::Id3v1Fields tag;
  tag.title = "A Song Title";
  tag.artist = "Some Artist";
  tag.album = "Some Album";
  const std::string mp3 = testing::Frame() + testing::Frame() + testing::Id3v1Block(tag);
  const std::string text(200, 't');
  if (!MakeFolder(kBase) || !MakeFolder(std::string(kBase) + "/c") || !MakeFolder(TreeRoot()) ||
      !MakeFolder(ProgramFolder()) || !MakeFolder(ProgramFolder() + "/Data") ||
      !WriteFile(ProgramFolder() + "/Data/drives.dat", "C: fixed " + std::string(kBase) + "/c\n")) {
    return false;
  }
  int number = 0;
  for (int a = 0; a < kArtists; ++a) {
    const std::string artist = TreeRoot() + "/Artist " + std::to_string(a);
    if (!FillFolder(artist, number++, mp3, text)) return false;
    for (int b = 0; b < kAlbumsPerArtist; ++b) {
      if (!FillFolder(artist + "/Album " + std::to_string(b), number++, mp3, text)) return false;
    }
  }
  return WriteFile(kReadyMarker, "");
}

// A window nobody looks at.
class QuietUi : public UiServices {
 public:
  Answer ShowMessage(std::string_view, Buttons, Icon, std::string_view) override {
    ++m_messages;
    return Answer::kOk;
  }
  std::string AskText(std::string_view, std::string_view, std::string_view) override { return ""; }
  std::optional<std::string> ChooseSaveFile(std::string_view, std::string_view,
                                            std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseOpenFile(std::string_view, std::string_view,
                                            std::string_view) override {
    return std::nullopt;
  }
  std::string BrowseForFolder(std::string_view) override { return ""; }
  uint32_t ChooseColor(std::string_view) override { return 0; }
  void SetStatus(int, std::string_view) override {}
  void Animation(std::string_view, bool) override {}
  void BusyPointer(bool) override {}
  void YieldToUi() override {}
  void CopyToClipboard(std::string_view) override {}
  int ShellOpen(std::string_view, std::string_view, std::string_view, std::string_view,
                int) override {
    return 31;
  }
  int ShowProperties(std::string_view) override { return 31; }
  int RecycleFiles(const std::vector<std::string>&) override { return 1; }
  int messages() const { return m_messages; }

 private:
  int m_messages = 0;
};

// find ROOT -type f -printf '%s %T@\n' > /dev/null, started without a shell.
// Adds the processor time find used, in milliseconds, to *cpu_ms.
bool RunFind(double* cpu_ms = nullptr) {
  std::vector<std::string> args = {"find", TreeRoot(), "-type", "f", "-printf", "%s %T@\\n"};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, "find", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return false;
  if (cpu_ms != nullptr) {
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    *cpu_ms += ms(usage.ru_utime) + ms(usage.ru_stime);
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_FindBaseline(benchmark::State& state) {
  if (!BuildTree()) return state.SkipWithError("cannot build the scan tree");
  RunFind();  // warm the caches
  double cpu_ms = 0;
  for (auto _ : state) {
    if (!RunFind(&cpu_ms)) return state.SkipWithError("find failed");
  }
  // The benchmark's own CPU column shows only this process, which just waits.
  state.counters["find_cpu_ms"] = benchmark::Counter(cpu_ms, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FindBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

void Scan(benchmark::State& state, const ScanSettings& settings, int expected_files) {
  if (!BuildTree()) return state.SkipWithError("cannot build the scan tree");
  const LinuxPlatform platform(ProgramFolder());
  QuietUi ui;
  ScanState scan;
  ScanEngine engine(platform, ui, scan);
  for (auto _ : state) {
    scan.lstBox = {"C:\\Music"};
    CatalogTable table;
    ScanReport report;
    if (!engine.ScanDisk(settings, &table, &report).ok()) return state.SkipWithError("scan failed");
    benchmark::DoNotOptimize(table);
  }
  if (scan.file_count != expected_files || ui.messages() != 0) {
    return state.SkipWithError("the scan did not catalogue the tree as expected");
  }
  state.counters["files"] = scan.file_count;
  state.SetItemsProcessed(state.iterations() * scan.file_count);
}

void BM_ScanAllFiles(benchmark::State& state) {
  Scan(state, {"*.*", 1}, kArtists * (kAlbumsPerArtist + 1) * kFilesPerFolder);
}
BENCHMARK(BM_ScanAllFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ScanMp3WithInfo(benchmark::State& state) {
  Scan(state, {"mp3", 1}, kArtists * (kAlbumsPerArtist + 1) * kFilesPerFolder / 2);
}
BENCHMARK(BM_ScanMp3WithInfo)->Unit(benchmark::kMillisecond)->UseRealTime();

// Shows the console report and keeps each benchmark's time for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    // With repetitions the median stands for the benchmark, else the one run.
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const std::string name = run.run_name.function_name;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (!median && (run.run_type != Run::RT_Iteration || m_has_median.count(name) != 0)) {
        continue;
      }
      if (median) m_has_median.insert(name);
      m_real[name] = run.GetAdjustedRealTime();
      const auto find_cpu = run.counters.find("find_cpu_ms");
      m_cpu[name] =
          find_cpu != run.counters.end() ? find_cpu->second.value : run.GetAdjustedCPUTime();
    }
  }
  // Wall-clock ratios are what a user waits for; processor-time ratios hold
  // steadier on a machine that others are using at the same time.
  void PrintRatios() const {
    const char* kFind = "BM_FindBaseline";
    if (m_real.count(kFind) == 0 || m_real.at(kFind) <= 0 || m_cpu.at(kFind) <= 0) return;
    const std::pair<const char*, double> targets[] = {{"BM_ScanAllFiles", 1.5},
                                                      {"BM_ScanMp3WithInfo", 3.0}};
    for (const auto& [name, target] : targets) {
      if (m_real.count(name) == 0) continue;
      const double real = m_real.at(name) / m_real.at(kFind);
      const double cpu = m_cpu.at(name) / m_cpu.at(kFind);
      std::printf("%-20s %.2fx find in real time, %.2fx in processor time (target %.1fx): %s\n",
                  name, real, cpu, target, real <= target ? "met" : "MISSED");
    }
  }

 private:
  std::map<std::string, double> m_real;  // milliseconds
  std::map<std::string, double> m_cpu;
  std::set<std::string> m_has_median;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
