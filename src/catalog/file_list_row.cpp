#include "catalog/file_list_row.h"

#include "common/format.h"

namespace tallymere {

ListModel MakeFileList() {
  ListModel list({"File Name", "Path", "Size", "Modified", "Bitrate", "Time", "Artist", "Title",
                  "Album", "Disk Label"},
                 std::vector<int>(kFileListWidths.begin(), kFileListWidths.end()));
  list.SetColumnKind(kColSize, ColumnKind::kNumber);
  list.SetColumnKind(kColModified, ColumnKind::kDateTime);
  list.SetColumnKind(kColBitrate, ColumnKind::kNumber);
  list.SetColumnKind(kColTime, ColumnKind::kDuration);
  // The widest texts these columns usually hold: a big song's size, a date
  // as this machine writes it, a bitrate, a playing time.
  constexpr std::time_t kSampleMoment = 1766448000;  // a December evening
  list.SetColumnSample(kColSize, "12345678");
  list.SetColumnSample(kColModified, FormatDateTime(kSampleMoment));
  list.SetColumnSample(kColBitrate, "320");
  list.SetColumnSample(kColTime, "00:00");
  return list;
}

}  // namespace tallymere
