#include "ui/qt/selection_sync.h"

#include <QScopedValueRollback>
#include <algorithm>

namespace tallymere {

SelectionSync::SelectionSync(ListModelAdapter* adapter, QItemSelectionModel* selection,
                             QObject* parent)
    : QObject(parent), m_adapter(adapter), m_selection(selection) {
  connect(selection, &QItemSelectionModel::selectionChanged, this,
          &SelectionSync::OnViewSelectionChanged);
  connect(selection, &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { OnViewCurrentChanged(current); });
  connect(adapter, &ListModelAdapter::selectionFlagsChanged, this,
          &SelectionSync::OnModelSelection);
  // Qt moves the view's selection along with inserted, removed and sorted
  // rows by itself; the model's flags stay the authority all the same.
  connect(adapter, &QAbstractItemModel::modelReset, this, &SelectionSync::PushToView);
  connect(adapter, &QAbstractItemModel::layoutChanged, this, [this] { PushToView(); });
  connect(adapter, &QAbstractItemModel::rowsInserted, this,
          [this](const QModelIndex&, int first, int last) { OnModelSelection(first, last); });
  connect(adapter, &QAbstractItemModel::rowsRemoved, this, [this] { PushCurrent(); });
  PushToView();
}

void SelectionSync::PushToView() {
  if (!m_adapter || !m_selection) return;
  const ListModel& model = m_adapter->model();
  const int last_column = model.column_count() - 1;
  QItemSelection selection;
  for (int row = 0; row < model.row_count();) {
    if (!model.row(row).selected) {
      ++row;
      continue;
    }
    const int first = row;
    while (row < model.row_count() && model.row(row).selected) ++row;
    selection.select(m_adapter->index(first, 0), m_adapter->index(row - 1, last_column));
  }
  {
    QScopedValueRollback<bool> pushing(m_pushing, true);
    m_selection->select(selection, QItemSelectionModel::ClearAndSelect);
  }
  PushCurrent();
}

// Only the rows named: a command that selects rows one by one must not cost
// a walk over the whole list each time.
void SelectionSync::PushRows(int first, int last) {
  const ListModel& model = m_adapter->model();
  first = std::max(first, 0);
  last = std::min(last, model.row_count() - 1);
  const int last_column = model.column_count() - 1;
  QItemSelection selected;
  QItemSelection deselected;
  for (int row = first; row <= last;) {
    const bool flag = model.row(row).selected;
    const int run = row;
    while (row <= last && model.row(row).selected == flag) ++row;
    (flag ? selected : deselected)
        .select(m_adapter->index(run, 0), m_adapter->index(row - 1, last_column));
  }
  QScopedValueRollback<bool> pushing(m_pushing, true);
  if (!deselected.isEmpty()) m_selection->select(deselected, QItemSelectionModel::Deselect);
  if (!selected.isEmpty()) m_selection->select(selected, QItemSelectionModel::Select);
}

void SelectionSync::PushCurrent() {
  if (!m_adapter || !m_selection) return;
  const int row = m_adapter->model().current();
  const QModelIndex wanted = row < 0 ? QModelIndex() : m_adapter->index(row, 0);
  if (m_selection->currentIndex().row() == wanted.row() &&
      m_selection->currentIndex().isValid() == wanted.isValid()) {
    return;
  }
  QScopedValueRollback<bool> pushing(m_pushing, true);
  if (wanted.isValid()) {
    m_selection->setCurrentIndex(wanted, QItemSelectionModel::NoUpdate);
  } else {
    m_selection->clearCurrentIndex();
  }
}

void SelectionSync::OnViewSelectionChanged(const QItemSelection& selected,
                                           const QItemSelection& deselected) {
  if (Quiet() || !m_adapter) return;
  QScopedValueRollback<bool> pulling(m_pulling, true);
  ListModel& model = m_adapter->model();
  for (const QItemSelectionRange& range : deselected) {
    model.SetRangeSelected(range.top(), range.bottom(), false);
  }
  for (const QItemSelectionRange& range : selected) {
    model.SetRangeSelected(range.top(), range.bottom(), true);
  }
}

void SelectionSync::OnViewCurrentChanged(const QModelIndex& current) {
  if (Quiet() || !m_adapter) return;
  QScopedValueRollback<bool> pulling(m_pulling, true);
  m_adapter->model().SetCurrent(current.isValid() ? current.row() : -1);
}

void SelectionSync::OnModelSelection(int first, int last) {
  if (m_pulling || !m_adapter || !m_selection) return;
  if (first >= 0) PushRows(first, last);
  PushCurrent();
}

}  // namespace tallymere
