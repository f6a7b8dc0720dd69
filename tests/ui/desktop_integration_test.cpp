// The window as the desktop uses it: a data file named on the command line or
// dropped from a file manager, folders dropped onto the batch, the layout
// remembered between runs, and the keyboard shortcuts.

#include <gtest/gtest.h>

#include "catalog/data_file.h"
#include "mp3/mp3_fixtures.h"
#include "platform/platform_fixture.h"
#include "ui/modal_answer.h"
#include "ui/qt/layout_memory.h"
#include "ui/qt/list_header_sync.h"
#include "ui/qt/mp3_utilities_window.h"
#include "views/file_list_row.h"

namespace tallymere {
namespace {

using testing::AnswerNextModal;
using testing::Press;
using testing::TempFolder;

// Drags local files from a "file manager" onto `target` and drops them there,
// through the window as the window system would deliver them. True when the
// drag was welcome.
bool DropFiles(QWidget* target, const QStringList& paths) {
  QMimeData mime;
  QList<QUrl> urls;
  for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
  mime.setUrls(urls);
  QWindow* window = target->window()->windowHandle();
  const QPointF at = target->mapTo(target->window(), target->rect().center());
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window, &drop);
  return drop.isAccepted();
}

class DesktopTest : public ::testing::Test {
 protected:
  DesktopTest() {
    m_folder.WriteFile("c/Music/Pop/b.mp3", testing::Frame() + testing::Frame());
    m_folder.WriteFile("c/Music/Rock/c.mp3", testing::Frame());
    m_folder.WriteFile("program/Data/drives.dat", "C: fixed " + m_folder.Path("c") + "\n");
    m_platform = std::make_unique<LinuxPlatform>(m_folder.Path("program"));
  }
  MainWindow& StartWindow() {
    m_window = std::make_unique<MainWindow>(*m_platform);
    m_window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    return *m_window;
  }
  // Ends the run as the user would, answering No to saving.
  void CloseWindow() {
    if (m_window->controller().session().changed()) AnswerNextModal(Press(QMessageBox::No));
    ASSERT_TRUE(m_window->close());
    // Closing the main window closes every other window from the event
    // loop: let that happen before the next run's window opens.
    QCoreApplication::processEvents();
    m_window.reset();
  }
  // A catalog of C:\Music, scanned and saved as music.mpd; the window then
  // starts afresh.
  QString SavedCatalog() {
    MainWindow& window = StartWindow();
    EXPECT_TRUE(DropFiles(window.batch_list(), {Path("c/Music")}));
    window.action("mnuScan")->trigger();
    const std::string path = m_folder.Path("music.mpd");
    EXPECT_TRUE(SaveDataFile(*m_platform, window.controller().session().catalog(), path).ok());
    CloseWindow();
    return QString::fromStdString(path);
  }
  QString Status(int panel) { return m_window->status_panel(panel)->text(); }
  QString Path(std::string_view relative) const {
    return QString::fromStdString(m_folder.Path(relative));
  }

