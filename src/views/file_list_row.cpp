#include "views/file_list_row.h"

#include <charconv>

#include "common/format.h"

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

}  // namespace

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

std::vector<ListEntry> FileListEntries(const ListModel& file_list) {
  std::vector<ListEntry> entries;
  entries.reserve(static_cast<std::size_t>(file_list.row_count()));
  for (int row = 0; row < file_list.row_count(); ++row) {
    const std::string& path = file_list.Cell(row, kColPath);
    // A row without a Path ends the rows a search filled in.
    if (path.empty()) break;
    const std::string& size = file_list.Cell(row, kColSize);
    const std::string& label = file_list.Cell(row, kColDiskLabel);
    entries.push_back({file_list.row(row).text, path, size, SizeOfText(size),
                       file_list.Cell(row, kColBitrate),
                       IsDriveRootLabel(label) ? std::string_view() : std::string_view(label)});
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
