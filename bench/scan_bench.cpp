// Scanning against find ROOT -type f -printf '%s %T@\n' over the same trees,
// measured side by side in one run: all files must scan within 1.1 times
// find's time, MP3 files with their bitrate, time and tag within 2 times, and
// a tree of today's MP3 files, half of them tagged only with ID3v2 around a
// 100 KB picture, within 1.5 times as tallymere-cli scan.
//
// Three kinds of tree:
// - a generated tree of 30,000 small files in 2,000 folders, half of them MP3
//   files with a frame header and an ID3v1 tag, built once under /tmp and kept
//   for later runs;
// - a generated tree of 3,000 MP3 files in 200 folders, half with an ID3v1
//   tag, half with only an ID3v2 tag holding a 100 KB cover picture;
// - real trees of this machine: /usr/share, /usr/include and
//   /usr/lib/x86_64-linux-gnu, those that exist. They hold more files than a
//   catalog, so they are cut into batches of folders that fit one, and find and
//   every scan go over the same batches.
// The scans run in this process (the engine alone) and as tallymere-cli scan
// processes writing their data file (start-up and saving included), which is
// what a user waits for. Every measurement runs with warm caches. After the
// table the program prints each scan's time as a multiple of find's, in real
// and in processor time; for steady figures run it with
// --benchmark_repetitions=5 --benchmark_report_aggregates_only=true.

#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "catalog/catalog_table.h"
#include "catalog/program_settings.h"
#include "generated_tree.h"
#include "platform/linux_platform.h"
#include "scan/scan_disk.h"

namespace {

using namespace tallymere;
using bench::BuildMusicTree;
using bench::MakeFolder;
using bench::RunProgram;
using bench::WriteFile;

constexpr const char* kBase = "/tmp/tallymere-scan-bench";
// Changing the layout needs a new marker, so an old tree is built anew.
constexpr const char* kReadyMarker = "/tmp/tallymere-scan-bench/ready-1";
// 40 artist folders and 1,960 album folders of 15 files each: 30,000 files.
constexpr bench::TreeShape kTree{.artists = 40, .albums_per_artist = 49, .files_per_folder = 15};
constexpr int kTreeFiles = kTree.Files();
constexpr const char* kId3v2ReadyMarker = "/tmp/tallymere-scan-bench/ready-id3v2-1";
// 10 artist folders and 190 album folders of 15 files each: 3,000 files.
constexpr bench::TreeShape kId3v2Tree{
    .artists = 10, .albums_per_artist = 19, .files_per_folder = 15};
constexpr std::array<const char*, 3> kRealRoots = {"/usr/share", "/usr/include",
                                                   "/usr/lib/x86_64-linux-gnu"};

std::string BasePath(const std::string& relative) { return std::string(kBase) + "/" + relative; }

const std::string& TreeRoot() {
  static const std::string root = BasePath("c/Music");
  return root;
}

const std::string& Id3v2TreeRoot() {
  static const std::string root = BasePath("c/Today");
  return root;
}

// With a drives.dat that maps C: to the generated tree's drive.
const std::string& ProgramFolder() {
  static const std::string folder = BasePath("program");
  return folder;
}

// Without one: the drive map is this machine's, as for a user.
const std::string& RealProgramFolder() {
  static const std::string folder = BasePath("real-program");
  return folder;
}

bool BuildTree() {
  if (access(kReadyMarker, F_OK) == 0) return true;
  std::fprintf(stderr, "Building the scan tree under %s ...\n", kBase);
  return MakeFolder(kBase) && MakeFolder(BasePath("c")) && MakeFolder(ProgramFolder()) &&
         MakeFolder(ProgramFolder() + "/Data") &&
         WriteFile(ProgramFolder() + "/Data/drives.dat", "C: fixed " + BasePath("c") + "\n") &&
         BuildMusicTree(TreeRoot(), kTree, kReadyMarker);
}

bool BuildId3v2Tree() {
  return BuildTree() && bench::BuildMusicTree(Id3v2TreeRoot(), kId3v2Tree, kId3v2ReadyMarker,
                                              bench::Id3v2OnlyMp3Files());
}

// --- Real trees ----------------------------------------------------------------

bool IsFolder(int parent, const dirent& entry) {
  if (entry.d_type != DT_UNKNOWN) return entry.d_type == DT_DIR;
  struct stat facts;
  return fstatat(parent, entry.d_name, &facts, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(facts.st_mode);
}

// The subfolders of a folder, and how many files it holds at any depth
// (hidden ones too, so never fewer than a scan finds). Links are not followed.
long CountFiles(const std::string& folder, std::vector<std::string>* subfolders = nullptr) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return 0;
  long files = 0;
  std::vector<std::string> inner;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (IsFolder(dirfd(dir), *entry)) {
      inner.push_back(folder + "/" + name);
    } else if (entry->d_type == DT_REG || entry->d_type == DT_UNKNOWN) {
      ++files;
    }
  }
  closedir(dir);
  for (const std::string& sub : inner) files += CountFiles(sub);
  if (subfolders != nullptr) *subfolders = std::move(inner);
  return files;
}

