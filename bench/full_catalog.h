#pragma once
// A full catalog as a music collection really looks: 32,765 MP3 records in
// some 2,500 folders. Most lie on the fixed drive C: under Music\Artist\Album\;
// six disks were added later under labels of their own, three CDs on E: and
// three sticks on F:, so their records come first, as Add a disk puts them.
// Names are made of word lists, so every run builds the same catalog.

#include <array>
#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog_table.h"
#include "common/format.h"
#include "common/sorted_list.h"

namespace tallymere::bench {

inline constexpr int kFullCatalogFiles = CatalogTable::kDescribedFileRecords;
inline constexpr int kArtists = 190;
inline constexpr int kAlbumsPerArtist = 12;
inline constexpr int kLabelledDisks = 6;
inline constexpr int kFoldersPerDisk = 5;

namespace full_catalog_detail {

constexpr std::array<std::string_view, 20> kFirstWords = {
    "The Velvet", "Silver",  "Midnight", "Paper",   "Northern", "Electric", "Hollow",
    "Crimson",    "Lazy",    "Golden",   "Broken",  "Quiet",    "Wild",     "Neon",
    "Little",     "Distant", "Iron",     "Painted", "Blue",     "Sleeping"};
constexpr std::array<std::string_view, 19> kSecondWords = {
    "Lanterns", "Harbour", "Foxes",   "Satellites", "Orchard", "Radio",  "Tigers",
    "Comets",   "Sparrow", "Machine", "Rivers",     "Gardens", "Hearts", "Parade",
    "Engines",  "Echoes",  "Wolves",  "Daughters",  "Circus"};
constexpr std::array<std::string_view, 24> kTitleWords = {
    "Morning", "Light",  "Summer",  "Rain",    "Highway", "Heart",  "Dancing", "Stars",
    "Letter",  "Home",   "Fire",    "Shadow",  "Ocean",   "Winter", "Dream",   "City",
    "Moon",    "Garden", "Whisper", "Thunder", "Road",    "Glass",  "Song",    "Alone"};

inline std::string Word(int n) { return std::string(kTitleWords[n % kTitleWords.size()]); }

inline std::string ArtistName(int artist) {
  return std::string(kFirstWords[artist % kFirstWords.size()]) + " " +
         std::string(kSecondWords[(artist / kFirstWords.size()) % kSecondWords.size()]);
}

inline std::string AlbumName(int artist, int album) {
  const int n = artist * 7 + album * 3;
  return Word(n) + " " + Word(n / 5 + album) + (album % 4 == 3 ? " (Live)" : "");
}

inline std::string TrackTitle(int folder, int track) {
  const int n = folder * 13 + track * 5;
  return Word(n) + (track % 3 == 0 ? " of the " : " ") + Word(n / 3 + track);
}

inline std::string TwoDigits(int n) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%02d", n);
  return digits;
}

struct Folder {
  std::string disk_label;  // "C:\" or the label of an added disk
  std::string path;        // catalog path with drive and trailing "\"
  std::string artist;
  std::string album;
};

// The fixed drive's album folders in the order a scan writes them: the work
// list's order, which compares folders without their last "\".
inline std::vector<Folder> FixedDriveFolders(int first_artist = 0) {
  SortedList order;
  std::vector<Folder> folders;
  for (int artist = first_artist; artist < first_artist + kArtists; ++artist) {
    for (int album = 0; album < kAlbumsPerArtist; ++album) {
      Folder folder{"C:\\", "", ArtistName(artist), AlbumName(artist, album)};
      folder.path = "C:\\Music\\" + folder.artist + "\\" + folder.album + " [" +
                    std::to_string(1971 + (artist + album) % 50) + "]\\";
      order.Add(folder.path.substr(0, folder.path.size() - 1) + "|" +
                std::to_string(folders.size()));
      folders.push_back(std::move(folder));
    }
  }
  std::vector<Folder> sorted;
  sorted.reserve(folders.size());
  for (const std::string& entry : order) {
    sorted.push_back(folders[std::stoul(entry.substr(entry.rfind('|') + 1))]);
  }
  return sorted;
}

// The added disks, the last added first: each has files in its root and in
// a few album folders.
inline std::vector<Folder> DiskFolders() {
  std::vector<Folder> folders;
  for (int disk = kLabelledDisks - 1; disk >= 0; --disk) {
    const bool cd = disk % 2 == 0;
    const std::string label = (cd ? "Mix_CD_" : "Party_Stick_") + TwoDigits(disk + 1);
    const std::string root = cd ? "E:\\" : "F:\\";
    const std::string artist = "Various Artists";
    folders.push_back({label, root, artist, label});
    for (int album = 0; album < kFoldersPerDisk; ++album) {
      const std::string name = AlbumName(disk + 200, album);
      folders.push_back({label, root + name + "\\", artist, name});
    }
  }
  return folders;
}

}  // namespace full_catalog_detail

// The catalog, trailer included: every one of the table's records is used.
// Another variant is another shelf's catalog: other artists (the word lists
// give 380 names, so some come back), other titles, other dates.
inline CatalogTable FullCatalog(int variant = 0) {
  using namespace full_catalog_detail;
  std::vector<Folder> folders = DiskFolders();
  for (Folder& folder : FixedDriveFolders(variant * kArtists)) folders.push_back(std::move(folder));

  constexpr std::array<std::string_view, 4> kBitrates = {"128", "192", "256", "320"};
  const std::time_t base = 1262304000 + variant * 86400;  // 2010-01-01 on
  CatalogTable table;
  table.Reserve(CatalogTable::kDescribedCapacity);
  int index = 1;
  const int folder_count = static_cast<int>(folders.size());
  for (int f = 0; f < folder_count; ++f) {
    // Spreads the files evenly: every folder gets its share, 14 or 15 tracks.
    const int tracks =
        (f + 1) * kFullCatalogFiles / folder_count - f * kFullCatalogFiles / folder_count;
    for (int track = 1; track <= tracks; ++track) {
      CatalogRecord record;
      const std::string title = TrackTitle(f + variant * 3, track);
      const int seconds = 150 + (f * 31 + track * 17) % 240;
      record.bitrate = std::string(kBitrates[(f + track) % kBitrates.size()]);
      record.disk_label = folders[f].disk_label;
      record.path = folders[f].path;
      record.file_name = TwoDigits(track) + " - " + title + ".mp3";
      record.modified = FormatDateTime(base + f * 86400 + track * 613);
      record.time = TwoDigits(seconds / 60) + ":" + TwoDigits(seconds % 60);
      record.size = seconds * 16000 + track * 211;
      record.artist = folders[f].artist;
      record.album = folders[f].album;
      record.title = title;
      table.SetRecord(index++, std::move(record));
    }
  }
  table.SetRecord(index, MakeTrailer("mp3", 1, FormatDateTime(base + 400 * 86400)));
  return table;
}

}  // namespace tallymere::bench
