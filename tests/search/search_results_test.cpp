#include "search/search_results.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "views/file_list_row.h"

namespace tallymere {
namespace {

// Enough rows, most of them equal but for letter case, that a sort which is
// not stable would mix them; names that agree in their first eight letters or
// more, shorter ones, and a NUL byte where a shorter name ends.
TEST(SearchResultsTest, FileNameOrderIsTheFileListsOrderWhenItSortsByFileName) {
  static const auto kNames = std::to_array<std::string>(
      {"b.mp3", "B.mp3", "b.MP3", "_x.mp3", "[x].mp3", "10 - One.mp3", "9 - Two.mp3",
       "01 - Morning.mp3", "01 - MORNING Light.mp3", "01 - morning.MP3", "01 - Mornin", "01 - Mo",
       std::string("01 - Mo\0", 8), std::string("01 - Mo\0x", 9), "", "Caf\xC3\xA9.mp3", "caf.mp3",
       "\xC3\x89t\xC3\xA9.mp3"});
  std::vector<std::string_view> names;
  for (std::size_t i = 0; i < 700; ++i) {
    names.push_back(kNames[(i * 7 + i / 3) % std::size(kNames)]);
  }
  // The list as a search fills it: rows in record order, then sorted once by
  // the File name column. Each row's Path tells which name it was.
  ListModel list = MakeFileList();
  std::vector<ListRow> rows;
  for (std::size_t i = 0; i < names.size(); ++i) {
    CatalogRecord record;
    record.file_name = names[i];
    record.path = std::to_string(i);
    rows.push_back(FileListRow(record, 1));
  }
  list.AddRows(std::move(rows));
  list.SetSortKey(kColFileName);
  list.SetSorted(true);

  const std::vector<std::size_t> order = FileNameOrder(names);
  ASSERT_EQ(order.size(), names.size());
  for (int row = 0; row < list.row_count(); ++row) {
    ASSERT_EQ(std::to_string(order[row]), list.Cell(row, kColPath)) << "row " << row;
  }
  EXPECT_EQ(names[order.front()], "");
  EXPECT_TRUE(FileNameOrder({}).empty());
}

// Smaller counts are shown by the Find commands' and the command line's tests.
TEST(SearchResultsTest, FindStatusCountsPastSixteenBitsOfFilesAndThirtyTwoOfBytes) {
  const SearchStatus many = FindStatus(40000, int64_t{40000} * 2147483648);
  EXPECT_EQ(many.panel1, "Total 40000 file(s) found.");
  EXPECT_EQ(many.panel2, "40000 object(s)");
  EXPECT_EQ(many.panel3, "81,920,000.00 MB");
}

}  // namespace
}  // namespace tallymere
