#pragma once
// A main window with a catalog of MP3 files in C:\Music\ opened and listed,
// for the tests of the Playlist Editor and the Data Field Editor.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "windows/main/catalog_window_fixture.h"

namespace tallymere::testing {

struct CataloguedSong {
  CataloguedSong(std::string name, int32_t size, std::string time, std::string artist = "",
                 std::string title = "", std::string album = "")
      : name(std::move(name)),
        size(size),
        time(std::move(time)),
        artist(std::move(artist)),
        title(std::move(title)),
        album(std::move(album)) {}
  std::string name;
  int32_t size;
  std::string time;
  std::string artist;
  std::string title;
  std::string album;
};

class EditorsTest : public CatalogWindowTest {
 protected:
  // Opens a catalog of these files in C:\Music\ and lists the folder; the
  // calls made so far are forgotten.
  void OpenSongs(const std::vector<CataloguedSong>& songs) {
    std::vector<CatalogRecord> records;
    for (const CataloguedSong& song : songs) {
      CatalogRecord& record =
          records.emplace_back(Record("C:\\", "C:\\Music\\", song.name, song.size));
      record.bitrate = "128";
      record.modified = "then";
      record.time = song.time;
      record.artist = song.artist;
      record.title = song.title;
      record.album = song.album;
    }
    OpenRecords(records, "mp3", 1, "songs.mpd");
    main().tvAlbum_NodeClick(Node("C:\\Music\\"));
    ui().ClearCalls();
  }

  // Selects the file list's rows of these names, and no other.
  void Select(const std::vector<std::string>& names) {
    ListModel& list = main().LV();
    list.ClearSelection();
    for (int row = 0; row < list.row_count(); ++row) {
      for (const std::string& name : names) {
        if (list.Cell(row, kColFileName) == name) list.SetSelected(row, true);
      }
    }
  }

  // Each row of a list as its cells joined by "|".
  static std::vector<std::string> Rows(const ListModel& list) {
    std::vector<std::string> rows;
    for (int row = 0; row < list.row_count(); ++row) {
      std::string text = list.Cell(row, 0);
      for (int column = 1; column < list.column_count(); ++column) {
        text += "|" + list.Cell(row, column);
      }
      rows.push_back(text);
    }
    return rows;
  }
};

}  // namespace tallymere::testing
