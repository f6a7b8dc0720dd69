#include "ui/qt/list_model_adapter.h"

#include <QColor>
#include <vector>

#include "ui/qt/colour_number.h"
#include "ui/qt/icon_provider.h"
#include "ui/qt/view_text.h"

namespace tallymere {

ListModelAdapter::ListModelAdapter(ListModel& model, QObject* parent)
    : QAbstractTableModel(parent), m_model(model) {
  m_model.set_listener([this](const ListChange& change) { OnChange(change); });
}

ListModelAdapter::~ListModelAdapter() { m_model.set_listener(nullptr); }

int ListModelAdapter::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_model.row_count();
}

int ListModelAdapter::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_model.column_count();
}

QVariant ListModelAdapter::data(const QModelIndex& index, int role) const {
  const int row = index.row();
  const int column = index.column();
  if (!index.isValid() || row >= m_model.row_count() || column >= m_model.column_count()) {
    return {};
  }
  switch (role) {
    case Qt::DisplayRole:
      return ShownText(m_model.Cell(row, column));
    case Qt::ForegroundRole: {
      const uint32_t color = m_model.row(row).text_color;
      return color == 0 ? QVariant() : QVariant(ColorFromNumber(color));
    }
    case Qt::DecorationRole: {
      if (column != 0) return {};
      const QIcon icon = IconProvider::Icon(IconProvider::ListIconName(m_model.row(row).icon));
      return icon.isNull() ? QVariant() : QVariant(icon);
    }
    default:
      return {};
  }
}

QVariant ListModelAdapter::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= m_model.column_count()) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  return QString::fromStdString(m_model.headers()[section]);
}

Qt::ItemFlags ListModelAdapter::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void ListModelAdapter::OnChange(const ListChange& change) {
  switch (change.kind) {
    case ListChange::kAboutToInsert:
      m_changing = true;
      beginInsertRows({}, change.first, change.last);
      break;
    case ListChange::kInserted:
      endInsertRows();
      m_changing = false;
      break;
    case ListChange::kAboutToRemove:
      m_changing = true;
      beginRemoveRows({}, change.first, change.last);
      break;
    case ListChange::kRemoved:
      endRemoveRows();
      m_changing = false;
      break;
    case ListChange::kChanged:
      emit dataChanged(index(change.first, 0), index(change.last, columnCount() - 1));
      break;
    case ListChange::kSelection:
      emit selectionFlagsChanged(change.first, change.last);
      break;
    case ListChange::kLayout:
      m_changing = true;
      RemapAfterSort();
      m_changing = false;
      break;
    case ListChange::kColumns:
      emit columnsChanged(change.first, change.last);
      break;
    case ListChange::kReset:
      m_changing = true;
      beginResetModel();
      endResetModel();
      m_changing = false;
      break;
  }
}

// The rows are sorted already when the model says so; layout_order() tells
// where each row came from, which moves every persistent index (the views'
// selection, current item and scroll anchor) along with its row.
void ListModelAdapter::RemapAfterSort() {
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const std::vector<int>& from = m_model.layout_order();
  std::vector<int> to(from.size());
  for (int row = 0; row < static_cast<int>(from.size()); ++row) to[from[row]] = row;
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& old : before) {
    const auto row = static_cast<std::size_t>(old.row());
    after.append(row < to.size() ? index(to[row], old.column()) : QModelIndex());
  }
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace tallymere
