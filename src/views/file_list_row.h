#pragma once
// The file list LV: its columns, and the row for a catalog record (the File
// name as the row's text, then Path, Size, Modified, Bitrate, Time, Artist,
// Title, Album, Disk label; Title comes before Album on screen although it
// follows it in the record).

#include <array>
#include <string>
#include <string_view>

#include "catalog/catalog_record.h"
#include "catalog/file_type.h"
#include "common/shown_text.h"
#include "lists/list_entries.h"
#include "views/list_model.h"

namespace tallymere {

// Columns of the file list, in screen order.
enum FileListColumn {
  kColFileName,
  kColPath,
  kColSize,
  kColModified,
  kColBitrate,
  kColTime,
  kColArtist,
  kColTitle,
  kColAlbum,
  kColDiskLabel,
  kFileListColumns
};

// The columns' widths as the list starts, in the old desktop's units (a
// fifteenth of a pixel); 0 hides a column.
inline constexpr std::array<int, kFileListColumns> kFileListWidths = {3000, 3000, 1100, 1800, 650,
                                                                      600,  1500, 2200, 2000, 1200};

// The file list as the main window starts it: headers, widths, and the
// columns that sort by what their texts mean (Size, Bitrate and Time by value,
// Modified by date) rather than as texts.
ListModel MakeFileList();

// A playing time below zero (a file shorter than about half a second) is
// shown as "00:00", as catalogs from earlier scans may hold "-01:-01".
inline std::string ShownTime(std::string_view time) {
  return time.starts_with('-') ? std::string("00:00") : std::string(time);
}

// The icons of the file list's rows: a song while the file type is music, any
// file otherwise.
inline constexpr int kFileIcon = 1;
inline constexpr int kMp3Icon = 3;
inline int FileListIcon(std::string_view file_type) {
  return IsMusicType(file_type) ? kMp3Icon : kFileIcon;
}

inline ListRow FileListRow(const CatalogRecord& record, int icon) {
  ListRow row;
  row.text = record.file_name;
  row.sub_items = {record.path,
                   std::to_string(record.size),
                   record.modified,
                   record.bitrate,
                   ShownTime(record.time),
                   ShownText(record.artist),
                   ShownText(record.title),
                   ShownText(record.album),
                   record.disk_label};
  row.icon = icon;
  return row;
}

// The rows of the file list as a list names them, from the first up to the
// first whose Path is empty: File name, Path, Size and Bitrate from their
// columns (the Size text kept as shown and read as a whole number for the
// totals, 0 when it is none), and the Disk label of a labelled disk. The
// entries point into the list.
std::vector<ListEntry> FileListEntries(const ListModel& file_list);

// Sorts the file list by its Path column, ascending, and keeps it sorted, so
// the rows of one folder stand together and keep their order among
// themselves. Create List from Search Result does this before it writes.
void SortByPath(ListModel& file_list);

}  // namespace tallymere
