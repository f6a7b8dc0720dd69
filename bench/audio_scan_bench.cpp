// An "audio" scan of a music folder of today, as the user waits for it:
// 3,000 files in 200 album folders, half of them MP3 files tagged with ID3v2
// around a 100 KB cover, a quarter FLAC files with a picture block, the rest
// Ogg Vorbis, Opus and M4A files (the real files of tests/data/audio), read by
// `tallymere-cli scan --type audio --mp3-info` as a program. Beside it, the
// bare reads such a scan needs: each file opened, its first and last 4 KB
// read, closed, one after the other. The page cache is warm.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "generated_tree.h"
#include "mp3/audio_fingerprint.h"
#include "platform/linux_platform.h"

namespace {

using namespace tallymere;

constexpr const char* kBase = "/tmp/tallymere-audio-bench";
constexpr const char* kReadyMarker = "/tmp/tallymere-audio-bench/ready-1";
constexpr int kFolders = 200;
constexpr int kFilesPerFolder = 15;

std::string BasePath(const std::string& relative) { return std::string(kBase) + "/" + relative; }

std::string Fixture(const std::string& name) {
  std::ifstream in(std::string(TALLYMERE_TEST_DATA) + "/audio/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Writes the tree unless the marker says an earlier run did, and lists its
// files in the order they were written.
bool BuildTree(std::vector<std::string>* files) {
  const bench::OtherFiles mp3 = bench::Id3v2OnlyMp3Files();
  const std::string flac = Fixture("flac_picture.flac");
  const std::string others[] = {Fixture("vorbis.ogg"), Fixture("opus.opus"), Fixture("aac.m4a")};
  const char* other_extensions[] = {".ogg", ".opus", ".m4a"};
  if (flac.empty() || others[0].empty()) return false;
  const bool built = access(kReadyMarker, F_OK) == 0;
  if (!built &&
      !(bench::MakeFolder(kBase) && bench::MakeFolder(BasePath("c")) &&
        bench::MakeFolder(BasePath("program")) && bench::MakeFolder(BasePath("program/Data")) &&
        bench::WriteFile(BasePath("program/Data/drives.dat"),
                         "C: fixed " + BasePath("c") + "\n"))) {
    return false;
  }
  for (int folder = 0; folder < kFolders; ++folder) {
    const std::string album = BasePath("c/Album " + std::to_string(folder + 1));
    if (!built && !bench::MakeFolder(album)) return false;
    for (int track = 0; track < kFilesPerFolder; ++track) {
      const int kind = (folder * kFilesPerFolder + track) % 12;  // 6 MP3, 3 FLAC, 3 others
      const std::string name = album + "/Track " + std::to_string(track + 1);
      std::string path;
      const std::string* bytes = nullptr;
      if (kind < 6) {
        path = name + ".mp3", bytes = &mp3.bytes;
      } else if (kind < 9) {
        path = name + ".flac", bytes = &flac;
      } else {
        path = name + other_extensions[kind - 9], bytes = &others[kind - 9];
      }
      if (!built && !bench::WriteFile(path, *bytes)) return false;
      files->push_back(path);
    }
  }
  return built || bench::WriteFile(kReadyMarker, "");
}

const std::vector<std::string>* Tree() {
  static std::vector<std::string> files;
  static const bool ready = BuildTree(&files);
  return ready ? &files : nullptr;
}

bool ReadHeadAndTail(const std::string& path) {
  char buffer[4096];
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat facts {};
  const bool read =
      fstat(fd, &facts) == 0 && pread(fd, buffer, sizeof buffer, 0) >= 0 &&
      pread(fd, buffer, sizeof buffer,
            std::max<off_t>(0, facts.st_size - static_cast<off_t>(sizeof buffer))) >= 0;
  close(fd);
  return read;
}

void BM_BareReadsOfTheAudioTree(benchmark::State& state) {
  const std::vector<std::string>* files = Tree();
  if (files == nullptr) return state.SkipWithError("cannot build the audio tree");
  for (auto _ : state) {
    for (const std::string& file : *files) {
      if (!ReadHeadAndTail(file)) return state.SkipWithError("a file could not be read");
    }
  }
  state.counters["files"] = static_cast<double>(files->size());
}
BENCHMARK(BM_BareReadsOfTheAudioTree)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliScanAudioTree(benchmark::State& state) {
  if (Tree() == nullptr) return state.SkipWithError("cannot build the audio tree");
  double cpu_ms = 0;
  for (auto _ : state) {
    if (!bench::RunProgram({TALLYMERE_CLI_PATH, "scan", "--program-folder", BasePath("program"),
                            "--type", "audio", "--mp3-info", "-o", BasePath("audio.mpd"), "C:\\"},
                           "/dev/null", &cpu_ms)) {
      return state.SkipWithError("the scan failed");
    }
  }
  state.counters[bench::kChildCpuCounter] =
      benchmark::Counter(cpu_ms, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CliScanAudioTree)->Unit(benchmark::kMillisecond)->UseRealTime();

// The fingerprint of a 3 MB song from the page cache: its ID3v2 tag and the
// frames after it, as a scan with information takes it.
void BM_FingerprintOfA3MbSong(benchmark::State& state) {
  std::string song = bench::Id3v2OnlyMp3Files().bytes;
  song.resize(3 << 20, '\x55');
  const std::string path = BasePath("three-mb.mp3");
  if (!bench::MakeFolder(kBase) || !bench::WriteFile(path, song)) {
    return state.SkipWithError("cannot write the song");
  }
  const LinuxPlatform platform(BasePath("program"));
  for (auto _ : state) {
    Result<std::unique_ptr<RandomAccessFile>> file = platform.OpenFile(path, OpenMode::kRead);
    if (!file) return state.SkipWithError("cannot open the song");
    const Result<AudioHash> hash =
        AudioFingerprint(**file, static_cast<int64_t>(song.size()), "mp3");
    if (!hash || hash->audio_bytes == 0) return state.SkipWithError("no fingerprint");
    benchmark::DoNotOptimize(hash->hash);
  }
}
BENCHMARK(BM_FingerprintOfA3MbSong)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
