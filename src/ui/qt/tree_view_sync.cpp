#include "ui/qt/tree_view_sync.h"

#include <QItemSelectionModel>
#include <QScopedValueRollback>

namespace tallymere {

TreeViewSync::TreeViewSync(TreeModelAdapter* adapter, QTreeView* view)
    : QObject(view), m_adapter(adapter), m_view(view) {
  connect(view, &QTreeView::expanded, this,
          [this](const QModelIndex& index) { OnViewExpanded(index, true); });
  connect(view, &QTreeView::collapsed, this,
          [this](const QModelIndex& index) { OnViewExpanded(index, false); });
  connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { OnViewCurrentChanged(current); });

  // Expanded flags and the selection change through kChanged (dataChanged);
  // a reset forgets the view's expanded items, so they are shown again.
  connect(adapter, &QAbstractItemModel::dataChanged, this,
          [this](const QModelIndex& top_left) { PushExpanded(top_left); });
  connect(adapter, &QAbstractItemModel::modelReset, this, &TreeViewSync::PushToView);
  connect(adapter, &TreeModelAdapter::selectedNodeChanged, this, [this] { PushSelection(); });
  // Qt moves the current item off a removed row by itself; put it back where
  // the model says.
  connect(adapter, &QAbstractItemModel::rowsRemoved, this, [this] { PushSelection(); });
  connect(adapter, &QAbstractItemModel::layoutChanged, this, [this] { PushSelection(); });
  PushToView();
}

void TreeViewSync::PushToView() {
  if (!m_adapter || !m_view) return;
  const TreeModel& model = m_adapter->model();
  for (int node : model.Nodes()) {
    if (model.node(node).expanded) PushExpanded(m_adapter->IndexOf(node));
  }
  PushSelection();
}

void TreeViewSync::PushExpanded(const QModelIndex& index) {
  const int node = m_adapter ? m_adapter->NodeOf(index) : TreeModel::kNoNode;
  if (node == TreeModel::kNoNode || !m_view) return;
  const bool expanded = m_adapter->model().node(node).expanded;
  if (m_view->isExpanded(index) == expanded) return;
  QScopedValueRollback<bool> pushing(m_pushing, true);
  m_view->setExpanded(index, expanded);
}

void TreeViewSync::PushSelection() {
  if (!m_adapter || !m_view) return;
  QItemSelectionModel* selection = m_view->selectionModel();
  const QModelIndex wanted = m_adapter->IndexOf(m_adapter->model().selected());
  if (selection->currentIndex() == wanted && (!wanted.isValid() || selection->isSelected(wanted))) {
    return;
  }
  QScopedValueRollback<bool> pushing(m_pushing, true);
  if (wanted.isValid()) {
    selection->setCurrentIndex(wanted, QItemSelectionModel::ClearAndSelect);
  } else {
    selection->clear();
  }
}

void TreeViewSync::OnViewExpanded(const QModelIndex& index, bool expanded) {
  if (Quiet()) return;
  const int node = m_adapter->NodeOf(index);
  if (node != TreeModel::kNoNode) m_adapter->model().Expand(node, expanded);
}

void TreeViewSync::OnViewCurrentChanged(const QModelIndex& current) {
  if (Quiet()) return;
  const int node = m_adapter->NodeOf(current);
  QScopedValueRollback<bool> pushing(m_pushing, true);
  m_adapter->model().Select(node);
}

}  // namespace tallymere
