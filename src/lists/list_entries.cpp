#include "lists/list_entries.h"

#include <charconv>

#include "catalog/catalog_record.h"
#include "catalog/file_list_row.h"

namespace tallymere {
namespace {

int64_t SizeOfText(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return 0;
  text.remove_prefix(first);
  int64_t size = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
  return error == std::errc() ? size : 0;
}

// A disk's own label; nothing for a hard drive's "C:\\" or when not wanted.
std::string_view ShownLabel(std::string_view label, bool with_labels) {
  return with_labels && !IsDriveRootLabel(label) ? label : std::string_view();
}

}  // namespace

std::vector<ListEntry> CatalogEntries(const CatalogTable& catalog, bool with_labels) {
  std::vector<ListEntry> entries;
  entries.reserve(static_cast<std::size_t>(catalog.FileCount()));
  catalog.Walk([&](int, const CatalogRecord& record) {
    entries.push_back({record.file_name, record.path, std::to_string(record.size), record.size,
                       record.bitrate, ShownLabel(record.disk_label, with_labels)});
  });
  return entries;
}

std::vector<ListEntry> FileListEntries(const ListModel& file_list, bool with_labels) {
  std::vector<ListEntry> entries;
  entries.reserve(static_cast<std::size_t>(file_list.row_count()));
  for (int row = 0; row < file_list.row_count(); ++row) {
    const std::string& path = file_list.Cell(row, kColPath);
    // A row without a Path ends the rows a search filled in.
    if (path.empty()) break;
    const std::string& size = file_list.Cell(row, kColSize);
    entries.push_back({file_list.row(row).text, path, size, SizeOfText(size),
                       file_list.Cell(row, kColBitrate),
                       ShownLabel(file_list.Cell(row, kColDiskLabel), with_labels)});
  }
  return entries;
}

void SortByPath(ListModel& file_list) {
  // Key before order, as the window sets them: rows of one folder keep the
  // order they had, whichever way the list was sorted before.
  file_list.SetSortKey(kColPath);
  file_list.SetSortOrder(SortOrder::kAscending);
  file_list.SetSorted(true);
}

}  // namespace tallymere
