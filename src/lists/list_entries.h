#pragma once
// The files a list names, whichever the source: the catalog's records 1 up to
// the catalog end (Create List), or the rows of a search result in the order
// the file list shows them (Create List from Search Result). An entry points
// into its source, which must outlive it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog_table.h"

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

// The rows of a search result as a list shows them: with the disks' labels
// when the list names them, else without.
std::vector<ListEntry> ShownEntries(std::vector<ListEntry> rows, bool with_labels);

}  // namespace tallymere
