#pragma once
// Shared helpers of the window tests: answering the modal windows a command
// opens, from the event loop, and a main window on a temporary drive C:.

#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "platform/linux_platform.h"
#include "support/temp_folder.h"
#include "ui/qt/batch_list_widget.h"
#include "ui/qt/catalog_tree_view.h"
#include "ui/qt/main_window.h"
#include "ui/qt/tree_model_adapter.h"

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
    if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) name->setText(path);
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

// The texts of a view's column, top to bottom.
inline QStringList Column(QAbstractItemView* view, int column) {
  QStringList texts;
  for (int row = 0; row < view->model()->rowCount(); ++row) {
    texts << view->model()->index(row, column).data().toString();
  }
  return texts;
}

// Clicks a view's item, as the mouse would.
inline void ClickItem(QAbstractItemView* view, const QModelIndex& index,
                      Qt::KeyboardModifiers modifiers = {}) {
  view->scrollTo(index);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, view->visualRect(index).center());
}

// A main window shown offscreen, with settings of its own, on a program
// folder whose drive C: is the temporary folder's "c", followed by
// `more_drives` ("%ROOT%" there stands for the temporary folder). A catalog
// left changed is dropped at the end: no "Save Change?".
class MainWindowTest : public ::testing::Test {
 protected:
  explicit MainWindowTest(std::string more_drives = {}) {
    for (size_t at; (at = more_drives.find("%ROOT%")) != std::string::npos;) {
      more_drives.replace(at, 6, m_folder.path());
    }
    m_folder.WriteFile("program/Data/drives.dat",
                       "C: fixed " + m_folder.Path("c") + "\n" + more_drives);
    m_platform = std::make_unique<LinuxPlatform>(m_folder.Path("program"));
    m_platform->SetConfigFolder(m_folder.Path("config"));
    m_window = std::make_unique<MainWindow>(*m_platform);
    m_window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
  }
  ~MainWindowTest() override { m_window->controller().session().set_changed(false); }

  QString Status(int panel) const { return m_window->status_panel(panel)->text(); }
  QModelIndex TreeIndex(const std::string& key) const {
    auto* adapter = static_cast<TreeModelAdapter*>(m_window->tree()->model());
    return adapter->IndexOf(m_window->controller().tvAlbum().Find(key));
  }
  // Lists a folder's files with a click on it in the tree.
  void ListFolder(const std::string& key) {
    ASSERT_TRUE(TreeIndex(key).isValid()) << key;
    ClickItem(m_window->tree(), TreeIndex(key));
  }
  // Adds C:\Music to the batch through the Add button and its folder
  // dialog, and scans it.
  void ScanMusic() {
    const QString music = QString::fromStdString(m_folder.Path("c/Music"));
    AnswerFileDialog(music, music);
    QTest::mouseClick(m_window->findChild<QPushButton*>("cmdAdd"), Qt::LeftButton);
    ASSERT_EQ(m_window->batch_list()->count(), 1);
    EXPECT_EQ(m_window->batch_list()->item(0)->text(), "C:\\Music\\");
    m_window->action("mnuScan")->trigger();
  }

  TempFolder m_folder;
  std::unique_ptr<LinuxPlatform> m_platform;
  std::unique_ptr<MainWindow> m_window;
};

}  // namespace tallymere::testing
