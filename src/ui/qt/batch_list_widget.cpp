#include "ui/qt/batch_list_widget.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>

#include "ui/qt/drag_node.h"
#include "ui/qt/dropped_files.h"

namespace tallymere {

BatchListWidget::BatchListWidget(QWidget* parent) : QListWidget(parent) {
  setAcceptDrops(true);
  setDropIndicatorShown(false);
  setToolTip("Folder list box, add drive or folder to scan");
}

void BatchListWidget::dragEnterEvent(QDragEnterEvent* event) {
  if (NodeFromMimeData(event->mimeData()) >= 0 || !FoldersIn(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void BatchListWidget::dragMoveEvent(QDragMoveEvent* event) {
  if (!FoldersIn(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
    return;
  }
  const int node = NodeFromMimeData(event->mimeData());
  if (node < 0) {
    event->ignore();
    return;
  }
  // Copy shows the welcome picture, link the not-welcome one.
  event->setDropAction(m_welcome && m_welcome(node) ? Qt::CopyAction : Qt::LinkAction);
  event->accept();
}

void BatchListWidget::dropEvent(QDropEvent* event) {
  if (const QStringList folders = FoldersIn(event->mimeData()); !folders.isEmpty()) {
    event->acceptProposedAction();
    emit foldersDropped(folders);
    return;
  }
  const int node = NodeFromMimeData(event->mimeData());
  if (node < 0) {
    event->ignore();
    return;
  }
  event->accept();
  emit nodeDropped(node);
}

}  // namespace tallymere
