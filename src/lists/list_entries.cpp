#include "lists/list_entries.h"

#include "catalog/catalog_record.h"

namespace tallymere {
namespace {

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

std::vector<ListEntry> ShownEntries(std::vector<ListEntry> rows, bool with_labels) {
  if (!with_labels) {
    for (ListEntry& row : rows) row.disk_label = {};
  }
  return rows;
}

}  // namespace tallymere
