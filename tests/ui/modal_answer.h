#pragma once
// Answering the modal windows a command opens, from the event loop.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <deque>
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

// Picks a file or folder in a file dialog and accepts it.
inline std::function<void(QWidget*)> PickFile(const QString& path, const QString& folder = {}) {
  return [path, folder](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr) << modal->windowTitle().toStdString();
    if (!folder.isEmpty()) dialog->setDirectory(folder);
    dialog->selectFile(path);
    // selectFile leaves the name field alone while it has the focus: type it.
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
      name->setText(path);
    }
    QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
  };
}

// Picks a file or folder in the next file dialog and accepts it.
inline void AnswerFileDialog(const QString& path, const QString& folder = {}) {
  AnswerNextModal(PickFile(path, folder));
}

// Keeps a message box's "title: text" in *said (when given) and presses
// `button`.
inline std::function<void(QWidget*)> Press(QMessageBox::StandardButton button,
                                           QString* said = nullptr) {
  return [button, said](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr) << modal->windowTitle().toStdString();
    if (said != nullptr) *said = box->windowTitle() + ": " + box->text();
    box->button(button)->click();
  };
}

// Answers modal dialogs in the order they appear: each action runs once on
// the next modal widget not yet answered, from inside that dialog's own loop.
class ModalAnswerer {
 public:
  ModalAnswerer() {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
    m_timer.start(10);
  }
  ~ModalAnswerer() { EXPECT_TRUE(m_actions.empty()) << m_actions.size() << " dialogs never came"; }

  ModalAnswerer& Then(std::function<void(QWidget*)> action) {
    m_actions.push_back(std::move(action));
    return *this;
  }

 private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal->property("answered").toBool()) return;
    modal->setProperty("answered", true);
    if (m_actions.empty()) {  // never leave a test hanging on a dialog nobody expected
      ADD_FAILURE() << "unexpected dialog " << modal->windowTitle().toStdString();
      if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
      return;
    }
    auto action = std::move(m_actions.front());
    m_actions.pop_front();
    action(modal);
  }

  QTimer m_timer;
  std::deque<std::function<void(QWidget*)>> m_actions;
};

}  // namespace tallymere::testing
