#pragma once
// Shows a ListModel to Qt views as a table. The adapter is the model's one
// listener: row inserts and removals become Qt's row signals, a bulk fill a
// model reset, a sort a layout change that moves persistent indexes with
// their rows. Sorting is the controller's business: sort() is not
// implemented, header clicks go to the controller, which sorts the model.

#include <QAbstractTableModel>
#include <QColor>
#include <cstdint>

#include "views/list_model.h"

namespace tallymere {

class ListModelAdapter : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit ListModelAdapter(ListModel& model, QObject* parent = nullptr);
  ~ListModelAdapter() override;

  ListModel& model() const { return m_model; }
  // True while the model is in the middle of a change (between an "about to"
  // announcement and its completion); view signals raised then are echoes.
  bool changing() const { return m_changing; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 signals:
  // Selected flags of rows first..last changed, or (first = last) the
  // current row moved; first is -1 when the current row was cleared.
  void selectionFlagsChanged(int first, int last);
  // Widths of columns first..last changed, or the grid lines (first = -1).
  void columnsChanged(int first, int last);

 private:
  void OnChange(const ListChange& change);
  void RemapAfterSort();

  ListModel& m_model;
  bool m_changing = false;
};

}  // namespace tallymere
