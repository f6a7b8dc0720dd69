#pragma once
// Shows a TreeModel to Qt views. Indexes carry the node id, which stays the
// same while the node lives, so views keep their place through inserts,
// removals and sorts. The adapter is the model's one listener and turns its
// announcements into Qt's begin/end signals.

#include <QAbstractItemModel>

#include "views/tree_model.h"

namespace tallymere {

class TreeModelAdapter : public QAbstractItemModel {
  Q_OBJECT

 public:
  // Roles beyond Qt's own: the node id (int) and the node's key (QString).
  static constexpr int kNodeRole = Qt::UserRole + 1;
  static constexpr int kKeyRole = Qt::UserRole + 2;

  explicit TreeModelAdapter(TreeModel& model, QObject* parent = nullptr);
  ~TreeModelAdapter() override;

  TreeModel& model() const { return m_model; }
  // The index of a live node, an invalid index for anything else.
  QModelIndex IndexOf(int node) const;
  // The node of an index, TreeModel::kNoNode for an invalid or stale one.
  int NodeOf(const QModelIndex& index) const;
  // True while the model is in the middle of a change (between an "about to"
  // announcement and its completion); view signals raised then are echoes.
  bool changing() const { return m_changing; }

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 signals:
  // The model's selected node is another one now (TreeModel::kNoNode for none).
  void selectedNodeChanged(int node);

 private:
  void OnChange(const TreeChange& change);
  void RemapAfterSort();

  TreeModel& m_model;
  int m_last_selected = TreeModel::kNoNode;
  bool m_changing = false;
};

}  // namespace tallymere
