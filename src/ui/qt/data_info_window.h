#pragma once
// The Data File Info window (frmDataInfo): a thin view of its controller's
// seven labels, shown beside the main window without blocking it.

#include <QDialog>
#include <array>

#include "windows/data_info/frm_data_info.h"

class QLabel;

namespace tallymere {

class DataInfoWindow : public QDialog {
  Q_OBJECT
 public:
  DataInfoWindow(const CatalogSession& session, QWidget* parent);

  // Runs the controller's Form_Load and shows its labels.
  void Load();
  QLabel* label(int index) const { return m_labels.at(index); }  // Label1 is 0

 private:
  FrmDataInfo m_controller;
  std::array<QLabel*, 7> m_labels{};
};

}  // namespace tallymere
