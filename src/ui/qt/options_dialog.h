#pragma once
// The Options dialog (frmOption): a thin view of its controller, beside the
// main window without blocking it. The widgets show the controller's values
// when the dialog opens and hand them back before each button's handler.

#include <QDialog>
#include <string_view>
#include <vector>

#include "windows/options/frm_option.h"
#include "windows/window_services.h"

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace tallymere {

class OptionsDialog : public QDialog {
  Q_OBJECT
 public:
  OptionsDialog(CatalogSession& session, WindowServices& services, QWidget* parent);

  // Runs the controller's Form_Load and shows its values.
  void Load();
  FrmOption& controller() { return m_controller; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // The dialog's frames, each with its controls.
  QWidget* BuildScanBox();
  QWidget* BuildStyleBox();
  QWidget* BuildLeaveOutBox();
  QWidget* BuildHtmlBox();
  QWidget* BuildFormatBox();
  // The buttons of a place of the command table.
  std::vector<QPushButton*> CommandButtons(std::string_view place);
  void Show();
  void Push();
  void ShowSwatch(QPushButton* swatch, int32_t colour);

  FrmOption m_controller;
  QCheckBox* m_bitrate = nullptr;
  QComboBox* m_type = nullptr;
  QComboBox* m_id3v1_encoding = nullptr;
  QRadioButton* m_one = nullptr;
  QRadioButton* m_separate = nullptr;
  QCheckBox* m_path = nullptr;
  QCheckBox* m_size = nullptr;
  QCheckBox* m_header = nullptr;
  QCheckBox* m_summary = nullptr;
  QCheckBox* m_html = nullptr;
  QCheckBox* m_m3u = nullptr;
  QCheckBox* m_disk_labels = nullptr;
  QPlainTextEdit* m_leave_out = nullptr;
  QCheckBox* m_hidden = nullptr;
  QCheckBox* m_write_id3v2 = nullptr;
  QPushButton* m_table_colour = nullptr;
  QPushButton* m_page_colour = nullptr;
  QSpinBox* m_table_width = nullptr;
  QSpinBox* m_border_width = nullptr;
  QComboBox* m_align = nullptr;
  QSpinBox* m_column_width = nullptr;
};

}  // namespace tallymere
