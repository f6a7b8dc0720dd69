#pragma once
// Keeps a QTreeView and a TreeModel in step both ways: a node's expanded
// flag with the view's expanded state, and the model's selected node with
// the view's current (and selected) item.

#include <QObject>
#include <QPointer>
#include <QTreeView>

#include "ui/qt/tree_model_adapter.h"

namespace tallymere {

class TreeViewSync : public QObject {
  Q_OBJECT

 public:
  // The view must show the adapter already. The model's state wins at the
  // start. The sync belongs to the view (destroyed with it).
  TreeViewSync(TreeModelAdapter* adapter, QTreeView* view);

  // Shows every node's expanded flag and the selected node in the view.
  void PushToView();

 private:
  void PushExpanded(const QModelIndex& index);
  void PushSelection();
  void OnViewExpanded(const QModelIndex& index, bool expanded);
  void OnViewCurrentChanged(const QModelIndex& current);
  bool Quiet() const { return m_pushing || !m_adapter || m_adapter->changing(); }

  QPointer<TreeModelAdapter> m_adapter;
  QPointer<QTreeView> m_view;
  bool m_pushing = false;  // writing the view: its signals are our own echo
};

}  // namespace tallymere
