#include "ui/qt/drag_node.h"

#include <QPainter>

namespace tallymere {
namespace {

QPixmap DragPicture(bool welcome) {
  QPixmap picture(24, 24);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  // A folder with a green plus, or with a red bar across it.
  painter.setPen(QPen(QColor(150, 110, 20), 1));
  painter.setBrush(QColor(240, 200, 80));
  painter.drawRect(2, 6, 16, 12);
  painter.drawRect(2, 4, 7, 3);
  painter.setPen(QPen(welcome ? QColor(20, 140, 40) : QColor(200, 30, 30), 3));
  if (welcome) {
    painter.drawLine(18, 14, 18, 22);
    painter.drawLine(14, 18, 22, 18);
  } else {
    painter.drawEllipse(QPoint(18, 18), 4, 4);
    painter.drawLine(15, 21, 21, 15);
  }
  return picture;
}

}  // namespace

QMimeData* NodeMimeData(int node) {
  auto* data = new QMimeData;
  data->setData(kNodeMimeType, QByteArray::number(node));
  return data;
}

int NodeFromMimeData(const QMimeData* data) {
  if (data == nullptr || !data->hasFormat(kNodeMimeType)) return -1;
  bool ok = false;
  const int node = data->data(kNodeMimeType).toInt(&ok);
  return ok ? node : -1;
}

QPixmap WelcomeDragPicture() { return DragPicture(true); }
QPixmap NotWelcomeDragPicture() { return DragPicture(false); }

}  // namespace tallymere
