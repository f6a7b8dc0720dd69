#include "ui/qt/tree_model_adapter.h"

#include "ui/qt/icon_provider.h"
#include "ui/qt/view_text.h"

namespace tallymere {

TreeModelAdapter::TreeModelAdapter(TreeModel& model, QObject* parent)
    : QAbstractItemModel(parent), m_model(model), m_last_selected(model.selected()) {
  m_model.set_listener([this](const TreeChange& change) { OnChange(change); });
}

TreeModelAdapter::~TreeModelAdapter() { m_model.set_listener(nullptr); }

QModelIndex TreeModelAdapter::IndexOf(int node) const {
  if (!m_model.IsValid(node)) return {};
  return createIndex(m_model.RowOf(node), 0, static_cast<quintptr>(node));
}

int TreeModelAdapter::NodeOf(const QModelIndex& index) const {
  if (!index.isValid() || index.model() != this) return TreeModel::kNoNode;
  const int node = static_cast<int>(index.internalId());
  return m_model.IsValid(node) ? node : TreeModel::kNoNode;
}

// Every lookup checks the ids it is handed: while a BatchUpdate runs the
// model changes without telling anyone, and a view that repaints meanwhile
// (a long command yields to the window) may still hold indexes of nodes that
// are gone. It must see nothing rather than read past the end.

QModelIndex TreeModelAdapter::index(int row, int column, const QModelIndex& parent) const {
  if (row < 0 || column != 0) return {};
  const std::vector<int>* children = &m_model.roots();
  if (parent.isValid()) {
    const int node = NodeOf(parent);
    if (node == TreeModel::kNoNode || parent.column() != 0) return {};
    children = &m_model.node(node).children;
  }
  if (row >= static_cast<int>(children->size())) return {};
  return createIndex(row, column, static_cast<quintptr>((*children)[row]));
}

QModelIndex TreeModelAdapter::parent(const QModelIndex& child) const {
  const int node = NodeOf(child);
  if (node == TreeModel::kNoNode) return {};
  return IndexOf(m_model.node(node).parent);
}

int TreeModelAdapter::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return static_cast<int>(m_model.roots().size());
  const int node = NodeOf(parent);
  if (node == TreeModel::kNoNode || parent.column() != 0) return 0;
  return m_model.ChildCount(node);
}

int TreeModelAdapter::columnCount(const QModelIndex&) const { return 1; }

QVariant TreeModelAdapter::data(const QModelIndex& index, int role) const {
  const int id = NodeOf(index);
  if (id == TreeModel::kNoNode) return {};
  const TreeNode& node = m_model.node(id);
  switch (role) {
    case Qt::DisplayRole:
      return ShownText(node.text);
    case Qt::DecorationRole:
      return IconProvider::Icon(id == m_model.selected() ? node.selected_image : node.image);
    case kNodeRole:
      return id;
    case kKeyRole:
      return QString::fromStdString(node.key);
    default:
      return {};
  }
}

Qt::ItemFlags TreeModelAdapter::flags(const QModelIndex& index) const {
  if (NodeOf(index) == TreeModel::kNoNode) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void TreeModelAdapter::OnChange(const TreeChange& change) {
  switch (change.kind) {
    case TreeChange::kAboutToInsert:
      m_changing = true;
      beginInsertRows(IndexOf(change.parent), change.row, change.row);
      break;
    case TreeChange::kInserted:
      endInsertRows();
      m_changing = false;
      break;
    case TreeChange::kAboutToRemove:
      m_changing = true;
      beginRemoveRows(IndexOf(change.parent), change.row, change.row);
      break;
    case TreeChange::kRemoved:
      endRemoveRows();
      m_changing = false;
      break;
    case TreeChange::kChanged: {
      const QModelIndex changed = IndexOf(change.node);
      if (changed.isValid()) emit dataChanged(changed, changed);
      break;
    }
    case TreeChange::kLayout:
      m_changing = true;
      RemapAfterSort();
      m_changing = false;
      break;
    case TreeChange::kReset:
      m_changing = true;
      beginResetModel();
      endResetModel();
      m_changing = false;
      break;
  }
  if (!m_changing && m_model.selected() != m_last_selected) {
    m_last_selected = m_model.selected();
    emit selectedNodeChanged(m_last_selected);
  }
}

// The children are sorted already when the model says so. Indexes carry node
// ids, so each persistent index finds its node's new row by asking the model.
void TreeModelAdapter::RemapAfterSort() {
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& index : before) {
    const int node = NodeOf(index);
    after.append(node == TreeModel::kNoNode ? QModelIndex()
                                            : createIndex(m_model.RowOf(node), index.column(),
                                                          static_cast<quintptr>(node)));
  }
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace tallymere
