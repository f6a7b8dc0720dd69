#pragma once
// Generated trees for the scanning benchmarks: artist folders holding album
// folders, each folder a few small files, half of them MP3 files with a frame
// header and an ID3v1 tag, the others text files or today's ID3v2-tagged MP3s. A tree is built once
// and kept for later runs; a marker file says it is complete.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "mp3/mp3_fixtures.h"

namespace tallymere::bench {

inline bool WriteFile(const std::string& path, const std::string& bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool written = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  return close(fd) == 0 && written;
}

inline bool MakeFolder(const std::string& path) {
  return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

struct TreeShape {
  int artists = 0;
  int albums_per_artist = 0;
  int files_per_folder = 0;

  constexpr int Files() const { return artists * (albums_per_artist + 1) * files_per_folder; }
};

// The other half of a tree's files: what they hold and their extension.
struct OtherFiles {
  std::string bytes = std::string(200, 't');
  std::string extension = ".txt";
};

// Today's MP3 file: an ID3v2.3 tag alone, its text frames around a 100 KB
// cover picture.
inline OtherFiles Id3v2OnlyMp3Files() {
  const std::string tag =
      testing::Id3v2Tag(3, testing::Id3v2Text(3, "TIT2", "A Song Title") +
                               testing::Id3v2Text(3, "TPE1", "Some Artist") +
                               testing::Id3v2Frame(3, "APIC", testing::PictureData(100 * 1024)) +
                               testing::Id3v2Text(3, "TALB", "Some Album"));
  return {tag + testing::Frame() + testing::Frame(), ".mp3"};
}

// Fills root (created with its parents' existing) with the tree, unless the
// marker says an earlier run did.
inline bool BuildMusicTree(const std::string& root, const TreeShape& shape,
                           const std::string& marker, const OtherFiles& other = {}) {
  if (access(marker.c_str(), F_OK) == 0) return true;
  testing::Id3v1Fields tag;
  tag.title = "A Song Title";
  tag.artist = "Some Artist";
  tag.album = "Some Album";
  const std::string mp3 = testing::Frame() + testing::Frame() + testing::Id3v1Block(tag);
  if (!MakeFolder(root)) return false;
  int number = 0;
  // Folders of even number start with an MP3 file with an ID3v1 tag, the
  // others with an other file, so exactly half of all files are such MP3 files.
  const auto fill = [&](const std::string& folder) {
    if (!MakeFolder(folder)) return false;
    for (int i = 0; i < shape.files_per_folder; ++i) {
      const bool is_mp3 = (i + number) % 2 == 0;
      const std::string name =
          "Track " + std::to_string(i + 1) + (is_mp3 ? std::string(".mp3") : other.extension);
      if (!WriteFile(folder + "/" + name, is_mp3 ? mp3 : other.bytes)) return false;
    }
    ++number;
    return true;
  };
  for (int a = 0; a < shape.artists; ++a) {
    const std::string artist = root + "/Artist " + std::to_string(a);
    if (!fill(artist)) return false;
    for (int b = 0; b < shape.albums_per_artist; ++b) {
      if (!fill(artist + "/Album " + std::to_string(b))) return false;
    }
  }
  return WriteFile(marker, "");
}

}  // namespace tallymere::bench
