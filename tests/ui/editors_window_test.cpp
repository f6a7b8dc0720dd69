// The Playlist Editor and the Data Field Editor in the real window, offscreen:
// songs sent from the file list, a playlist saved and opened again through
// the file dialogs, names turned into fields and written into the catalog.

#include <gtest/gtest.h>

#include "mp3/mp3_fixtures.h"
#include "ui/modal_answer.h"

namespace tallymere {
namespace {

using testing::Column;
using testing::ModalAnswerer;
using testing::PickFile;
using testing::Press;

std::string Song(const std::string& artist) {
  return testing::Frame() + testing::Frame() +
         testing::Id3v1Block({.title = "Tag Title", .artist = artist, .album = "Tag Album"});
}

class EditorsWindowTest : public testing::MainWindowTest {
 protected:
  EditorsWindowTest() {
    m_folder.WriteFile("c/Music/Pop/Ann - One.mp3", Song("Ann"));
    m_folder.WriteFile("c/Music/Pop/Bob - Best Of - Two.mp3", Song("Bob"));
    m_folder.WriteFile("c/Music/Pop/Cy - Three.mp3", Song("Cy"));
  }

  // Scans C:\Music and lists the Pop folder.
  void ScanAndListPop() {
    ScanMusic();
    ListFolder("C:\\Music\\Pop\\");
    ASSERT_EQ(m_window->file_list()->model()->rowCount(), 3);
  }
  // Selects the file list's rows first..last as a drag of the mouse would.
  void SelectFiles(int first, int last) {
    QAbstractItemModel* model = m_window->file_list()->model();
    m_window->file_list()->selectionModel()->select(
        QItemSelection(model->index(first, 0), model->index(last, model->columnCount() - 1)),
        QItemSelectionModel::ClearAndSelect);
  }
  QPushButton* Button(const char* name) { return m_window->findChild<QPushButton*>(name); }
  void Click(const char* button) { QTest::mouseClick(Button(button), Qt::LeftButton); }
};

TEST_F(EditorsWindowTest, TheEditorsTabsAndCommandsStandWhereTheyBelong) {
  QTabWidget* tabs = m_window->side_panel();
  ASSERT_EQ(tabs->count(), 3);
  EXPECT_EQ(tabs->tabText(1), "Playlist Editor");
  EXPECT_EQ(tabs->tabText(2), "Data Field Editor");
  EXPECT_FALSE(tabs->isTabEnabled(1));  // no catalog of MP3 files yet
  EXPECT_FALSE(tabs->isTabEnabled(2));
  for (const char* name : {"mnuAddPlay", "mnuSendData", "p9", "p10"}) {
    EXPECT_FALSE(m_window->action(name)->isEnabled()) << name;
  }
  EXPECT_EQ(m_window->action("p10")->text(), "Send to Data Filed Editor");
  EXPECT_EQ(m_window->action("mnuSendData")->text(), "Send to Data Field Editor");
  EXPECT_EQ(Button("cmdPlaylist")->text(), "Play All");
  EXPECT_EQ(Button("cmdPlaylist")->toolTip(), "Play all tracks in listview");
  EXPECT_EQ(Button("cmdClearAll")->toolTip(), "Clear playlist window");
  EXPECT_EQ(Button("cmdUpdata")->toolTip(), "Update data file");
  EXPECT_EQ(m_window->findChild<QRadioButton*>("Option2")->text(), "Apply Tto Selected");
  EXPECT_EQ(m_window->findChild<QCheckBox*>("chkArt")->text(), "Apply to \"Artist\"");

  ScanAndListPop();
  EXPECT_TRUE(tabs->isTabEnabled(1));
  EXPECT_TRUE(m_window->action("p9")->isEnabled());
  // Tools: Send to MP3 Utilities, then the two editors.
  QMenu* menu = nullptr;
  for (QAction* entry : m_window->menuBar()->actions()) {
    if (entry->text() == "&Tools") menu = entry->menu();
  }
  ASSERT_NE(menu, nullptr);
  const QList<QAction*> tools = menu->actions();
  const qsizetype at = tools.indexOf(m_window->action("mnuId3"));
  ASSERT_GE(at, 0);
  EXPECT_EQ(tools.value(at + 1), m_window->action("mnuAddPlay"));
  EXPECT_EQ(tools.value(at + 2), m_window->action("mnuSendData"));
}

TEST_F(EditorsWindowTest, ThreeSongsGoToThePlaylistWhichIsSavedAndOpenedAgain) {
  ScanAndListPop();
  SelectFiles(0, 2);
  m_window->action("p9")->trigger();
  EXPECT_EQ(m_window->side_panel()->currentIndex(), 1);
  QTreeView* playlist = m_window->playlist();
  ASSERT_TRUE(playlist->isVisible());
  const QStringList songs = {"Ann - One.mp3", "Bob - Best Of - Two.mp3", "Cy - Three.mp3"};
  EXPECT_EQ(Column(playlist, kPlaySongTitle), songs);
  EXPECT_EQ(Status(1), "Total: 3 songs in playlist.");
  EXPECT_EQ(Status(3), "Time: 0:00 + ?");

  const QString saved = QString::fromStdString(m_folder.Path("mix.m3u"));
  QString said;
  {
    ModalAnswerer answers;
    answers.Then(PickFile(saved)).Then(Press(QMessageBox::Ok, &said));
    Click("cmdPlay");
  }
  EXPECT_EQ(said, "Tallymere: Playlist has been saved as " + saved);
  const std::string bytes = testing::ReadFileBytes(saved.toStdString());
  EXPECT_NE(bytes.find("#EXTINF:0,Bob - Best Of - Two\r\n" +
                       m_folder.Path("c/Music/Pop/Bob - Best Of - Two.mp3") + "\r\n"),
            std::string::npos)
      << bytes;

  Click("cmdClearAll");
  EXPECT_EQ(playlist->model()->rowCount(), 0);
  testing::AnswerNextModal(PickFile(saved));
  Click("cmdOpenPlay");
  EXPECT_EQ(Column(playlist, kPlaySongTitle), songs);
  EXPECT_EQ(Column(playlist, kPlayPath), QStringList(3, QStringLiteral("C:\\Music\\Pop\\")));
  EXPECT_EQ(Column(playlist, kPlaySize), QStringList(3, QString::number(2 * 417 + 128)));
  EXPECT_EQ(Status(1), "Total: 3 songs in playlist.");

  // Delete Selected leaves the totals of what is left.
  playlist->selectionModel()->select(
      playlist->model()->index(0, 0),
      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  Click("cmdDelItem");
  EXPECT_EQ(Column(playlist, kPlaySongTitle), songs.mid(1));
  EXPECT_EQ(Status(1), "Total: 2 songs. ");

  // The list getting the focus shows its totals.
  QFocusEvent focus(QEvent::FocusIn, Qt::MouseFocusReason);
  QApplication::sendEvent(playlist, &focus);
  EXPECT_EQ(Status(1), "Total: 2 songs in playlist.");
}

TEST_F(EditorsWindowTest, TwoSongsGetFieldsFromTheirNamesAndTheFileListShowsThem) {
  ScanAndListPop();
  ASSERT_TRUE(m_window->toolbar_button(main_toolbar::kSaveFile)->isEnabled());
  SelectFiles(0, 1);
  m_window->action("mnuSendData")->trigger();
  EXPECT_EQ(m_window->side_panel()->currentIndex(), 2);
  QTreeView* data = m_window->data_list();
  EXPECT_TRUE(data->isVisible());
  EXPECT_FALSE(m_window->file_list()->isVisible());
  EXPECT_FALSE(m_window->toolbar_button(main_toolbar::kSaveFile)->isEnabled());
  EXPECT_FALSE(m_window->toolbar_button(main_toolbar::kScan)->isEnabled());
  EXPECT_EQ(Status(2), "Total: 2 file(s)");
  EXPECT_TRUE(m_window->findChild<QRadioButton*>("Option1")->isChecked());
  EXPECT_TRUE(m_window->findChild<QCheckBox*>("chkAlbum")->isChecked());
  EXPECT_FALSE(m_window->findChild<QCheckBox*>("chkArt")->isChecked());
  EXPECT_EQ(Column(data, kDataFileName), (QStringList{"Ann - One", "Bob - Best Of - Two"}));

  // A click on an entry shows its fields; the boxes take a new text whole.
  testing::ClickItem(data, data->model()->index(1, 0));
  auto* artist = m_window->findChild<QLineEdit*>("tArt");
  EXPECT_EQ(artist->text(), "Bob");
  EXPECT_EQ(m_window->findChild<QLineEdit*>("tFile")->text(), "Bob - Best Of - Two.mp3");
  QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(artist, &focus);
  QApplication::processEvents();
  EXPECT_EQ(artist->selectedText(), "Bob");

  Click("cmdUse");
  EXPECT_EQ(Column(data, kDataTitle), (QStringList{"One", "Two"}));
  EXPECT_EQ(Column(data, kDataAlbum), (QStringList{"Tag Album", "Best Of"}));
  QString said;
  testing::AnswerNextModal(Press(QMessageBox::Yes, &said));
  Click("cmdUpdata");
  EXPECT_EQ(said, "Tallymere: Data has been updated, Clear all files in list?");
  EXPECT_EQ(data->model()->rowCount(), 0);
  EXPECT_TRUE(m_window->controller().session().changed());

  // Back on the first tab: the file list with its new fields, and the toolbar.
  m_window->side_panel()->setCurrentIndex(0);
  EXPECT_TRUE(m_window->file_list()->isVisible());
  EXPECT_TRUE(m_window->toolbar_button(main_toolbar::kSaveFile)->isEnabled());
  EXPECT_EQ(Column(m_window->file_list(), kColTitle), (QStringList{"One", "Two", "Tag Title"}));
  EXPECT_EQ(Column(m_window->file_list(), kColAlbum),
            (QStringList{"Tag Album", "Best Of", "Tag Album"}));
}

}  // namespace
}  // namespace tallymere
