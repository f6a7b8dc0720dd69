#include "views/list_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tallymere {
namespace {

using Texts = std::vector<std::string>;

ListModel FileList() {
  return ListModel({"File Name", "Path", "Size", "Modified"}, {2000, 0, 800, 1800});
}

ListRow Row(const std::string& name, const std::string& size = "1",
            const std::string& path = "C:\\") {
  return {.text = name, .sub_items = {path, size, "8/23/99 10:15:30 PM"}, .icon = 1};
}

ListModel ListOf(const Texts& names) {
  ListModel list = FileList();
  for (const std::string& name : names) list.AddRow(Row(name));
  return list;
}

Texts Column(const ListModel& list, int column) {
  Texts texts;
  for (int i = 0; i < list.row_count(); ++i) texts.push_back(list.Cell(i, column));
  return texts;
}

// Records every announcement as "kind first-last", and hands it on to also.
void Record(ListModel& list, Texts* seen, std::function<void(const ListChange&)> also = nullptr) {
  static const char* kKinds[] = {"reset",   "about-insert", "inserted", "about-remove", "removed",
                                 "changed", "selection",    "layout",   "columns"};
  list.set_listener([seen, also](const ListChange& change) {
    seen->push_back(std::string(kKinds[change.kind]) + " " + std::to_string(change.first) + "-" +
                    std::to_string(change.last));
    if (also) also(change);
  });
}

TEST(ListModelTest, CellsReadTextThenSubItemsAndMissingOnesAreEmpty) {
  ListModel list = FileList();
  list.AddRow(Row("b.mp3", "42", "D:\\x\\"));
  list.AddRow({.text = "a.mp3", .sub_items = {"C:\\"}});
  EXPECT_EQ(Column(list, 1), (Texts{"D:\\x\\", "C:\\"}));
  EXPECT_EQ(Column(list, 2), (Texts{"42", ""}));
  EXPECT_EQ(list.Cell(1, 9) + list.Cell(7, 0), "");  // no such column, no such row

  list.SetCell(1, 3, "today");  // pads the missing sub-items
  EXPECT_EQ(list.row(1).sub_items, (Texts{"C:\\", "", "today"}));
  list.SetCell(1, 0, "c.mp3");
  EXPECT_EQ(list.Cell(1, 0), "c.mp3");

  ListModel padded({"A", "B", "C"}, {100});  // missing widths get a default
  EXPECT_EQ(padded.width(0), 100);
  EXPECT_GT(padded.width(2), 0);
}

TEST(ListModelTest, SortsTextsWithoutLetterCaseKeepingTiesInBothOrders) {
  ListModel sizes = FileList();
  for (const char* size : {"9", "10", "100", "2"}) sizes.AddRow(Row("x", size));
  sizes.SetSortKey(2);
  sizes.SetSorted(true);
  EXPECT_EQ(Column(sizes, 2), (Texts{"10", "100", "2", "9"}));  // sizes sort as text

  ListModel ties = ListOf({"song", "SONG", "b", "Song"});
  ties.SetSorted(true);
  EXPECT_EQ(Column(ties, 0), (Texts{"b", "song", "SONG", "Song"}));
  // Descending reverses the comparison, not the ties.
  ties.SetSortOrder(SortOrder::kDescending);
  EXPECT_EQ(Column(ties, 0), (Texts{"song", "SONG", "Song", "b"}));
  // A missing sub-item sorts as an empty text.
  ties.AddRow({.text = "bare", .sub_items = {}});
  ties.SetSortKey(3);
  ties.SetSortOrder(SortOrder::kAscending);
  EXPECT_EQ(ties.Cell(0, 0), "bare");
}

TEST(ListModelTest, AddRowInsertsAtTheSortedPlaceOnlyWhileSorted) {
  ListModel list = FileList();
  EXPECT_EQ(list.AddRow(Row("m")), 0);
  EXPECT_EQ(list.AddRow(Row("c")), 1);  // not sorted: at the end
  list.SetSorted(true);
  list.SetCurrent(1);
  list.SetSelected(1, true);

  EXPECT_EQ(list.AddRow(Row("a")), 0);
  EXPECT_EQ(list.AddRow(Row("z")), 3);
  EXPECT_EQ(list.AddRow(Row("M")), 3);  // after its equal
  EXPECT_EQ(Column(list, 0), (Texts{"a", "c", "m", "M", "z"}));
  EXPECT_EQ(list.current(), 2);  // still "m"
  EXPECT_EQ(list.SelectedRows(), (std::vector<int>{2}));

  list.SetSortOrder(SortOrder::kDescending);
  EXPECT_EQ(list.AddRow(Row("b")), 4);
  EXPECT_EQ(list.AddRow(Row("m")), 3);  // after its equals, descending too
  EXPECT_EQ(Column(list, 0), (Texts{"z", "m", "M", "m", "c", "b", "a"}));
  list.SetSorted(false);
  EXPECT_EQ(list.AddRow(Row("0")), 7);
}

TEST(ListModelTest, ColumnsOfValuesSortByValueWithOtherTextsAfterThem) {
  ListModel list({"Value"}, {1000});
  list.SetColumnKind(0, ColumnKind::kDuration);
  for (const char* time : {"4:60", "125:07", "---", "04:09", "", "00:59", "-01:-01", "3:5x"}) {
    list.AddRow({.text = time, .sub_items = {}});
  }
  list.SetSorted(true);
  // Seconds past 59, negative times and stray letters hold no time.
  EXPECT_EQ(Column(list, 0),
            (Texts{"00:59", "04:09", "125:07", "", "---", "-01:-01", "3:5x", "4:60"}));
  EXPECT_EQ(list.AddRow({.text = "100:00", .sub_items = {}}),
            2);  // the sorted place follows the kind too
  list.SetSortOrder(SortOrder::kDescending);
  EXPECT_EQ(Column(list, 0),
            (Texts{"125:07", "100:00", "04:09", "00:59", "4:60", "3:5x", "-01:-01", "---", ""}));

  // Numbers: the whole text, signed; switching the kind re-sorts at once.
  ListModel numbers({"Size"}, {1000});
  for (const char* size : {"33145", "101483", "-5", "12a", "9"})
    numbers.AddRow({.text = size, .sub_items = {}});
  numbers.SetSorted(true);
  EXPECT_EQ(Column(numbers, 0), (Texts{"-5", "101483", "12a", "33145", "9"}));
  numbers.SetColumnKind(0, ColumnKind::kNumber);
  EXPECT_EQ(Column(numbers, 0), (Texts{"-5", "9", "33145", "101483", "12a"}));
}

TEST(ListModelTest, SelectionAndCurrentFollowTheirRowsThroughASort) {
  ListModel list = ListOf({"d", "b", "c", "a"});
  list.SetSelected(0, true);  // d
  list.SetSelected(2, true);  // c
  list.SetCurrent(1);         // b
  Texts seen;
  std::vector<int> order_seen;
  Record(list, &seen, [&](const ListChange& change) {
    if (change.kind == ListChange::kLayout) order_seen = list.layout_order();
  });

  list.SetSorted(true);
  EXPECT_EQ(Column(list, 0), (Texts{"a", "b", "c", "d"}));
  EXPECT_EQ(list.SelectedRows(), (std::vector<int>{2, 3}));
  EXPECT_EQ(list.current(), 1);
  EXPECT_EQ(seen, Texts{"layout 0-3"});
  EXPECT_EQ(order_seen, (std::vector<int>{3, 1, 2, 0}));  // where each row came from

  seen.clear();
  list.SetSorted(true);  // already in this order: nothing moves, nothing said
  list.SetSortKey(0);
  EXPECT_TRUE(seen.empty());

  list.SetCurrent(0);
  list.SetSortOrder(SortOrder::kDescending);
  EXPECT_EQ(list.current(), 3);
  EXPECT_EQ(list.Cell(list.current(), 0) + list.Cell(list.FirstSelected(), 0), "ad");

  // Changing the sort column while sorting is off only remembers it.
  list.SetSorted(false);
  seen.clear();
  list.SetSortKey(2);
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(Column(list, 0), (Texts{"d", "c", "b", "a"}));
}

TEST(ListModelTest, SelectionChangesAreAnnouncedOncePerCall) {
  ListModel list = ListOf({"a", "b", "c", "d", "e"});
  Texts seen;
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
  EXPECT_EQ(seen, (Texts{"selection 1-1", "selection 0-3", "selection 0-4", "selection 4-4",
                         "selection 2-2", "selection -1--1"}));
}

TEST(ListModelTest, RemovingRowsMovesTheCurrentRowLikeAListControl) {
  ListModel list = ListOf({"a", "b", "c", "d"});
  list.SetSelected(3, true);
  list.SetCurrent(2);
  Texts seen;
  Record(list, &seen);

  list.RemoveRow(0);
  EXPECT_EQ(list.current(), 1);  // "c" moved up
  list.RemoveRow(1);             // the current row goes: the one above takes over
  EXPECT_EQ(list.current(), 0);
  EXPECT_EQ(Column(list, 0), (Texts{"b", "d"}));
  EXPECT_EQ(list.SelectedRows(), (std::vector<int>{1}));
  list.RemoveRow(0);  // the first row: the one below takes over
  EXPECT_EQ(list.current(), 0);
  list.RemoveRow(5);
  list.RemoveRow(0);
  EXPECT_EQ(list.current(), -1);
  EXPECT_EQ(seen, (Texts{"about-remove 0-0", "removed 0-0", "about-remove 1-1", "removed 1-1",
                         "about-remove 0-0", "removed 0-0", "about-remove 0-0", "removed 0-0"}));
}

TEST(ListModelTest, RemovingManyRowsAtOnceMovesTheCurrentRowAsOneByOneWould) {
  ListModel list = ListOf({"a", "b", "c", "d", "e"});
  list.SetCurrent(2);
  Texts seen;
  Record(list, &seen);
  // "b" and "c" go: the current "c" passes to the nearest row above that stays.
  EXPECT_EQ(list.RemoveRows({false, true, true, false, false}),
            (std::vector<int>{0, -1, -1, 1, 2}));
  EXPECT_EQ(Column(list, 0), (Texts{"a", "d", "e"}));
  EXPECT_EQ(list.current(), 0);
  EXPECT_EQ(seen, Texts{"reset -1--1"});  // one announcement for the lot
  // No row above it stays: the first row takes the focus.
  list.SetCurrent(0);
  list.RemoveRows({true});
  EXPECT_EQ(list.current(), 0);
  EXPECT_EQ(Column(list, 0), (Texts{"d", "e"}));
  list.RemoveRows({true, true});
  EXPECT_EQ(list.current(), -1);
  EXPECT_EQ(list.row_count(), 0);
}

TEST(ListModelTest, ChangesToCellsColoursAndColumnsAreAnnounced) {
  ListModel list = ListOf({"b", "c"});
  list.SetSorted(true);
  Texts seen;
  Record(list, &seen);

  list.SetCell(1, 0, "a");  // stays where it is until the next sort
  EXPECT_EQ(Column(list, 0), (Texts{"b", "a"}));
  list.SetTextColor(0, 0x0000FF);
  list.SetTextColor(0, 0x0000FF);
  list.SetWidth(1, 1500);
  list.SetWidth(1, 1500);
  list.SetWidth(9, 100);
  list.SetGridLines(true);
  list.SetSortKey(0);  // the changed cell makes a real sort necessary
  EXPECT_EQ(Column(list, 0), (Texts{"a", "b"}));
  EXPECT_EQ(seen,
            (Texts{"changed 1-1", "changed 0-0", "columns 1-1", "columns -1--1", "layout 0-1"}));
}

TEST(ListModelTest, BulkFillOfAFullCatalogIsOneInsertionThenSorts) {
  constexpr int kRows = 32765;
  ListModel list = FileList();
  list.AddRow(Row("existing", "5"));
  list.SetCurrent(0);
  Texts seen;
  Record(list, &seen);

  std::vector<ListRow> rows;
  for (int i = 0; i < kRows; ++i) rows.push_back(Row("f" + std::to_string(i), std::to_string(i)));
  list.AddRows(std::move(rows));
  EXPECT_EQ(list.row_count(), kRows + 1);
  // Behind the row that was there: an insertion, so a view keeps its place.
  EXPECT_EQ(seen, (Texts{"about-insert 1-32765", "inserted 1-32765"}));
  EXPECT_EQ(list.Cell(kRows, 0), "f32764");

  seen.clear();
  list.SetSortKey(2);
  list.SetSorted(true);
  EXPECT_EQ(seen, Texts{"layout 0-32765"});
  for (int i = 1; i < list.row_count(); ++i) {
    ASSERT_LE(list.Cell(i - 1, 2), list.Cell(i, 2)) << "row " << i;
  }
  EXPECT_EQ(list.Cell(0, 2) + " " + list.Cell(1, 2) + " " + list.Cell(2, 2), "0 1 10");
  EXPECT_EQ(list.Cell(list.current(), 0), "existing");

  // While sorted, a bulk fill lands in order and equal texts stay behind the
  // rows that were there first.
  list.Clear();
  EXPECT_EQ(list.current(), -1);
  list.AddRow(Row("old", "7"));
  list.AddRows({Row("new", "7"), Row("first", "0")});
  EXPECT_EQ(Column(list, 0), (Texts{"first", "old", "new"}));
}

}  // namespace
}  // namespace tallymere
