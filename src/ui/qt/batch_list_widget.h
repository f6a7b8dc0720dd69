#pragma once
// The batch list `lstBox`: shows the controller's batch and takes tree nodes
// dropped on it. Whether a drop is welcome only changes the drag picture; the
// drop is handed on either way. Folders dropped from a file manager are
// handed on as well.

#include <QListWidget>
#include <QStringList>
#include <functional>

namespace tallymere {

class BatchListWidget : public QListWidget {
  Q_OBJECT
 public:
  explicit BatchListWidget(QWidget* parent = nullptr);
  void set_drop_welcome(std::function<bool(int node)> welcome) { m_welcome = std::move(welcome); }

 signals:
  void nodeDropped(int node);
  void foldersDropped(const QStringList& folders);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  std::function<bool(int)> m_welcome;
};

}  // namespace tallymere
