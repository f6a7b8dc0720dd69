// ReadAudioInfo over files made by Debian's encoders and taggers
// (tests/data/audio, see its README), checked against what mutagen read
// from them (expected.tsv), and over the same files damaged.

#include "mp3/audio_info.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "catalog/file_type.h"
#include "mp3/memory_file.h"

namespace tallymere {
namespace {

using testing::AudioPath;
using testing::MemoryFile;
using testing::Slurp;

Result<AudioInfo> Read(MemoryFile& file, const std::string& extension) {
  return ReadAudioInfo(file, file.length(), extension);
}

struct Expected {
  std::string file, format;
  double seconds = 0;
  int bitrate = 0, sample_rate = 0, channels = 0;
  std::string artist, title, album;
};

std::vector<Expected> ExpectedFiles() {
  std::ifstream in(AudioPath("expected.tsv"));
  std::vector<Expected> files;
  std::string line;
  std::getline(in, line);  // the header
  while (std::getline(in, line)) {
    std::vector<std::string> cells;
    std::stringstream row(line);
    for (std::string cell; std::getline(row, cell, '\t');) cells.push_back(cell);
    cells.resize(10);
    const auto number = [](const std::string& text) { return text.empty() ? 0 : std::stoi(text); };
    files.push_back({cells[0], cells[1], std::stod(cells[2]), number(cells[3]), number(cells[4]),
                     number(cells[5]), cells[7], cells[8], cells[9]});
  }
  return files;
}

TEST(AudioInfoTest, EveryFormatGivesTheStreamAndTagMutagenRead) {
  const std::vector<Expected> files = ExpectedFiles();
  ASSERT_GE(files.size(), 25u);
  int read = 0;
  for (const Expected& expected : files) {
    SCOPED_TRACE(expected.file);
    const std::string extension = LowerExtension(expected.file);
    ASSERT_TRUE(IsAudioExtension(extension));
    MemoryFile file(Slurp(AudioPath(expected.file)));
    const Result<AudioInfo> info = Read(file, extension);
    // Raw ADTS streams have no container TagLib 1.13 reads; MP3 files are
    // ReadMp3Info's.
    if (expected.format == "AAC" || extension == "mp3") {
      EXPECT_FALSE(info.ok());
      continue;
    }
    ASSERT_TRUE(info.ok()) << info.status().message();
    ++read;
    EXPECT_EQ(info->artist, expected.artist);
    EXPECT_EQ(info->title, expected.title);
    EXPECT_EQ(info->album, expected.album);
    EXPECT_EQ(info->length_seconds, static_cast<int>(expected.seconds));
    EXPECT_EQ(info->channels, expected.channels);
    if (expected.sample_rate > 0) {
      EXPECT_EQ(info->sample_rate, expected.sample_rate);
    }
    // Readers differ on a lossy stream's average (nominal or measured); a
    // bitrate must be there, near mutagen's where it names one.
    EXPECT_GT(info->bitrate_kbps, 0);
    if (expected.bitrate > 0) {
      EXPECT_NEAR(info->bitrate_kbps, expected.bitrate, expected.bitrate / 2.0);
    }
    // What was read is the tags and the headers: a few reads of these
    // small files at most.
    EXPECT_LE(file.read(), 3 * static_cast<std::size_t>(file.length()));
  }
  EXPECT_EQ(read, 20);
}

// Flips the bytes of [at, at + count) of a copy.
std::string Damaged(std::string bytes, std::size_t at, std::size_t count, char value) {
  for (std::size_t i = at; i < std::min(bytes.size(), at + count); ++i) bytes[i] = value;
  return bytes;
}

TEST(AudioInfoTest, DamagedFilesFailOrReadWhatIsSoundWithoutCrashOrHang) {
  for (const Expected& expected : ExpectedFiles()) {
    SCOPED_TRACE(expected.file);
    const std::string bytes = Slurp(AudioPath(expected.file));
    std::vector<std::string> variants;
    for (std::size_t cut : {std::size_t{0}, std::size_t{4}, std::size_t{11}, std::size_t{100},
                            bytes.size() / 3, bytes.size() - 1}) {
      variants.push_back(bytes.substr(0, cut));
    }
    variants.push_back(Damaged(bytes, 0, 64, '\0'));    // zeroed header
    variants.push_back(Damaged(bytes, 0, 64, '\xFF'));  // absurd sizes everywhere
    variants.push_back(Damaged(bytes, 4, 4, '\xFF'));   // a first block or atom of 4 GB
    variants.push_back(Damaged(bytes, bytes.size() / 2, 16, '\x7F'));  // a bad page or frame
    for (const std::string& variant : variants) {
      for (const std::string& extension : {LowerExtension(expected.file), std::string("flac"),
                                           std::string("m4a"), std::string("ogg")}) {
        MemoryFile file(variant);
        const Result<AudioInfo> info = Read(file, extension);
        if (info.ok()) {
          EXPECT_GE(info->bitrate_kbps, 0);
        }
      }
    }
  }
}

TEST(AudioInfoTest, AHugeFileWhoseHeadersLieIsNeverReadPastTheBudget) {
  constexpr int64_t k4GB = int64_t{4} << 30;
  // A FLAC stream of one block that claims 16 MB, then zeros for 4 GB; an
  // MP4 file whose first atom claims 4 GB; a WAV file whose chunk claims it.
  const std::string heads[] = {
      std::string("fLaC\x00\xFF\xFF\xFF", 8),
      std::string("\xFF\xFF\xFF\xFF"
                  "ftypM4A ",
                  12),
      std::string("RIFF\xFF\xFF\xFF\xFFWAVEdata\xFF\xFF\xFF\x7F", 20),
  };
  for (const std::string& head : heads) {
    for (const std::string_view extension : kAudioExtensions) {
      SCOPED_TRACE(extension);
      // Each head once for every format, the others (an MPEG search
      // through zeros takes a second) for the formats they belong to.
      if (&head != &heads[0] && extension != "m4a" && extension != "wav") continue;
      MemoryFile file(head, k4GB);
      (void)Read(file, std::string(extension));
      EXPECT_LE(file.read(), kMostAudioInfoBytes);
    }
  }
}

}  // namespace
}  // namespace tallymere
