#include "catalog/list_model.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tallymere {
namespace {

ListModel FileList() {
  return ListModel({"File Name", "Path", "Size", "Modified"}, {2000, 0, 800, 1800});
}

ListRow Row(std::string name, std::string size = "1", std::string path = "C:\\") {
  ListRow row;
  row.text = std::move(name);
  row.sub_items = {std::move(path), std::move(size), "8/23/99 10:15:30 PM"};
  row.icon = 1;
  return row;
}

std::vector<std::string> Column(const ListModel& list, int column) {
  std::vector<std::string> texts;
  for (int i = 0; i < list.row_count(); ++i) texts.push_back(list.Cell(i, column));
  return texts;
}

// The file list's header click: the same column again flips the order, a
// different one starts ascending; sorting is turned on afterwards.
void ClickColumn(ListModel& list, std::optional<int>& last_sort_column, int clicked) {
  const int key = clicked - 1;
  SortOrder order = SortOrder::kAscending;
  if (last_sort_column == key && list.sort_order() == SortOrder::kAscending) {
    order = SortOrder::kDescending;
  }
  list.SetSortOrder(order);
  list.SetSortKey(key);
  list.SetSorted(true);
  last_sort_column = key;
}

struct Recorded {
  ListChange::Kind kind;
  int first;
  int last;
  bool operator==(const Recorded&) const = default;
};

std::vector<Recorded>* Record(ListModel& list, std::vector<Recorded>* seen) {
  list.set_listener([seen](const ListChange& change) {
    seen->push_back({change.kind, change.first, change.last});
  });
  return seen;
}

TEST(ListModelTest, CellsReadTextThenSubItemsAndMissingOnesAreEmpty) {
  ListModel list = FileList();
  ListRow short_row;
  short_row.text = "a.mp3";
  short_row.sub_items = {"C:\\"};
  list.AddRow(Row("b.mp3", "42", "D:\\x\\"));
  list.AddRow(short_row);
  EXPECT_EQ(list.Cell(0, 0), "b.mp3");
  EXPECT_EQ(list.Cell(0, 1), "D:\\x\\");
  EXPECT_EQ(list.Cell(0, 2), "42");
  EXPECT_EQ(list.Cell(1, 2), "");
  EXPECT_EQ(list.Cell(1, 9), "");
  EXPECT_EQ(list.Cell(7, 0), "");  // no such row

  list.SetCell(1, 3, "today");  // pads the missing sub-items
  EXPECT_EQ(list.row(1).sub_items, (std::vector<std::string>{"C:\\", "", "today"}));
  list.SetCell(1, 0, "c.mp3");
  EXPECT_EQ(list.Cell(1, 0), "c.mp3");
  EXPECT_EQ(list.column_count(), 4);
  EXPECT_EQ(list.headers()[2], "Size");
}

TEST(ListModelTest, ThreeClicksOnOneColumnSortAscendingDescendingAscending) {
  ListModel list = FileList();
  for (const char* name : {"b", "C", "a", "D"}) list.AddRow(Row(name));
  std::optional<int> last;

  ClickColumn(list, last, 1);
  EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"a", "b", "C", "D"}));
  ClickColumn(list, last, 1);
  EXPECT_EQ(list.sort_order(), SortOrder::kDescending);
  EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"D", "C", "b", "a"}));
  ClickColumn(list, last, 1);
  EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"a", "b", "C", "D"}));

  // A different column always starts ascending.
  ClickColumn(list, last, 1);
  list.SetCell(0, 2, "3");
  list.SetCell(1, 2, "1");
  list.SetCell(2, 2, "2");
  list.SetCell(3, 2, "0");
  ClickColumn(list, last, 3);
  EXPECT_TRUE(list.sorted());
  EXPECT_EQ(list.sort_key(), 2);
  EXPECT_EQ(list.sort_order(), SortOrder::kAscending);
  EXPECT_EQ(Column(list, 2), (std::vector<std::string>{"0", "1", "2", "3"}));
}

TEST(ListModelTest, SizesSortAsTextAndTiesKeepTheirOrder) {
  ListModel list = FileList();
  list.AddRow(Row("x1", "9"));
  list.AddRow(Row("x2", "10"));
  list.AddRow(Row("x3", "100"));
  list.AddRow(Row("x4", "2"));
  list.SetSortKey(2);
  list.SetSorted(true);
  EXPECT_EQ(Column(list, 2), (std::vector<std::string>{"10", "100", "2", "9"}));

  ListModel ties = FileList();
  for (const char* name : {"song", "SONG", "b", "Song"}) ties.AddRow(Row(name));
  ties.SetSorted(true);
  EXPECT_EQ(Column(ties, 0), (std::vector<std::string>{"b", "song", "SONG", "Song"}));
  // Descending reverses the comparison, not the ties.
  ties.SetSortOrder(SortOrder::kDescending);
  EXPECT_EQ(Column(ties, 0), (std::vector<std::string>{"song", "SONG", "Song", "b"}));
  // A missing sub-item sorts as an empty text.
  ListRow bare;
  bare.text = "bare";
  ties.AddRow(bare);
  ties.SetSortKey(3);
  ties.SetSortOrder(SortOrder::kAscending);
  EXPECT_EQ(ties.Cell(0, 0), "bare");
}

