#pragma once
// A report-style list view as data: rows with a text, sub-items, a selected
// flag, a text colour and an icon; sort column and order; column widths. The
// file list `LV` and the batch list `LvOld` of MP3 Utilities are ones; the Qt
// layer shows them through an item-model adapter.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tallymere {

struct ListRow {
  std::string text;                    // column 0
  std::vector<std::string> sub_items;  // columns 1 .. n-1
  bool selected = false;
  uint32_t text_color = 0;  // 0x00BBGGRR, 0 for the default colour
  int icon = 0;             // small icon index, 0 for none
};

// What changed, for views. Insertions and removals come in pairs, the
// "about to" half before the model changes. kChanged: texts or colour of the
// rows first..last. kSelection: selected flags of first..last changed, or the
// current row moved (then first = last = the new current row). kLayout: a sort
// reordered the rows (layout_order() tells from where). kColumns: a column
// width or the grid lines changed. kReset: everything may have changed.
struct ListChange {
  enum Kind {
    kReset,
    kAboutToInsert,
    kInserted,
    kAboutToRemove,
    kRemoved,
    kChanged,
    kSelection,
    kLayout,
    kColumns
  };
  Kind kind = kReset;
  int first = -1;  // first row concerned
  int last = -1;   // last row concerned
};

enum class SortOrder { kAscending, kDescending };

// What a column's texts stand for when the list sorts by it. kText compares
// the texts without regard to letter case. The others compare the values the
// texts hold: whole numbers ("101483"), times of play ("04:09", minutes may
// run past 99) or dates in the form FormatDateTime writes; a text that holds
// no such value ("---", empty) comes after every value, whichever the order,
// and such texts sort among themselves as kText does.
enum class ColumnKind { kText, kNumber, kDuration, kDateTime };

class ListModel {
 public:
  // Column headers and their widths (window units; 0 hides the column).
  ListModel(std::vector<std::string> headers, std::vector<int> widths);

  // --- Rows -------------------------------------------------------------------
  int row_count() const { return static_cast<int>(m_rows.size()); }
  int column_count() const { return static_cast<int>(m_headers.size()); }
  const ListRow& row(int index) const { return m_rows[index]; }
  // The text of a cell; column 0 is the row's own text, a missing sub-item is
  // an empty text.
  const std::string& Cell(int row, int column) const;
  // A changed cell keeps its row where it is, even while sorting is on, so
  // callers walking rows by index are not disturbed; the next sort places it.
  void SetCell(int row, int column, std::string text);
  void SetTextColor(int row, uint32_t color);
  // Adds a row at the end, or at its sorted place while sorting is on.
  // Returns its index.
  int AddRow(ListRow row);
  // Many rows at once, added at the end (sorted once while sorting is on),
  // announced as one reset; added to an unsorted list that holds rows, as one
  // insertion at its end.
  void AddRows(std::vector<ListRow> rows);
  // When the current row goes, the row above it becomes current (the one
  // below for the first row), as list controls move the focus.
  void RemoveRow(int row);
  // The rows marked in `doomed` (one flag per row) at once, announced as one
  // reset; the current row moves as if they had gone one by one. Returns, for
  // each row before, its index after, or -1 for a row that went.
  std::vector<int> RemoveRows(const std::vector<bool>& doomed);
  void Clear();

  // --- Selection --------------------------------------------------------------
  // Rows out of range are ignored.
  void SetSelected(int row, bool selected);
  // The rows first..last at once, announced as one change.
  void SetRangeSelected(int first, int last, bool selected);
  // Selects this row alone and makes it the current row, like a click on it.
  void SelectOnly(int row);
  void ClearSelection();
  int SelectedCount() const;
  std::vector<int> SelectedRows() const;
  // The first selected row, -1 when none (what "the selected row" means).
  int FirstSelected() const;
  // The row with the focus (the current entry), -1 when none.
  int current() const { return m_current; }
  void SetCurrent(int row);

  // --- Sorting ----------------------------------------------------------------
  // While sorting is on the rows stay ordered by the sort column, compared by
  // its kind (ColumnKind); equal cells keep their order.
  bool sorted() const { return m_sorted; }
  int sort_key() const { return m_sort_key; }
  SortOrder sort_order() const { return m_sort_order; }
  void SetSorted(bool sorted);
  void SetSortKey(int column);
  void SetSortOrder(SortOrder order);
  // kText unless set.
  void SetColumnKind(int column, ColumnKind kind);
  ColumnKind column_kind(int column) const { return KindOf(column); }
  // A text as wide as the column's cells usually are ("00:00" for a time),
  // which a view makes room for whatever its font; empty unless set.
  void SetColumnSample(int column, std::string sample);
  const std::string& column_sample(int column) const;
  // While a kLayout change is announced: for each row, the index it had
  // before the sort.
  const std::vector<int>& layout_order() const { return m_layout_order; }

  // --- Columns and look ---------------------------------------------------------
  const std::vector<std::string>& headers() const { return m_headers; }
  int width(int column) const { return m_widths[column]; }
  void SetWidth(int column, int width);
  bool grid_lines() const { return m_grid_lines; }
  void SetGridLines(bool on);

  void set_listener(std::function<void(const ListChange&)> listener) {
    m_listener = std::move(listener);
  }

 private:
  void Notify(ListChange change) const;
  void SortRows();
  ColumnKind KindOf(int column) const;
  // Sorts and announces the new layout unless the rows already stand in the
  // order of the sort column and order.
  void EnsureOrder();
  bool IsRow(int row) const { return row >= 0 && row < row_count(); }

  std::vector<std::string> m_headers;
  std::vector<int> m_widths;
  std::vector<ColumnKind> m_kinds;
  std::vector<std::string> m_samples;
  std::vector<ListRow> m_rows;
  int m_current = -1;
  bool m_sorted = false;
  int m_sort_key = 0;
  SortOrder m_sort_order = SortOrder::kAscending;
  // The rows stand in the order of m_ordered_key / m_ordered_order.
  bool m_in_order = true;
  int m_ordered_key = 0;
  SortOrder m_ordered_order = SortOrder::kAscending;
  std::vector<int> m_layout_order;
  bool m_grid_lines = false;
  std::function<void(const ListChange&)> m_listener;
};

}  // namespace tallymere
