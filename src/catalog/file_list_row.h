#pragma once
// The file list's row for a catalog record: the File name as the row's text,
// then Path, Size, Modified, Bitrate, Time, Artist, Title, Album, Disk label.
// Title comes before Album on screen although it follows it in the record.

#include <string>
#include <string_view>

#include "catalog/catalog_record.h"
#include "catalog/list_model.h"
#include "common/shown_text.h"

namespace tallymere {

inline ListRow FileListRow(const CatalogRecord& record, int icon) {
  ListRow row;
  row.text = record.file_name;
  row.sub_items = {record.path,
                   std::to_string(record.size),
                   record.modified,
                   record.bitrate,
                   record.time,
                   ShownText(record.artist),
                   ShownText(record.title),
                   ShownText(record.album),
                   record.disk_label};
  row.icon = icon;
  return row;
}

}  // namespace tallymere