// A folder that fits a catalog is one piece; a larger one is cut into its
// subfolders (its own files are then left to neither find nor the scan).
void CutIntoPieces(const std::string& folder, std::vector<std::pair<std::string, long>>* pieces) {
  std::vector<std::string> subfolders;
  const long files = CountFiles(folder, &subfolders);
  if (files <= CatalogTable::kDescribedFileRecords) {
    if (files > 0) pieces->emplace_back(folder, files);
    return;
  }
  for (const std::string& sub : subfolders) CutIntoPieces(sub, pieces);
}

struct RealTrees {
  std::vector<std::vector<std::string>> batches;  // roots of one scan each
  long files = 0;
};

// The real trees of this machine in batches that each fit a catalog.
const RealTrees& RealTreeBatches() {
  static const RealTrees trees = [] {
    RealTrees result;
    std::vector<std::pair<std::string, long>> pieces;
    for (const char* root : kRealRoots) {
      if (access(root, R_OK | X_OK) == 0) CutIntoPieces(root, &pieces);
    }
    long in_batch = 0;
    for (const auto& [folder, files] : pieces) {
      if (result.batches.empty() || in_batch + files > CatalogTable::kDescribedFileRecords) {
        result.batches.emplace_back();
        in_batch = 0;
      }
      result.batches.back().push_back(folder);
      in_batch += files;
      result.files += files;
    }
    return result;
  }();
  return trees;
}

bool PrepareRealTrees(benchmark::State& state) {
  if (RealTreeBatches().batches.empty()) {
    state.SkipWithError("none of /usr/share, /usr/include, /usr/lib/x86_64-linux-gnu is here");
    return false;
  }
  if (!MakeFolder(kBase) || !MakeFolder(RealProgramFolder())) {
    state.SkipWithError("cannot make the program folder");
    return false;
  }
  return true;
}

// --- find --------------------------------------------------------------------

bool RunFind(const std::vector<std::string>& roots, double* cpu_ms) {
  std::vector<std::string> args = {"find"};
  args.insert(args.end(), roots.begin(), roots.end());
  args.insert(args.end(), {"-type", "f", "-printf", "%s %T@\\n"});
  return RunProgram(args, "/dev/null", cpu_ms);
}

void FindOver(benchmark::State& state, const std::vector<std::vector<std::string>>& batches) {
  double cpu_ms = 0;
  for (const auto& batch : batches) RunFind(batch, &cpu_ms);  // warm the caches
  cpu_ms = 0;
  for (auto _ : state) {
    for (const auto& batch : batches) {
      if (!RunFind(batch, &cpu_ms)) return state.SkipWithError("find failed");
    }
  }
  bench::ReportChildCpu(state, cpu_ms);
}