  TempFolder m_folder;
  // A configuration folder of the test's own, for the layout it keeps.
  testing::ScopedEnv m_config{"XDG_CONFIG_HOME", m_folder.Path("config")};
  std::unique_ptr<LinuxPlatform> m_platform;
  std::unique_ptr<MainWindow> m_window;
};

TEST_F(DesktopTest, FoldersDroppedOnTheBatchAreAddedAsAddWould) {
  MainWindow& window = StartWindow();
  EXPECT_TRUE(DropFiles(window.batch_list(), {Path("c/Music"), Path("c/Music/Pop")}));
  ASSERT_EQ(window.batch_list()->count(), 2);
  EXPECT_EQ(window.batch_list()->item(0)->text(), "C:\\Music\\");
  EXPECT_EQ(window.batch_list()->item(1)->text(), "C:\\Music\\Pop\\");

  // A file is not a folder to scan, and a folder on no drive the catalog
  // knows is refused with the reason.
  EXPECT_FALSE(DropFiles(window.batch_list(), {Path("c/Music/Rock/c.mp3")}));
  QString refusal;
  AnswerNextModal(Press(QMessageBox::Ok, &refusal));
  EXPECT_TRUE(DropFiles(window.batch_list(), {Path("program")}));
  EXPECT_EQ(refusal, "Choose Drive or Folder to Add to Batch: \"" + Path("program") +
                         "\" is not on a drive a catalog can hold.");
  EXPECT_EQ(window.batch_list()->count(), 2);
}

TEST_F(DesktopTest, ADataFileGivenOrDroppedOpensAsOpenWould) {
  const QString catalog = SavedCatalog();
  MainWindow& window = StartWindow();
  window.OpenDataFile(catalog);
  EXPECT_EQ(window.windowTitle(), "Tallymere - " + catalog);
  EXPECT_EQ(window.tree()->model()->index(0, 0).data().toString(), catalog);
  EXPECT_EQ(Status(2), "Total: 2 files");

  // A damaged file is refused and the open catalog stays.
  const std::string damaged = m_folder.WriteFile("damaged.mpd", "not a catalog");
  QString refusal;
  AnswerNextModal(Press(QMessageBox::Ok, &refusal));
  window.OpenDataFile(QString::fromStdString(damaged));
  EXPECT_TRUE(refusal.startsWith("Tallymere: This is not a Tallymere data file, or it is damaged:"))
      << refusal.toStdString();
  EXPECT_TRUE(refusal.endsWith("The file was not opened; the catalog shown is unchanged."));
  EXPECT_EQ(window.windowTitle(), "Tallymere - " + catalog);

  // Dropped on the file list: a changed catalog is offered for saving
  // first, and Cancel keeps it.
  window.OpenDataFile(catalog);
  window.controller().session().set_changed(true);
  QString question;
  AnswerNextModal(Press(QMessageBox::Cancel, &question));
  const QString copy = Path("copy.MPD");
  ASSERT_TRUE(QFile::copy(catalog, copy));
  EXPECT_TRUE(DropFiles(window.file_list()->viewport(), {copy}));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !question.isEmpty(); }));
  EXPECT_EQ(question, "Confirm: Save current file?");
  EXPECT_EQ(window.windowTitle(), "Tallymere - " + catalog);
  EXPECT_TRUE(window.controller().session().changed());

  // No opens the dropped file; other files are not welcome.
  AnswerNextModal(Press(QMessageBox::No));
  EXPECT_TRUE(DropFiles(window.file_list()->viewport(), {copy}));
  EXPECT_TRUE(QTest::qWaitFor([&] { return window.windowTitle() == "Tallymere - " + copy; }))
      << window.windowTitle().toStdString();
  EXPECT_FALSE(DropFiles(window.tree()->viewport(), {Path("c/Music/Pop/b.mp3")}));
}

TEST_F(DesktopTest, TheProgramTakesOneDataFileAndSaysSoOfTheOthers) {
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("XDG_CONFIG_HOME", Path("config"));

  // Help, the version and the lack of a display are answered without a window.
  QProcessEnvironment headless = environment;
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) headless.remove(name);
  program.setProcessEnvironment(headless);
  const auto run = [&program](const QStringList& arguments) {
    program.start(TALLYMERE_PROGRAM, arguments);
    EXPECT_TRUE(program.waitForFinished(30000)) << arguments.join(' ').toStdString();
    return program.exitCode();
  };
  EXPECT_EQ(run({"--help"}), 0);
  EXPECT_TRUE(program.readAllStandardOutput().contains("Usage: tallymere [options] [file]"));
  EXPECT_EQ(run({"--version"}), 0);
  EXPECT_EQ(program.readAllStandardOutput(), "Tallymere " TALLYMERE_VERSION "\n");
  EXPECT_EQ(run({}), 1);
  EXPECT_TRUE(program.readAllStandardError().contains(
      "tallymere: there is no display to show the window on"));
  program.setProcessEnvironment(environment);

  // The first file opens (the window stays up, so the run is ended here).
  program.start(TALLYMERE_PROGRAM, {"first.mpd", "second.mpd", "third.mpd"});
  ASSERT_TRUE(program.waitForStarted());
  program.setReadChannel(QProcess::StandardError);
  QByteArray notes;
  while (!notes.contains("third.mpd") && program.waitForReadyRead(30000)) {
    notes += program.readAllStandardError();
  }
  program.kill();
  program.waitForFinished();
  EXPECT_TRUE(
      notes.contains("tallymere: one data file at a time; \"second.mpd\" was not opened.\n"
                     "tallymere: one data file at a time; \"third.mpd\" was not opened.\n"))
      << notes.toStdString();
}

