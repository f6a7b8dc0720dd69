#include "ui/qt/catalog_tree_view.h"

#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QMouseEvent>

#include "ui/qt/drag_node.h"

namespace tallymere {

CatalogTreeView::CatalogTreeView(QWidget* parent) : QTreeView(parent) {
  setHeaderHidden(true);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setExpandsOnDoubleClick(false);  // the controller decides what a double click does
}

void CatalogTreeView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) m_press_position = event->position().toPoint();
  QTreeView::mousePressEvent(event);
}

void CatalogTreeView::keyPressEvent(QKeyEvent* event) {
  const QModelIndex before = currentIndex();
  QTreeView::keyPressEvent(event);
  if (currentIndex() != before && currentIndex().isValid()) emit movedByKeyboard(currentIndex());
}

void CatalogTreeView::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton) || !m_drag_node ||
      (event->position().toPoint() - m_press_position).manhattanLength() <
          QApplication::startDragDistance()) {
    QTreeView::mouseMoveEvent(event);
    return;
  }
  const int node = m_drag_node();
  if (node < 0) return;
  auto* drag = new QDrag(this);
  drag->setMimeData(NodeMimeData(node));
  drag->setPixmap(WelcomeDragPicture());
  drag->setDragCursor(WelcomeDragPicture(), Qt::CopyAction);
  drag->setDragCursor(NotWelcomeDragPicture(), Qt::LinkAction);
  drag->exec(Qt::CopyAction | Qt::LinkAction, Qt::CopyAction);
}

}  // namespace tallymere
