#include "ui/qt/input_blocker.h"

#include <QApplication>
#include <QEvent>
#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

namespace tallymere {

namespace {

// Blockers live on the one user-interface thread, so plain statics suffice.
int g_depth = 0;
// Windows whose close was refused, to be closed when the outermost blocker ends.
QList<QPointer<QWidget>> g_deferred_closes;

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::InputMethod:
      return true;
    default:
      return false;
  }
}

}  // namespace

class InputBlocker::Filter : public QObject {
 public:
  explicit Filter(CloseRequests closes)
      : m_closes(closes), m_modal_at_start(QApplication::activeModalWidget()) {}

 protected:
  bool eventFilter(QObject* target, QEvent* event) override {
    if (event->type() == QEvent::Close) return FilterClose(target, event);
    if (!IsUserInput(event->type())) return false;
    // A dialog opened by the command is modal; Qt keeps input to it, and the
    // command waits for its answer.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != m_modal_at_start) return false;
    // Accepting the override keeps the shortcut map from firing the shortcut.
    if (event->type() == QEvent::ShortcutOverride) event->accept();
    return true;
  }

 private:
  bool FilterClose(QObject* target, QEvent* event) {
    // Closes made by the program itself go through; only the window system's
    // request (the title bar's close button) waits.
    auto* widget = qobject_cast<QWidget*>(target);
    if (!event->spontaneous() || widget == nullptr || !widget->isWindow() ||
        widget->windowModality() != Qt::NonModal) {
      return false;
    }
    event->ignore();
    if (m_closes == CloseRequests::kDefer && !g_deferred_closes.contains(widget)) {
      g_deferred_closes.append(widget);
    }
    return true;
  }

  CloseRequests m_closes;
  QPointer<QWidget> m_modal_at_start;
};

InputBlocker::InputBlocker(CloseRequests closes) : m_filter(std::make_unique<Filter>(closes)) {
  ++g_depth;
  if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(m_filter.get());
}

InputBlocker::~InputBlocker() {
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(m_filter.get());
  if (--g_depth > 0) return;
  // Queued, so the close runs from the event loop after the command has
  // returned, never inside it.
  for (const QPointer<QWidget>& widget : std::as_const(g_deferred_closes)) {
    if (!widget) continue;
    QMetaObject::invokeMethod(
        widget.data(),
        [window = widget] {
          if (window) window->close();
        },
        Qt::QueuedConnection);
  }
  g_deferred_closes.clear();
}

bool InputBlocker::IsActive() { return g_depth > 0; }

}  // namespace tallymere
