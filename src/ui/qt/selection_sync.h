#pragma once
// Keeps a view's selection and the list model's selected flags in step, both
// ways, and the view's current index with the model's current row. The view
// selects whole rows. A click reaches the model before the view reports the
// click, so handlers that read the model's selection see what the user did;
// a command that selects rows in the model shows at once in the view.

#include <QItemSelectionModel>
#include <QObject>
#include <QPointer>

#include "ui/qt/list_model_adapter.h"

namespace tallymere {

class SelectionSync : public QObject {
  Q_OBJECT

 public:
  // The selection model must belong to a view showing the adapter. The
  // model's state wins at the start.
  SelectionSync(ListModelAdapter* adapter, QItemSelectionModel* selection,
                QObject* parent = nullptr);

  // Shows the model's selected flags and current row in the view.
  void PushToView();

 private:
  void PushRows(int first, int last);
  void PushCurrent();
  void OnViewSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
  void OnViewCurrentChanged(const QModelIndex& current);
  void OnModelSelection(int first, int last);
  bool Quiet() const { return m_pushing || m_pulling || !m_adapter || m_adapter->changing(); }

  QPointer<ListModelAdapter> m_adapter;
  QPointer<QItemSelectionModel> m_selection;
  bool m_pushing = false;  // writing the view: its signals are our own echo
  bool m_pulling = false;  // writing the model: its announcements are our own echo
};

}  // namespace tallymere
