// The file list's rows as a list takes them, and their order by Path.

#include "views/file_list_row.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lists/list_fixture.h"

namespace tallymere {
namespace {

using testing::SongFileList;

TEST(FileListEntriesTest, SortByPathKeepsEachFolderInItsOrderAndEntriesStopAtAnEmptyPath) {
  ListModel list = SongFileList({{"C:\\b\\", "z.mp3", 10, "128"},
                                 {"C:\\A\\", "y.mp3", 20, "---"},
                                 {"C:\\b\\", "x.mp3", 30, ""},
                                 {"C:\\a\\", "w.mp3", 40, "96"}});
  list.SetSortKey(kColFileName);
  list.SetSortOrder(SortOrder::kDescending);
  list.SetSorted(true);
  SortByPath(list);
  const std::vector<ListEntry> entries = FileListEntries(list);
  std::vector<std::string> names;
  for (const ListEntry& entry : entries) {
    names.push_back(std::string(entry.path) + std::string(entry.file_name) + " " + entry.size_text +
                    " " + std::string(entry.bitrate) + " " + std::to_string(entry.size));
  }
  // Paths compared without regard to case; each folder's rows keep the
  // (descending) order they had.
  EXPECT_EQ(names, (std::vector<std::string>{"C:\\A\\y.mp3 20 --- 20", "C:\\a\\w.mp3 40 96 40",
                                             "C:\\b\\z.mp3 10 128 10", "C:\\b\\x.mp3 30  30"}));
  EXPECT_TRUE(list.sorted());
  EXPECT_EQ(list.sort_key(), kColPath);

  list.SetSorted(false);
  list.SetCell(1, kColPath, "");
  list.SetCell(0, kColSize, "not a number");
  const std::vector<ListEntry> cut = FileListEntries(list);
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_EQ(cut[0].size, 0);
  EXPECT_EQ(cut[0].size_text, "not a number");
}

}  // namespace
}  // namespace tallymere
