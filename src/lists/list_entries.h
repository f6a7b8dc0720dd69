#pragma once
// The files a list names, whichever the source: the catalog's records 1 up to
// the catalog end (Create List), or the rows of the file list up to the first
// row whose Path is empty (Create List from Search Result). An entry points
// into its source, which must outlive it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog_table.h"
#include "catalog/list_model.h"

namespace tallymere {

struct ListEntry {
  std::string_view file_name;
  std::string_view path;  // with drive and trailing "\"
  std::string size_text;  // the Size as the list writes it
  int64_t size = 0;       // the Size as the totals add it
  std::string_view bitrate;
  // The label of the disk the file lies on, when the list shows labels: after
  // the name in a single list, beside the folder in a by-folder one. Empty
  // for a hard drive's file and when labels are not shown.
  std::string_view disk_label;
};

// Records 1 up to the catalog end: the trailer is never listed. with_labels:
// the entries carry their disks' labels.
std::vector<ListEntry> CatalogEntries(const CatalogTable& catalog, bool with_labels = false);

// Rows of the file list from the first up to the first whose Path is empty.
// File name, Path, Size and Bitrate come from their columns; the Size text is
// kept as shown and read as a whole number for the totals (0 when it is none).
std::vector<ListEntry> FileListEntries(const ListModel& file_list, bool with_labels = false);

// Sorts the file list by its Path column, ascending, and keeps it sorted, so
// the rows of one folder stand together and keep their order among
// themselves. Create List from Search Result does this before it writes.
void SortByPath(ListModel& file_list);

}  // namespace tallymere
