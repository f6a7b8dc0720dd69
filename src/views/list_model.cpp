#include "views/list_model.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <numeric>
#include <optional>
#include <string_view>
#include <utility>

#include "common/format.h"
#include "common/number_text.h"
#include "common/sorted_list.h"

namespace tallymere {
namespace {

// Width of a column the constructor was given no width for: one inch.
constexpr int kDefaultWidth = 1440;

const std::string& EmptyText() {
  static const std::string empty;
  return empty;
}

const std::string& CellOf(const ListRow& row, int column) {
  if (column == 0) return row.text;
  const auto sub_item = static_cast<std::size_t>(column - 1);
  return column > 0 && sub_item < row.sub_items.size() ? row.sub_items[sub_item] : EmptyText();
}

// The value a cell holds for its column's kind; nothing for kText and for a
// text that holds no value of the kind.
std::optional<int64_t> ValueOf(const std::string& text, ColumnKind kind) {
  switch (kind) {
    case ColumnKind::kNumber:
      return ParseWholeNumber(text);
    case ColumnKind::kDuration:
      return ParseDuration(text);
    case ColumnKind::kDateTime:
      if (const std::optional<std::time_t> when = ParseDateTime(text)) {
        return static_cast<int64_t>(*when);
      }
      return std::nullopt;
    case ColumnKind::kText:
      break;
  }
  return std::nullopt;
}

// A cell as a sort sees it.
struct SortCell {
  std::optional<int64_t> value;
  const std::string* text;
};

SortCell SortCellOf(const ListRow& row, int column, ColumnKind kind) {
  const std::string& text = CellOf(row, column);
  return {ValueOf(text, kind), &text};
}

// True when a sorts strictly before b in the given order: values first, by
// value, then texts that hold none. Equal cells never come before each
// other, which keeps ties in their present order.
bool SortsBefore(const SortCell& a, const SortCell& b, SortOrder order) {
  const bool ascending = order == SortOrder::kAscending;
  if (a.value.has_value() != b.value.has_value()) return a.value.has_value();
  if (a.value) return ascending ? *a.value < *b.value : *a.value > *b.value;
  const int compared = CompareNoCase(*a.text, *b.text);
  return ascending ? compared < 0 : compared > 0;
}

}  // namespace

ListModel::ListModel(std::vector<std::string> headers, std::vector<int> widths)
    : m_headers(std::move(headers)), m_widths(std::move(widths)) {
  m_widths.resize(m_headers.size(), kDefaultWidth);
}

// --- Rows -------------------------------------------------------------------

const std::string& ListModel::Cell(int row, int column) const {
  return IsRow(row) ? CellOf(m_rows[row], column) : EmptyText();
}

void ListModel::SetCell(int row, int column, std::string text) {
  if (!IsRow(row) || column < 0) return;
  ListRow& target = m_rows[row];
  if (column == 0) {
    target.text = std::move(text);
  } else {
    if (target.sub_items.size() < static_cast<std::size_t>(column)) target.sub_items.resize(column);
    target.sub_items[column - 1] = std::move(text);
  }
  if (column == m_ordered_key) m_in_order = false;
  Notify({ListChange::kChanged, row, row});
}

void ListModel::SetTextColor(int row, uint32_t color) {
  if (!IsRow(row) || m_rows[row].text_color == color) return;
  m_rows[row].text_color = color;
  Notify({ListChange::kChanged, row, row});
}

int ListModel::AddRow(ListRow row) {
  int index = row_count();
  if (m_sorted) {
    // After every row it does not sort before, so equal texts keep the order
    // in which they were added.
    const ColumnKind kind = KindOf(m_sort_key);
    const SortCell cell = SortCellOf(row, m_sort_key, kind);
    int low = 0;
    int high = row_count();
    while (low < high) {
      const int middle = low + (high - low) / 2;
      if (SortsBefore(cell, SortCellOf(m_rows[middle], m_sort_key, kind), m_sort_order)) {
        high = middle;
      } else {
        low = middle + 1;
      }
    }
    index = low;
  } else if (row_count() > 0) {
    m_in_order = false;
  }
  Notify({ListChange::kAboutToInsert, index, index});
  m_rows.insert(m_rows.begin() + index, std::move(row));
  if (m_current >= index) ++m_current;
  Notify({ListChange::kInserted, index, index});
  return index;
}

void ListModel::AddRows(std::vector<ListRow> rows) {
  if (rows.empty()) return;
  if (!m_sorted && !m_rows.empty()) {
    // Rows that arrive in batches at the end of an unsorted list: an
    // insertion, so a view keeps its place and selection meanwhile.
    const int first = row_count();
    const int last = first + static_cast<int>(rows.size()) - 1;
    Notify({ListChange::kAboutToInsert, first, last});
    m_rows.reserve(m_rows.size() + rows.size());
    std::move(rows.begin(), rows.end(), std::back_inserter(m_rows));
    m_in_order = false;
    Notify({ListChange::kInserted, first, last});
    return;
  }
  if (m_rows.empty()) {
    m_rows = std::move(rows);
  } else {
    m_rows.reserve(m_rows.size() + rows.size());
    std::move(rows.begin(), rows.end(), std::back_inserter(m_rows));
  }
  if (m_sorted) {
    SortRows();
  } else {
    m_in_order = false;
  }
  Notify({ListChange::kReset});
}

void ListModel::RemoveRow(int row) {
  if (!IsRow(row)) return;
  Notify({ListChange::kAboutToRemove, row, row});
  m_rows.erase(m_rows.begin() + row);
  if (m_current == row) {
    m_current = row > 0 ? row - 1 : (m_rows.empty() ? -1 : 0);
  } else if (m_current > row) {
    --m_current;
  }
  Notify({ListChange::kRemoved, row, row});
}

std::vector<int> ListModel::RemoveRows(const std::vector<bool>& doomed) {
  std::vector<int> moved_to(m_rows.size(), -1);
  int kept = 0;
  int current = -1;
  for (int row = 0; row < row_count(); ++row) {
    if (static_cast<std::size_t>(row) >= doomed.size() || !doomed[row]) {
      moved_to[row] = kept;
      if (kept != row) m_rows[kept] = std::move(m_rows[row]);
      ++kept;
    }
    // The current row, or when it goes the nearest row above it that stays.
    if (row <= m_current && moved_to[row] >= 0) current = moved_to[row];
  }
  if (kept == row_count()) return moved_to;
  m_rows.resize(kept);
  // With no row above it left, the first row takes the focus.
  m_current = m_current < 0 || kept == 0 ? -1 : std::max(current, 0);
  Notify({ListChange::kReset});
  return moved_to;
}

void ListModel::Clear() {
  m_rows.clear();
  m_current = -1;
  m_in_order = true;  // an empty list stands in every order
  m_ordered_key = m_sort_key;
  m_ordered_order = m_sort_order;
  Notify({ListChange::kReset});
}

// --- Selection --------------------------------------------------------------

void ListModel::SetSelected(int row, bool selected) {
  if (!IsRow(row) || m_rows[row].selected == selected) return;
  m_rows[row].selected = selected;
  Notify({ListChange::kSelection, row, row});
}

void ListModel::SetRangeSelected(int first, int last, bool selected) {
  first = std::max(first, 0);
  last = std::min(last, row_count() - 1);
  int changed_first = -1;
  int changed_last = -1;
  for (int i = first; i <= last; ++i) {
    if (m_rows[i].selected == selected) continue;
    m_rows[i].selected = selected;
    if (changed_first < 0) changed_first = i;
    changed_last = i;
  }
  if (changed_first >= 0) Notify({ListChange::kSelection, changed_first, changed_last});
}

void ListModel::SelectOnly(int row) {
  if (!IsRow(row)) return;
  int changed_first = m_current == row ? -1 : row;
  int changed_last = changed_first;
  for (int i = 0; i < row_count(); ++i) {
    const bool selected = i == row;
    if (m_rows[i].selected == selected) continue;
    m_rows[i].selected = selected;
    changed_first = changed_first < 0 ? i : std::min(changed_first, i);
    changed_last = std::max(changed_last, i);
  }
  m_current = row;
  if (changed_first >= 0) Notify({ListChange::kSelection, changed_first, changed_last});
}

void ListModel::ClearSelection() { SetRangeSelected(0, row_count() - 1, false); }

int ListModel::SelectedCount() const {
  return static_cast<int>(
      std::count_if(m_rows.begin(), m_rows.end(), [](const ListRow& row) { return row.selected; }));
}

std::vector<int> ListModel::SelectedRows() const {
  std::vector<int> rows;
  for (int i = 0; i < row_count(); ++i) {
    if (m_rows[i].selected) rows.push_back(i);
  }
  return rows;
}

int ListModel::FirstSelected() const {
  for (int i = 0; i < row_count(); ++i) {
    if (m_rows[i].selected) return i;
  }
  return -1;
}

void ListModel::SetCurrent(int row) {
  if ((row != -1 && !IsRow(row)) || row == m_current) return;
  m_current = row;
  Notify({ListChange::kSelection, row, row});
}

// --- Sorting ----------------------------------------------------------------

void ListModel::SetSorted(bool sorted) {
  m_sorted = sorted;
  if (m_sorted) EnsureOrder();
}

void ListModel::SetSortKey(int column) {
  if (column < 0) return;
  m_sort_key = column;
  if (m_sorted) EnsureOrder();
}

void ListModel::SetSortOrder(SortOrder order) {
  m_sort_order = order;
  if (m_sorted) EnsureOrder();
}

void ListModel::SetColumnSample(int column, std::string sample) {
  if (column < 0 || column >= column_count()) return;
  m_samples.resize(static_cast<std::size_t>(column_count()));
  m_samples[static_cast<std::size_t>(column)] = std::move(sample);
}

const std::string& ListModel::column_sample(int column) const {
  const auto index = static_cast<std::size_t>(column);
  return column >= 0 && index < m_samples.size() ? m_samples[index] : EmptyText();
}

void ListModel::SetColumnKind(int column, ColumnKind kind) {
  if (column < 0 || column >= column_count()) return;
  m_kinds.resize(m_headers.size(), ColumnKind::kText);
  m_kinds[column] = kind;
  if (column == m_ordered_key) m_in_order = false;
  if (m_sorted) EnsureOrder();
}

ColumnKind ListModel::KindOf(int column) const {
  const auto index = static_cast<std::size_t>(column);
  return index < m_kinds.size() ? m_kinds[index] : ColumnKind::kText;
}

void ListModel::EnsureOrder() {
  if (m_in_order && m_ordered_key == m_sort_key && m_ordered_order == m_sort_order) return;
  if (row_count() <= 1) {
    m_in_order = true;
    m_ordered_key = m_sort_key;
    m_ordered_order = m_sort_order;
    return;
  }
  SortRows();
  // Sorting what is already in that order changes nothing: a stable sort
  // leaves sorted rows where they are, ties included.
  Notify({ListChange::kLayout, 0, row_count() - 1});
}

void ListModel::SortRows() {
  const int key = m_sort_key;
  const SortOrder order = m_sort_order;
  // Sorting indices and moving each row once is cheaper than shuffling rows
  // with their sub-item vectors, and leaves the permutation for the views.
  // Each cell's value is read once, not at every comparison: dates in
  // particular are costly to read.
  const ColumnKind kind = KindOf(key);
  std::vector<SortCell> cells;
  cells.reserve(m_rows.size());
  for (const ListRow& row : m_rows) cells.push_back(SortCellOf(row, key, kind));
  std::vector<int> from(m_rows.size());
  std::iota(from.begin(), from.end(), 0);
  std::stable_sort(from.begin(), from.end(),
                   [&](int a, int b) { return SortsBefore(cells[a], cells[b], order); });
  std::vector<ListRow> sorted;
  sorted.reserve(m_rows.size());
  int current = -1;
  for (int i = 0; i < static_cast<int>(from.size()); ++i) {
    sorted.push_back(std::move(m_rows[from[i]]));
    if (from[i] == m_current) current = i;
  }
  m_rows = std::move(sorted);
  m_current = current;
  m_layout_order = std::move(from);
  m_in_order = true;
  m_ordered_key = key;
  m_ordered_order = order;
}

// --- Columns and look ---------------------------------------------------------

void ListModel::SetWidth(int column, int width) {
  if (column < 0 || column >= column_count() || m_widths[column] == width) return;
  m_widths[column] = width;
  Notify({ListChange::kColumns, column, column});
}

void ListModel::SetGridLines(bool on) {
  if (m_grid_lines == on) return;
  m_grid_lines = on;
  Notify({ListChange::kColumns});
}

void ListModel::Notify(ListChange change) const {
  if (m_listener) m_listener(change);
}

}  // namespace tallymere
