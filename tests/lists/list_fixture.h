#pragma once
// A program folder and an output folder for list writer tests, catalogs and
// file lists of a few songs, and the expected bytes of a list as its lines.

#include <gtest/gtest.h>

#include <ctime>
#include <initializer_list>
#include <string>
#include <vector>

#include "catalog/catalog_table.h"
#include "catalog/settings.h"
#include "common/format.h"
#include "lists/list_request.h"
#include "support/temp_folder.h"
#include "support/test_platform.h"
#include "views/file_list_row.h"
#include "views/list_model.h"

namespace tallymere::testing {

struct Song {
  std::string path;
  std::string file_name;
  int32_t size = 0;
  std::string bitrate;
};

// The songs in record order, closed by a trailer.
inline CatalogTable SongCatalog(const std::vector<Song>& songs) {
  CatalogTable table;
  int index = 1;
  for (const Song& song : songs) {
    CatalogRecord record;
    record.path = song.path;
    record.file_name = song.file_name;
    record.size = song.size;
    record.bitrate = song.bitrate;
    record.disk_label = song.path.substr(0, 3);
    record.modified = "01/02/24 10:00:00";
    table.SetRecord(index++, record);
  }
  table.SetRecord(index, MakeTrailer("mp3", 1, "01/02/24 10:00:00"));
  return table;
}

// The file list holding the songs as a search shows them, in this order.
inline ListModel SongFileList(const std::vector<Song>& songs) {
  ListModel list = MakeFileList();
  std::vector<ListRow> rows;
  for (const Song& song : songs) rows.push_back(FileListRow(SongCatalog({song}).Record(1), 3));
  list.AddRows(std::move(rows));
  return list;
}

// The bytes of a list file of these lines in Windows-1252 or ASCII.
inline std::string CrLfLines(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

inline std::string Blanks(int count) { return std::string(static_cast<std::size_t>(count), ' '); }

class ListTest : public ::testing::Test {
 protected:
  static constexpr std::time_t kNow = 1700000000;

  ListTest() {
    // Every option off: each test turns on what it looks at.
    m_settings.optOne = "True";
    m_settings.optSeperate = "False";
    m_settings.chkPath = 0;
    m_settings.chkSize = 0;
    m_settings.chkBitRate = 0;
    m_settings.chkHeader = 0;
    m_settings.chkSum = 0;
  }

  ListRequest Request(const std::string& name = "list.txt") const {
    return {m_platform, m_settings, m_output.Path(name), kNow, {}, {}};
  }
  std::string Output(const std::string& name) const { return m_output.Path(name); }
  std::string Read(const std::string& name) const { return ReadFileBytes(m_output.Path(name)); }
  // The bytes of the list a writer wrote, which must have succeeded.
  std::string Listed(const Result<std::string>& written,
                     const std::string& name = "list.txt") const {
    EXPECT_TRUE(written.ok()) << written.status().message();
    return Read(name);
  }
  void WriteProgramFile(const std::string& name, const std::string& bytes) const {
    m_program.WriteFile(name, bytes);
  }
  static std::string Totals(const std::string& files, const std::string& megabytes) {
    return "Total: " + files + " files, " + megabytes + " MB.  List created on " +
           FormatDateTime(kNow);
  }

  TempFolder m_program;
  TestPlatform m_platform{m_program.path()};
  TempFolder m_output;
  Settings m_settings;
};

}  // namespace tallymere::testing
