#include "ui/qt/data_info_window.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/qt/qt_text.h"

namespace tallymere {

DataInfoWindow::DataInfoWindow(const CatalogSession& session, QWidget* parent)
    : QDialog(parent), m_controller(session) {
  setObjectName("frmDataInfo");
  setWindowTitle(ToQt(kDataInfoCaption));
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  auto* frame = new QGroupBox(ToQt(kDataInfoFrame));
  auto* frame_layout = new QVBoxLayout(frame);
  for (std::size_t i = 0; i < m_labels.size(); ++i) {
    m_labels[i] = new QLabel;
    m_labels[i]->setObjectName(QString("Label%1").arg(i + 1));
    m_labels[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    frame_layout->addWidget(m_labels[i]);
  }
  layout->addWidget(frame);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  layout->addWidget(buttons);
}

void DataInfoWindow::Load() {
  m_controller.Form_Load();
  for (std::size_t i = 0; i < m_labels.size(); ++i) {
    m_labels[i]->setText(ToQt(m_controller.labels()[i]));
  }
}

}  // namespace tallymere
