// ReadMp3Info per file: a scan with MP3 information calls it once for every
// MP3 file, so its cost bounds how far the scan stays within 3× of a plain walk.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "mp3/bitrat.h"
#include "mp3/mp3_fixtures.h"
#include "support/test_platform.h"

namespace {

namespace fs = std::filesystem;
using namespace tallymere;
using namespace tallymere::testing;

// A folder holding one file, removed when the benchmark ends.
class BenchFile {
 public:
  explicit BenchFile(const std::string& bytes) {
    std::string pattern = (fs::temp_directory_path() / "tallymere-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) m_folder = pattern;
    m_path = m_folder + "/song.mp3";
    std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  ~BenchFile() {
    std::error_code error;
    if (!m_folder.empty()) fs::remove_all(m_folder, error);
  }
  const std::string& path() const { return m_path; }

 private:
  std::string m_folder;
  std::string m_path;
};

std::string Audio(int frames) {
  std::string audio;
  for (int i = 0; i < frames; ++i) audio += Frame();
  return audio;
}

void Read(benchmark::State& state, const std::string& bytes) {
  const BenchFile file(bytes);
  for (auto _ : state) {
    Mp3Info info;
    Result<std::string> bitrate = testing::ReadMp3File(file.path(), &info);
    if (!bitrate.ok()) {
      state.SkipWithError(bitrate.status().message().c_str());
      break;
    }
    benchmark::DoNotOptimize(bitrate);
  }
  state.SetItemsProcessed(state.iterations());
}

// Cover art, frames, ID3v1 tag: the usual file of a modern collection.
void BM_ReadMp3InfoWithId3v2Tag(benchmark::State& state) {
  Read(state, Id3v2Block(20000) + Audio(200) + Id3v1Block({.title = "Title", .artist = "Artist"}));
}
BENCHMARK(BM_ReadMp3InfoWithId3v2Tag);

// Today's tagged file: an ID3v2.3 tag of text frames and a 4 MB cover picture
// (as some stores embed), then the audio, no ID3v1 tag. The picture is stepped
// over, so this costs about what a small file does; reading it would take
// a millisecond.
void BM_ReadMp3InfoWithLargeId3v2Tag(benchmark::State& state) {
  const std::string tag = Id3v2Tag(
      3, Id3v2Text(3, "TIT2", "A Song Title") + Id3v2Text(3, "TPE1", "Some Artist") +
             Id3v2Frame(3, "APIC", PictureData(4 << 20)) + Id3v2Text(3, "TALB", "Some Album"));
  const BenchFile file(tag + Audio(200));
  TestPlatform platform;
  for (auto _ : state) {
    Mp3Info info;
    Result<std::string> bitrate = ReadMp3Info(platform, file.path(), &info);
    if (!bitrate.ok() || info.V2Album != "Some Album") {
      state.SkipWithError("the tag was not read");
      break;
    }
    benchmark::DoNotOptimize(bitrate);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadMp3InfoWithLargeId3v2Tag);

// A header at the very start and no tag: the cheapest read.
void BM_ReadMp3InfoPlainFrames(benchmark::State& state) { Read(state, Audio(200)); }
BENCHMARK(BM_ReadMp3InfoPlainFrames);

// No header anywhere: the whole search window is examined.
void BM_ReadMp3InfoNoHeader(benchmark::State& state) { Read(state, Zeros(100000)); }
BENCHMARK(BM_ReadMp3InfoNoHeader);

}  // namespace

BENCHMARK_MAIN();
