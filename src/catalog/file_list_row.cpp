#include "catalog/file_list_row.h"

namespace tallymere {

ListModel MakeFileList() {
  ListModel list({"File Name", "Path", "Size", "Modified", "Bitrate", "Time", "Artist", "Title",
                  "Album", "Disk Label"},
                 std::vector<int>(kFileListWidths.begin(), kFileListWidths.end()));
  list.SetColumnKind(kColSize, ColumnKind::kNumber);
  list.SetColumnKind(kColModified, ColumnKind::kDateTime);
  list.SetColumnKind(kColBitrate, ColumnKind::kNumber);
  list.SetColumnKind(kColTime, ColumnKind::kDuration);
  return list;
}

}  // namespace tallymere