TEST_F(DesktopTest, TheLayoutIsKeptBetweenRunsButNotAHiddenColumn) {
  MainWindow& first = StartWindow();
  EXPECT_TRUE(first.file_list()->header()->isSectionHidden(kColPath));
  first.resize(900, 600);
  first.file_list()->header()->resizeSection(kColFileName, 333);
  auto* splitter = first.findChild<QSplitter*>("imgSplitter");
  splitter->setSizes({300, 600});
  const QList<int> sizes = splitter->sizes();
  CloseWindow();

  QSettings saved(LayoutFile(), QSettings::IniFormat);
  EXPECT_EQ(LayoutFile(), Path("config/tallymere/layout.conf"));
  EXPECT_EQ(saved.value("FileList/columnWidths").toString(), "0=333");

  MainWindow& second = StartWindow();
  EXPECT_EQ(second.size(), QSize(900, 600));
  EXPECT_EQ(second.file_list()->header()->sectionSize(kColFileName), 333);
  EXPECT_EQ(second.findChild<QSplitter*>("imgSplitter")->sizes(), sizes);

  // A width the user gave the Path column is kept while a command hides it,
  // and comes back with the column.
  ListModel& list = second.controller().LV();
  list.SetWidth(kColPath, 3000);
  const QHeaderView* header = second.file_list()->header();
  EXPECT_EQ(header->sectionSize(kColPath),
            ColumnPixels(3000, header->fontMetrics().averageCharWidth(), 0));
  second.file_list()->header()->resizeSection(kColPath, 250);
  list.SetWidth(kColPath, 0);
  EXPECT_TRUE(second.file_list()->header()->isSectionHidden(kColPath));
  list.SetWidth(kColPath, 3000);
  EXPECT_EQ(second.file_list()->header()->sectionSize(kColPath), 250);
  list.SetWidth(kColPath, 0);
  CloseWindow();
  saved.sync();
  EXPECT_EQ(saved.value("FileList/columnWidths").toString(), "0=333,1=250");

  // The MP3 Utilities window keeps its size too.
  MainWindow& third = StartWindow();
  third.action("mnuId")->trigger();
  ASSERT_NE(third.mp3_utilities(), nullptr);
  third.mp3_utilities()->resize(1200, 800);
  third.mp3_utilities()->close();
  CloseWindow();
  MainWindow& fourth = StartWindow();
  fourth.action("mnuId")->trigger();
  EXPECT_EQ(fourth.mp3_utilities()->size(), QSize(1200, 800));
}

TEST_F(DesktopTest, ShortcutsAreOnTheCommandsAndShownInTheMenus) {
  MainWindow& window = StartWindow();
  const std::pair<const char*, const char*> kShortcuts[] = {
      {"mnuNew", "Ctrl+N"},      {"mnuLoad", "Ctrl+O"},
      {"mnuSaveFile", "Ctrl+S"}, {"mnuSaveas", "Ctrl+Shift+S"},
      {"mnuExit", "Ctrl+Q"},     {"mnuHelpTopic", "F1"},
      {"mnuScan", "F5"},         {"mnuDelete", "Del"},
      {"mnuRename", "F2"}};
  for (const auto& [command, keys] : kShortcuts) {
    EXPECT_EQ(window.action(command)->shortcut().toString(), keys) << command;
  }

  // Ctrl+F goes to "Containing:" with its text selected for a new one.
  auto* find_text = window.findChild<QLineEdit*>("txtFind");
  find_text->setText("old");
  window.tree()->setFocus();
  QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
  EXPECT_TRUE(find_text->hasFocus());
  EXPECT_EQ(find_text->selectedText(), "old");

  // Delete in "Containing:" edits the text; it deletes files only from the
  // file list.
  QStringList started;
  QObject::connect(&window, &MainWindow::commandStarted,
                   [&started](const QString& command) { started << command; });
  find_text->setCursorPosition(0);
  QTest::keyClick(find_text, Qt::Key_Delete);
  EXPECT_EQ(find_text->text(), "ld");
  EXPECT_TRUE(started.isEmpty());
  window.file_list()->setFocus();
  window.action("mnuDelete")->setEnabled(true);
  QTest::keyClick(window.file_list(), Qt::Key_Delete);
  window.action("mnuRename")->setEnabled(true);
  QTest::keyClick(window.file_list(), Qt::Key_F2);
  EXPECT_EQ(started, (QStringList{"mnuDelete", "mnuRename"}));
}

}  // namespace
}  // namespace tallymere