TEST(ListModelTest, AddRowInsertsAtTheSortedPlaceOnlyWhileSorted) {
  ListModel list = FileList();
  EXPECT_EQ(list.AddRow(Row("m")), 0);
  EXPECT_EQ(list.AddRow(Row("c")), 1);  // not sorted: at the end
  list.SetSorted(true);
  EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"c", "m"}));
  list.SetCurrent(1);
  list.SetSelected(1, true);

  EXPECT_EQ(list.AddRow(Row("a")), 0);
  EXPECT_EQ(list.AddRow(Row("z")), 3);
  EXPECT_EQ(list.AddRow(Row("M")), 3);  // after its equal
  EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"a", "c", "m", "M", "z"}));
  EXPECT_EQ(list.current(), 2);  // still "m"
  EXPECT_EQ(list.SelectedRows(), (std::vector<int>{2}));

  list.SetSortOrder(SortOrder::kDescending);
  EXPECT_EQ(list.AddRow(Row("b")), 4);
  EXPECT_EQ(list.AddRow(Row("m")), 3);  // after its equals, descending too
  EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"z", "m", "M", "m", "c", "b", "a"}));

  list.SetSorted(false);
  EXPECT_EQ(list.AddRow(Row("0")), 7);
}

TEST(ListModelTest, SelectionAndCurrentFollowTheirRowsThroughASort) {
  ListModel list = FileList();
  for (const char* name : {"d", "b", "c", "a"}) list.AddRow(Row(name));
  list.SetSelected(0, true);  // d
  list.SetSelected(2, true);  // c
  list.SetCurrent(1);         // b
  std::vector<Recorded> seen;
  std::vector<int> order_seen;
  list.set_listener([&](const ListChange& change) {
    seen.push_back({change.kind, change.first, change.last});
    if (change.kind == ListChange::kLayout) order_seen = list.layout_order();
  });

  list.SetSorted(true);
  EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(list.SelectedRows(), (std::vector<int>{2, 3}));
  EXPECT_EQ(list.current(), 1);
  EXPECT_EQ(seen, (std::vector<Recorded>{{ListChange::kLayout, 0, 3}}));
  EXPECT_EQ(order_seen, (std::vector<int>{3, 1, 2, 0}));  // where each row came from

  seen.clear();
  list.SetSorted(true);  // already in this order: nothing moves, nothing said
  list.SetSortKey(0);
  EXPECT_TRUE(seen.empty());

  list.SetCurrent(0);
  list.SetSortOrder(SortOrder::kDescending);
  EXPECT_EQ(list.Cell(list.current(), 0), "a");
  EXPECT_EQ(list.current(), 3);
  EXPECT_EQ(list.FirstSelected(), 0);
  EXPECT_EQ(list.Cell(list.FirstSelected(), 0), "d");

  // Changing the sort column while sorting is off only remembers it.
  list.SetSorted(false);
  seen.clear();
  list.SetSortKey(2);
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"d", "c", "b", "a"}));
}

TEST(ListModelTest, SelectionChangesAreAnnouncedOncePerCall) {
  ListModel list = FileList();
  for (const char* name : {"a", "b", "c", "d", "e"}) list.AddRow(Row(name));
  std::vector<Recorded> seen;
  Record(list, &seen);

  list.SetSelected(1, true);
  list.SetSelected(1, true);  // no change
  list.SetSelected(9, true);  // no such row
  list.SetRangeSelected(0, 3, true);
  EXPECT_EQ(list.SelectedCount(), 4);
  list.SelectOnly(4);
  EXPECT_EQ(list.SelectedRows(), (std::vector<int>{4}));
  EXPECT_EQ(list.current(), 4);
  list.ClearSelection();
  list.ClearSelection();
  EXPECT_EQ(list.FirstSelected(), -1);
  list.SetCurrent(2);
  list.SetCurrent(2);
  list.SetCurrent(-1);
  EXPECT_EQ(seen, (std::vector<Recorded>{{ListChange::kSelection, 1, 1},
                                         {ListChange::kSelection, 0, 3},
                                         {ListChange::kSelection, 0, 4},
                                         {ListChange::kSelection, 4, 4},
                                         {ListChange::kSelection, 2, 2},
                                         {ListChange::kSelection, -1, -1}}));
}

