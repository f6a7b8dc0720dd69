#pragma once
// Answering the modal windows a command opens, from the event loop.

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <functional>

namespace tallymere::testing {

// Runs `answer` on the next modal window as soon as it shows.
inline void AnswerNextModal(std::function<void(QWidget*)> answer) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      answer(modal);
    }
  });
  timer->start();
}

// Picks a file or folder in the next file dialog and accepts it.
inline void AnswerFileDialog(const QString& path, const QString& folder = {}) {
  AnswerNextModal([path, folder](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (dialog == nullptr) return;
    if (!folder.isEmpty()) dialog->setDirectory(folder);
    dialog->selectFile(path);
    QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
  });
}

}  // namespace tallymere::testing
