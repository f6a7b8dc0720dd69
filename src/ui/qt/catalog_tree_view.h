#pragma once
// The tree view `tvAlbum`: a QTreeView that starts dragging the selected node
// when the mouse moves with the left button down.

#include <QPoint>
#include <QTreeView>
#include <functional>

namespace tallymere {

class CatalogTreeView : public QTreeView {
  Q_OBJECT
 public:
  explicit CatalogTreeView(QWidget* parent = nullptr);
  // Asked for the node to drag when a drag starts; -1 drags nothing.
  void set_drag_node(std::function<int()> drag_node) { m_drag_node = std::move(drag_node); }

 signals:
  // A key moved the current node (arrows, Home, End, Page keys).
  void movedByKeyboard(const QModelIndex& current);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::function<int()> m_drag_node;
  QPoint m_press_position;
};

}  // namespace tallymere