void BM_FindTree(benchmark::State& state) {
  if (!BuildTree()) return state.SkipWithError("cannot build the scan tree");
  FindOver(state, {{TreeRoot()}});
}
BENCHMARK(BM_FindTree)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FindId3v2Tree(benchmark::State& state) {
  if (!BuildId3v2Tree()) return state.SkipWithError("cannot build the ID3v2 tree");
  FindOver(state, {{Id3v2TreeRoot()}});
}
BENCHMARK(BM_FindId3v2Tree)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FindRealTrees(benchmark::State& state) {
  if (!PrepareRealTrees(state)) return;
  FindOver(state, RealTreeBatches().batches);
  state.counters["files"] = static_cast<double>(RealTreeBatches().files);
}
BENCHMARK(BM_FindRealTrees)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- The engine in this process ---------------------------------------------

void ScanInProcess(benchmark::State& state, const std::string& program_folder,
                   const std::vector<std::vector<std::string>>& native_batches,
                   const ScanSettings& settings, int expected_files) {
  const LinuxPlatform platform(program_folder);
  std::vector<std::vector<std::string>> batches;
  for (const auto& native_batch : native_batches) {
    std::vector<std::string>& batch = batches.emplace_back();
    for (const std::string& folder : native_batch) {
      const std::optional<std::string> root = platform.ToCatalog(folder);
      if (!root) return state.SkipWithError(("no drive holds " + folder).c_str());
      batch.push_back(*root);
    }
  }
  bench::CountingScanObserver observer;
  int files = 0;
  for (auto _ : state) {
    files = 0;
    for (const auto& batch : batches) {
      Result<ScanResult> scanned = ScanDisk(platform, {batch, settings, "", 0}, &observer);
      if (!scanned) return state.SkipWithError("scan failed");
      files += scanned->file_count;
      benchmark::DoNotOptimize(scanned->table);
    }
  }
  if ((expected_files >= 0 && files != expected_files) || observer.failures != 0) {
    return state.SkipWithError("the scan did not catalogue the tree as expected");
  }
  state.counters["files"] = files;
}

