#include "catalog/file_list_row.h"

namespace tallymere {

ListModel MakeFileList() {
  ListModel list({"File Name", "Path", "Size", "Modified", "Bitrate", "Time", "Artist", "Title",
                  "Album", "Disk Label"},
                 {3000, 3000, 1100, 1800, 650, 600, 1500, 2200, 2000, 1200});
  list.SetColumnKind(kColSize, ColumnKind::kNumber);
  list.SetColumnKind(kColModified, ColumnKind::kDateTime);
  list.SetColumnKind(kColBitrate, ColumnKind::kNumber);
  list.SetColumnKind(kColTime, ColumnKind::kDuration);
  return list;
}

}  // namespace tallymere
