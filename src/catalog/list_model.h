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

struct ListChange {
  enum Kind { kReset, kAboutToInsert, kInserted, kAboutToRemove, kRemoved, kChanged, kSelection, kLayout };
  Kind kind = kReset;
  int first = -1;  // first row concerned
  int last = -1;   // last row concerned
};

enum class SortOrder { kAscending, kDescending };

class ListModel {
 public:
  // Column headers and their widths (window units; 0 hides the column).
  ListModel(std::vector<std::string> headers, std::vector<int> widths);

  // --- Rows -------------------------------------------------------------------
  int row_count() const { return static_cast<int>(m_rows.size()); }
  int column_count() const { return static_cast<int>(m_headers.size()); }
  const ListRow& row(int index) const { return m_rows[index]; }
  // The text of a cell; column 0 is the row's own text.
  const std::string& Cell(int row, int column) const;
  void SetCell(int row, int column, std::string text);
  void SetTextColor(int row, uint32_t color);
  // Adds a row at the end, or at its sorted place while sorting is on.
  // Returns its index.
  int AddRow(ListRow row);
  // Many rows at once, announced as one reset.
  void AddRows(std::vector<ListRow> rows);
  void RemoveRow(int row);
  void Clear();

  // --- Selection --------------------------------------------------------------
  void SetSelected(int row, bool selected);
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
  // While sorting is on the rows stay ordered by the sort column's text,
  // compared without regard to letter case; equal texts keep their order.
  bool sorted() const { return m_sorted; }
  int sort_key() const { return m_sort_key; }
  SortOrder sort_order() const { return m_sort_order; }
  void SetSorted(bool sorted);
  void SetSortKey(int column);
  void SetSortOrder(SortOrder order);

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

  std::vector<std::string> m_headers;
  std::vector<int> m_widths;
  std::vector<ListRow> m_rows;
  int m_current = -1;
  bool m_sorted = false;
  int m_sort_key = 0;
  SortOrder m_sort_order = SortOrder::kAscending;
  bool m_grid_lines = false;
  std::function<void(const ListChange&)> m_listener;
};

}  // namespace tallymere