void BM_ScanTreeAllFiles(benchmark::State& state) {
  if (!BuildTree()) return state.SkipWithError("cannot build the scan tree");
  ScanInProcess(state, ProgramFolder(), {{TreeRoot()}}, {"*.*", 1}, kTreeFiles);
}
BENCHMARK(BM_ScanTreeAllFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ScanTreeMp3WithInfo(benchmark::State& state) {
  if (!BuildTree()) return state.SkipWithError("cannot build the scan tree");
  ScanInProcess(state, ProgramFolder(), {{TreeRoot()}}, {"mp3", 1}, kTreeFiles / 2);
}
BENCHMARK(BM_ScanTreeMp3WithInfo)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ScanId3v2TreeMp3WithInfo(benchmark::State& state) {
  if (!BuildId3v2Tree()) return state.SkipWithError("cannot build the ID3v2 tree");
  ScanInProcess(state, ProgramFolder(), {{Id3v2TreeRoot()}}, {"mp3", 1}, kId3v2Tree.Files());
}
BENCHMARK(BM_ScanId3v2TreeMp3WithInfo)->Unit(benchmark::kMillisecond)->UseRealTime();

// The leave-out rules: the 30,000-file tree with the default rules (none
// matches, so every entry is tried against every rule), and a project whose
// node_modules of 50,000 files the rules leave out, against the same
// project without it.
ScanSettings WithDefaultRules(ScanSettings settings) {
  settings.leave_out = LeaveOutRules::Parse(DefaultLeaveOutRules());
  return settings;
}

void BM_ScanTreeAllFilesDefaultRules(benchmark::State& state) {
  if (!BuildTree()) return state.SkipWithError("cannot build the scan tree");
  ScanInProcess(state, ProgramFolder(), {{TreeRoot()}}, WithDefaultRules({"*.*", 1}), kTreeFiles);
}
BENCHMARK(BM_ScanTreeAllFilesDefaultRules)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the default rules cost a scan: the 30,000 entries of the tree (album
// and artist folders, track names) tried against them, no listing around.
void BM_DefaultRulesOverTheTreesNames(benchmark::State& state) {
  const LeaveOutRules rules = LeaveOutRules::Parse(DefaultLeaveOutRules());
  std::vector<std::pair<std::string, std::string>> entries;  // relative path, name
  for (int a = 0; a < kTree.artists; ++a) {
    for (int b = 0; b < kTree.albums_per_artist; ++b) {
      const std::string folder = "Artist " + std::to_string(a) + "\\Album " + std::to_string(b);
      for (int t = 1; t <= kTree.files_per_folder; ++t) {
        const std::string name = "Track " + std::to_string(t) + (t % 2 ? ".mp3" : ".txt");
        entries.emplace_back(folder + "\\" + name, name);
      }
    }
  }
  int left_out = 0;
  for (auto _ : state) {
    for (const auto& [relative, name] : entries) {
      left_out += rules.LeftOutBy(relative, name, false) != nullptr ? 1 : 0;
    }
  }
  if (left_out != 0) return state.SkipWithError("the rules left out a track");
  state.counters["entries"] = static_cast<double>(entries.size());
}
BENCHMARK(BM_DefaultRulesOverTheTreesNames)->Unit(benchmark::kMillisecond);

constexpr const char* kProjectMarker = "/tmp/tallymere-scan-bench/ready-project-1";
// The project itself: 40 folders of 50 files; node_modules: 1,000 packages
// of 50 files.
constexpr bench::TreeShape kProject{.artists = 4, .albums_per_artist = 9, .files_per_folder = 50};
constexpr bench::TreeShape kModules{.artists = 100, .albums_per_artist = 9, .files_per_folder = 50};

bool BuildProjects() {
  return BuildTree() &&
         bench::BuildMusicTree(BasePath("c/Project"), kProject,
                               kProjectMarker + std::string("a")) &&
         bench::BuildMusicTree(BasePath("c/ProjectWithModules"), kProject,
                               kProjectMarker + std::string("b")) &&
         bench::BuildMusicTree(BasePath("c/ProjectWithModules/node_modules"), kModules,
                               kProjectMarker + std::string("c"));
}

void BM_ScanProjectWithoutModules(benchmark::State& state) {
  if (!BuildProjects()) return state.SkipWithError("cannot build the projects");
  ScanInProcess(state, ProgramFolder(), {{BasePath("c/Project")}}, WithDefaultRules({"*.*", 1}),
                kProject.Files());
}
BENCHMARK(BM_ScanProjectWithoutModules)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ScanProjectWithModulesLeftOut(benchmark::State& state) {
  if (!BuildProjects()) return state.SkipWithError("cannot build the projects");
  ScanInProcess(state, ProgramFolder(), {{BasePath("c/ProjectWithModules")}},
                WithDefaultRules({"*.*", 1}), kProject.Files());
}
BENCHMARK(BM_ScanProjectWithModulesLeftOut)->Unit(benchmark::kMillisecond)->UseRealTime();

// The MP3 information scan of the ID3v2 tree with an empty page cache, as a
// stick or a cold disk gives it, against a bare program of 16 threads that
// reads the same heads and tails. Dropping the cache needs root; each
// iteration drops it untimed.
bool DropPageCache() {
  sync();
  const int fd = open("/proc/sys/vm/drop_caches", O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool dropped = write(fd, "3\n", 2) == 2;
  close(fd);
  return dropped;
}

// Every file below root, in no particular order.
void FilesBelow(const std::string& root, std::vector<std::string>* files) {
  DIR* dir = opendir(root.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> folders;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    (entry->d_type == DT_DIR ? folders : *files).push_back(root + "/" + name);
  }
  closedir(dir);
  for (const std::string& folder : folders) FilesBelow(folder, files);
}

// Reads a file's first 128 KB (its tag and first frames) and its last 128 bytes.
bool ReadHeadAndTail(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat facts {};
  static thread_local std::vector<char> buffer(128 * 1024);
  const bool read_all = fstat(fd, &facts) == 0 && pread(fd, buffer.data(), buffer.size(), 0) >= 0 &&
                        pread(fd, buffer.data(), 128, std::max<off_t>(0, facts.st_size - 128)) >= 0;
  close(fd);
  return read_all;
}

void BM_ColdScanId3v2TreeMp3WithInfo(benchmark::State& state) {
  if (!BuildId3v2Tree()) return state.SkipWithError("cannot build the ID3v2 tree");
  const LinuxPlatform platform(ProgramFolder());
  const std::optional<std::string> root = platform.ToCatalog(Id3v2TreeRoot());
  if (!root) return state.SkipWithError("no drive holds the tree");
  bench::CountingScanObserver observer;
  for (auto _ : state) {
    state.PauseTiming();
    if (!DropPageCache()) return state.SkipWithError("dropping the page cache needs root");
    state.ResumeTiming();
    Result<ScanResult> scanned = ScanDisk(platform, {{*root}, {"mp3", 1}, "", 0}, &observer);
    if (!scanned || scanned->file_count != kId3v2Tree.Files()) {
      return state.SkipWithError("the scan did not catalogue the tree");
    }
  }
}
BENCHMARK(BM_ColdScanId3v2TreeMp3WithInfo)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ColdBareReads16InFlight(benchmark::State& state) {
  if (!BuildId3v2Tree()) return state.SkipWithError("cannot build the ID3v2 tree");
  std::vector<std::string> files;
  FilesBelow(Id3v2TreeRoot(), &files);
  std::sort(files.begin(), files.end());
  for (auto _ : state) {
    state.PauseTiming();
    if (!DropPageCache()) return state.SkipWithError("dropping the page cache needs root");
    state.ResumeTiming();
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::vector<std::thread> readers;
    for (int i = 0; i < 16; ++i) {
      readers.emplace_back([&] {
        for (std::size_t f; (f = next++) < files.size();) {
          if (!ReadHeadAndTail(files[f])) failed = true;
        }
      });
    }
    for (std::thread& reader : readers) reader.join();
    if (failed) return state.SkipWithError("a file could not be read");
  }
  state.counters["files"] = static_cast<double>(files.size());
}
BENCHMARK(BM_ColdBareReads16InFlight)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ScanRealTreesAllFiles(benchmark::State& state) {
  if (!PrepareRealTrees(state)) return;
  ScanInProcess(state, RealProgramFolder(), RealTreeBatches().batches, {"*.*", 1}, -1);
}
BENCHMARK(BM_ScanRealTreesAllFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- tallymere-cli scan as a program of its own ------------------------------

// Runs one tallymere-cli scan per batch; checks afterwards that each wrote its
// data file and, when expected_files is not negative, how many files in all.
void ScanWithCli(benchmark::State& state, const std::string& program_folder,
                 const std::vector<std::vector<std::string>>& batches,
                 const std::vector<std::string>& type_options, int expected_files) {
  const std::string out = BasePath("out.mpd");
  const std::string report = BasePath("cli-report.txt");
  const auto run_batch = [&](const std::vector<std::string>& batch, double* cpu_ms) {
    std::vector<std::string> args = {TALLYMERE_CLI_PATH, "scan", "--program-folder",
                                     program_folder,     "-o",   out};
    args.insert(args.end(), type_options.begin(), type_options.end());
    args.push_back("--");
    args.insert(args.end(), batch.begin(), batch.end());
    return RunProgram(args, report, cpu_ms);
  };
  double cpu_ms = 0;
  for (auto _ : state) {
    for (const auto& batch : batches) {
      if (!run_batch(batch, &cpu_ms)) return state.SkipWithError("tallymere-cli scan failed");
    }
  }
  bench::ReportChildCpu(state, cpu_ms);

  // Untimed: the files each batch catalogued, from the line it printed.
  long files = 0;
  for (const auto& batch : batches) {
    double ignored = 0;
    if (!run_batch(batch, &ignored)) return state.SkipWithError("tallymere-cli scan failed");
    std::FILE* text = std::fopen(report.c_str(), "r");
    long batch_files = -1;
    if (text != nullptr) {
      if (std::fscanf(text, "Total: %ld files", &batch_files) != 1) batch_files = -1;
      std::fclose(text);
    }
    if (batch_files < 0) return state.SkipWithError("tallymere-cli scan printed no total");
    files += batch_files;
  }
  if (expected_files >= 0 && files != expected_files) {
    return state.SkipWithError("tallymere-cli did not catalogue the tree as expected");
  }
  state.counters["files"] = static_cast<double>(files);
}

const std::vector<std::string> kAllFilesOptions = {"--type", "*.*", "--no-mp3-info"};
const std::vector<std::string> kMp3InfoOptions = {"--type", "mp3", "--mp3-info"};

void BM_CliScanTreeAllFiles(benchmark::State& state) {
  if (!BuildTree()) return state.SkipWithError("cannot build the scan tree");
  ScanWithCli(state, ProgramFolder(), {{TreeRoot()}}, kAllFilesOptions, kTreeFiles);
}
BENCHMARK(BM_CliScanTreeAllFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliScanTreeMp3WithInfo(benchmark::State& state) {
  if (!BuildTree()) return state.SkipWithError("cannot build the scan tree");
  ScanWithCli(state, ProgramFolder(), {{TreeRoot()}}, kMp3InfoOptions, kTreeFiles / 2);
}
BENCHMARK(BM_CliScanTreeMp3WithInfo)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliScanId3v2TreeMp3WithInfo(benchmark::State& state) {
  if (!BuildId3v2Tree()) return state.SkipWithError("cannot build the ID3v2 tree");
  ScanWithCli(state, ProgramFolder(), {{Id3v2TreeRoot()}}, kMp3InfoOptions, kId3v2Tree.Files());
}
BENCHMARK(BM_CliScanId3v2TreeMp3WithInfo)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliScanRealTreesAllFiles(benchmark::State& state) {
  if (!PrepareRealTrees(state)) return;
  ScanWithCli(state, RealProgramFolder(), RealTreeBatches().batches, kAllFilesOptions, -1);
}
BENCHMARK(BM_CliScanRealTreesAllFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliScanRealTreesMp3WithInfo(benchmark::State& state) {
  if (!PrepareRealTrees(state)) return;
  ScanWithCli(state, RealProgramFolder(), RealTreeBatches().batches, kMp3InfoOptions, -1);
}
BENCHMARK(BM_CliScanRealTreesMp3WithInfo)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  return bench::RunBenchmarks(argc, argv,
                              {{"BM_ScanTreeAllFiles", "BM_FindTree", 1.1},
                               {"BM_ScanTreeMp3WithInfo", "BM_FindTree", 2.0},
                               {"BM_CliScanTreeAllFiles", "BM_FindTree", 1.1},
                               {"BM_CliScanTreeMp3WithInfo", "BM_FindTree", 2.0},
                               {"BM_ScanId3v2TreeMp3WithInfo", "BM_FindId3v2Tree", 1.5},
                               {"BM_CliScanId3v2TreeMp3WithInfo", "BM_FindId3v2Tree", 1.5},
                               {"BM_ScanRealTreesAllFiles", "BM_FindRealTrees", 1.1},
                               {"BM_CliScanRealTreesAllFiles", "BM_FindRealTrees", 1.1},
                               {"BM_CliScanRealTreesMp3WithInfo", "BM_FindRealTrees", 2.0}});
}
