#pragma once
// Catalog records and tables for tests.

#include <string>

#include "catalog/catalog_table.h"

namespace tallymere::testing {

// A file record with typical field lengths, different for every n.
inline CatalogRecord SampleRecord(int n, std::string folder = "C:\\Music\\Pop\\") {
  CatalogRecord record;
  record.bitrate = "128";
  record.disk_label = folder.substr(0, 3);
  record.path = std::move(folder);
  record.file_name = "Track " + std::to_string(n) + " - Some Song Title.mp3";
  record.modified = "8/23/99 10:15:30 PM";
  record.time = "04:09";
  record.size = 4000000 + n;
  record.artist = "Artist " + std::to_string(n % 97);
  record.album = "Album " + std::to_string(n % 31);
  record.title = "Some Song Title " + std::to_string(n);
  return record;
}

// file_count sample records followed by a trailer for "mp3" with MP3 information.
inline CatalogTable SampleTable(int file_count) {
  CatalogTable table;
  for (int i = 1; i <= file_count; ++i) table.SetRecord(i, SampleRecord(i));
  table.SetRecord(file_count + 1, MakeTrailer("mp3", 1, "8/23/99 10:15:30 PM"));
  return table;
}

}  // namespace tallymere::testing