TEST(ListModelTest, RemovingRowsMovesTheCurrentRowLikeAListControl) {
  ListModel list = FileList();
  for (const char* name : {"a", "b", "c", "d"}) list.AddRow(Row(name));
  list.SetSelected(3, true);
  list.SetCurrent(2);
  std::vector<Recorded> seen;
  Record(list, &seen);

  list.RemoveRow(0);
  EXPECT_EQ(list.current(), 1);  // "c" moved up
  list.RemoveRow(1);             // the current row goes: the one above takes over
  EXPECT_EQ(list.current(), 0);
  EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"b", "d"}));
  EXPECT_EQ(list.SelectedRows(), (std::vector<int>{1}));
  list.RemoveRow(0);  // the first row: the one below takes over
  EXPECT_EQ(list.current(), 0);
  list.RemoveRow(5);
  list.RemoveRow(0);
  EXPECT_EQ(list.current(), -1);
  EXPECT_EQ(seen, (std::vector<Recorded>{{ListChange::kAboutToRemove, 0, 0},
                                         {ListChange::kRemoved, 0, 0},
                                         {ListChange::kAboutToRemove, 1, 1},
                                         {ListChange::kRemoved, 1, 1},
                                         {ListChange::kAboutToRemove, 0, 0},
                                         {ListChange::kRemoved, 0, 0},
                                         {ListChange::kAboutToRemove, 0, 0},
                                         {ListChange::kRemoved, 0, 0}}));
}

TEST(ListModelTest, ChangesToCellsColoursAndColumnsAreAnnounced) {
  ListModel list = FileList();
  list.AddRow(Row("b"));
  list.AddRow(Row("c"));
  list.SetSorted(true);
  std::vector<Recorded> seen;
  Record(list, &seen);

  list.SetCell(1, 0, "a");  // stays where it is until the next sort
  EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"b", "a"}));
  list.SetTextColor(0, 0x0000FF);
  list.SetTextColor(0, 0x0000FF);
  EXPECT_EQ(list.row(0).text_color, 0x0000FFu);
  list.SetWidth(1, 1500);
  list.SetWidth(1, 1500);
  list.SetWidth(9, 100);
  list.SetGridLines(true);
  EXPECT_EQ(list.width(1), 1500);
  EXPECT_TRUE(list.grid_lines());
  list.SetSortKey(0);  // the changed cell makes a real sort necessary
  EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(seen, (std::vector<Recorded>{{ListChange::kChanged, 1, 1},
                                         {ListChange::kChanged, 0, 0},
                                         {ListChange::kColumns, 1, 1},
                                         {ListChange::kColumns, -1, -1},
                                         {ListChange::kLayout, 0, 1}}));

  ListModel padded({"A", "B", "C"}, {100});
  EXPECT_EQ(padded.width(0), 100);
  EXPECT_GT(padded.width(2), 0);
}

TEST(ListModelTest, BulkFillOfAFullCatalogIsOneResetThenSorts) {
  constexpr int kRows = 32765;
  ListModel list = FileList();
  list.AddRow(Row("existing", "5"));
  list.SetCurrent(0);
  std::vector<Recorded> seen;
  Record(list, &seen);

  std::vector<ListRow> rows;
  for (int i = 0; i < kRows; ++i) rows.push_back(Row("f" + std::to_string(i), std::to_string(i)));
  list.AddRows(std::move(rows));
  EXPECT_EQ(list.row_count(), kRows + 1);
  EXPECT_EQ(seen, (std::vector<Recorded>{{ListChange::kReset, -1, -1}}));
  EXPECT_EQ(list.Cell(kRows, 0), "f32764");

  seen.clear();
  list.SetSortKey(2);
  list.SetSorted(true);
  EXPECT_EQ(seen, (std::vector<Recorded>{{ListChange::kLayout, 0, kRows}}));
  for (int i = 1; i < list.row_count(); ++i) {
    ASSERT_LE(list.Cell(i - 1, 2), list.Cell(i, 2)) << "row " << i;
  }
  EXPECT_EQ(list.Cell(0, 2), "0");
  EXPECT_EQ(list.Cell(1, 2), "1");
  EXPECT_EQ(list.Cell(2, 2), "10");
  EXPECT_EQ(list.Cell(list.current(), 0), "existing");

  // While sorted, a bulk fill lands in order and equal texts stay behind the
  // rows that were there first.
  list.Clear();
  EXPECT_EQ(list.current(), -1);
  list.AddRow(Row("old", "7"));
  list.AddRows({Row("new", "7"), Row("first", "0")});
  EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"first", "old", "new"}));
}

}  // namespace
}  // namespace tallymere
