// The desktop window driven through its real widgets, offscreen: start-up,
// a scan through the batch, browsing, sorting, messages, save and open.

#include "ui/qt/main_window.h"

#include <gtest/gtest.h>

#include "catalog/data_file.h"
#include "mp3/mp3_fixtures.h"
#include "platform/shell_open.h"
#include "ui/modal_answer.h"
#include "ui/qt/data_info_window.h"
#include "ui/qt/options_dialog.h"

namespace tallymere {
namespace {

using testing::AnswerFileDialog;
using testing::AnswerNextModal;
using testing::Press;

class MainWindowUiTest : public testing::MainWindowTest {
 protected:
  MainWindowUiTest() : MainWindowTest("E: cdrom %ROOT%/e MUSIC99\n") {
    m_folder.WriteFile("c/Music/Pop/b.mp3", testing::Frame() + testing::Frame());
    m_folder.WriteFile("c/Music/Pop/a.mp3", std::string(3000, 'x'));
    m_folder.WriteFile("c/Music/Rock/c.mp3", testing::Frame());
    m_folder.MakeFolder("e");
  }
  QStringList ListColumn(int column) { return testing::Column(m_window->file_list(), column); }
};

TEST_F(MainWindowUiTest, StartsWithTheDrivesInTheTreeAndTheFindPanelReachesTheController) {
  EXPECT_EQ(m_window->windowTitle(), "Tallymere - Untitled");
  const QModelIndex root = m_window->tree()->model()->index(0, 0);
  EXPECT_EQ(root.data().toString(), "Untitled.mpd");
  ASSERT_EQ(m_window->tree()->model()->rowCount(root), 2);
  EXPECT_EQ(m_window->tree()->model()->index(0, 0, root).data().toString(), "C:\\");
  EXPECT_TRUE(m_window->tree()->isExpanded(root));
  EXPECT_EQ(Status(1), "Ready");

  // The find panel's inputs reach the controller.
  const FindPanel& find = m_window->controller().find_panel();
  auto* text = m_window->findChild<QLineEdit*>("txtFind");
  auto* type = m_window->findChild<QComboBox*>("cmbType");
  auto* drive = m_window->findChild<QComboBox*>("Drive1");
  ASSERT_TRUE(text && type && drive);
  EXPECT_EQ(type->currentText(), "*.*");
  EXPECT_EQ(type->count(), 24);
  EXPECT_EQ(find.Drive1(), "c:");

  QTest::keyClicks(text, "Pop");
  type->setCurrentIndex(0);
  drive->setCurrentIndex(1);
  EXPECT_EQ(find.txtFind(), "Pop");
  EXPECT_EQ(find.cmbType(), "*.mp3");
  EXPECT_EQ(drive->currentText(), "E: [MUSIC99]");
  EXPECT_EQ(find.Drive1(), "e:");
}

TEST_F(MainWindowUiTest, ScanInfoBrowseSortSaveAndOpen) {
  ScanMusic();
  EXPECT_EQ(Status(2), "Total: 3 files");
  EXPECT_TRUE(m_window->action("mnuSaveFile")->isEnabled());
  EXPECT_EQ(m_window->batch_list()->count(), 0);

  // Data File Info opens beside the window, with its labels.
  m_window->action("mnuInfo")->trigger();
  DataInfoWindow* info = m_window->data_info();
  ASSERT_NE(info, nullptr);
  EXPECT_TRUE(info->isVisible());
  EXPECT_FALSE(info->isModal());
  EXPECT_EQ(info->windowTitle(), "Tallymere - Data File Info");
  EXPECT_EQ(info->label(0)->text(), "File Name:   Untitled.mpd");
  EXPECT_EQ(info->label(5)->text(), "Total Files Cataloged:   3");
  info->close();

  EXPECT_EQ(TreeIndex("C:\\Music\\Pop\\").data().toString(), "Pop");
  ListFolder("C:\\Music\\Pop\\");
  EXPECT_EQ(ListColumn(0), (QStringList{"a.mp3", "b.mp3"}));
  EXPECT_EQ(Status(1), "Exploring: C:\\Music\\Pop\\");
  EXPECT_EQ(Status(2), "Total: 2 files");

  // A click on the Size header sorts by size, a second click reverses it.
  QHeaderView* header = m_window->file_list()->header();
  const auto click_header = [&](int column) {
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
  };
  click_header(kColSize);
  EXPECT_EQ(ListColumn(kColSize), (QStringList{"834", "3000"}));
  click_header(kColSize);
  EXPECT_EQ(ListColumn(kColSize), (QStringList{"3000", "834"}));

  // At the default size the Time, Bitrate and Modified texts show whole.
  QTreeView* list = m_window->file_list();
  const QModelIndex time = list->model()->index(1, kColTime);
  ASSERT_EQ(time.data().toString(), "00:00");
  for (const char* text : {"00:00", "320"}) {
    const int room = list->visualRect(time).width() -
                     2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    EXPECT_EQ(list->fontMetrics().elidedText(text, Qt::ElideRight, room), text);
  }
  EXPECT_GE(header->sectionSize(kColBitrate),
            header->fontMetrics().horizontalAdvance(
                header->model()->headerData(kColBitrate, Qt::Horizontal).toString()));

  // Selecting a row shows its path and the selection's size.
  testing::ClickItem(m_window->file_list(), m_window->file_list()->model()->index(0, 0));
  EXPECT_EQ(Status(2), "1 selected");

  // Save under a name typed into the dialog, then open it again.
  const QString saved = QString::fromStdString(m_folder.Path("music.mpd"));
  AnswerFileDialog(saved);
  m_window->action("mnuSaveFile")->trigger();
  EXPECT_EQ(m_window->windowTitle(), "Tallymere - " + saved);
  CatalogTable table;
  ASSERT_TRUE(LoadDataFile(*m_platform, saved.toStdString(), &table).ok());
  EXPECT_EQ(table.FileCount(), 3);

  m_window->grab().save(QT_TESTCASE_BUILDDIR "/../../main_window.png");  // for reviewers

  AnswerFileDialog(saved);
  m_window->action("mnuLoad")->trigger();
  EXPECT_EQ(Status(2), "Total: 3 files");
  EXPECT_EQ(m_window->tree()->model()->index(0, 0).data().toString(), saved);
}

// An "audio" catalog is music as an "mp3" one is: its columns show and the
// MP3 commands work; a catalog of every file shows the dates instead.
TEST_F(MainWindowUiTest, AnAudioCatalogShowsTheMusicColumnsAndCommands) {
  for (const auto& [type, music] : {std::pair{"audio", true}, {"*.*", false}}) {
    SCOPED_TRACE(type);
    CatalogTable table;
    CatalogRecord flac;
    flac.disk_label = "C:\\";
    flac.path = "C:\\Music\\";
    flac.file_name = "song.flac";
    flac.bitrate = "881";
    flac.time = "03:10";
    flac.artist = "Björk";
    table.SetRecord(1, flac);
    table.SetRecord(2, MakeTrailer(type, 1, "then"));
    const std::string path = m_folder.Path("music.mpd");
    ASSERT_TRUE(SaveDataFile(*m_platform, table, path).ok());
    AnswerFileDialog(QString::fromStdString(path));
    m_window->action("mnuLoad")->trigger();
    ListFolder("C:\\Music\\");
    ASSERT_EQ(ListColumn(0), QStringList{"song.flac"});
    EXPECT_EQ(m_window->file_list()->isColumnHidden(kColArtist), !music);
    EXPECT_EQ(m_window->file_list()->isColumnHidden(kColBitrate), !music);
    EXPECT_EQ(m_window->file_list()->isColumnHidden(kColModified), music);
    EXPECT_EQ(m_window->action("mnuId3")->isEnabled(), music);
    if (music) {
      EXPECT_EQ(ListColumn(kColArtist), QStringList{"Björk"});
    }
  }
}

TEST_F(MainWindowUiTest, DoubleClickOnAFileNoProgramOpensSaysSoAndArrowKeysListEachFolder) {
  // A desktop with a type for the file but no program for that type.
  ShellTools tools;
  tools.run = [](const std::vector<std::string>& argv) {
    const bool filetype = argv.size() > 2 && argv[2] == "filetype";
    return CommandOutput{true, 0, filetype ? "audio/mpeg\n" : ""};
  };
  int launches = 0;
  tools.launch = [&launches](const std::vector<std::string>&, const std::string&, OpenFailed) {
    ++launches;
    return Status::Ok();
  };
  m_window->services().SetShellTools(tools);
  ScanMusic();
  ListFolder("C:\\Music\\Pop\\");
  EXPECT_EQ(Status(1), "Exploring: C:\\Music\\Pop\\");
  const QModelIndex first = m_window->file_list()->model()->index(0, 0);
  testing::ClickItem(m_window->file_list(), first);
  QString text;
  AnswerNextModal(Press(QMessageBox::Ok, &text));
  QTest::mouseDClick(m_window->file_list()->viewport(), Qt::LeftButton, {},
                     m_window->file_list()->visualRect(first).center());
  EXPECT_EQ(text, "Tallymere: No application is associated with this file type.");
  EXPECT_EQ(launches, 0);

  // The arrow keys in the tree list each folder.
  QTest::keyClick(m_window->tree(), Qt::Key_Down);
  EXPECT_EQ(Status(1), "Exploring: C:\\Music\\Rock\\");
  EXPECT_EQ(ListColumn(0), (QStringList{"c.mp3"}));
}

TEST_F(MainWindowUiTest, FindsFromThePanelAndShowsDuplicatesInBlue) {
  m_folder.WriteFile("c/Music/Rock/a.mp3", testing::Frame());  // a second a.mp3
  ScanMusic();
  auto* text = m_window->findChild<QLineEdit*>("txtFind");
  auto* all = m_window->findChild<QPushButton*>("cmdAll");
  ASSERT_TRUE(text && all);
  EXPECT_TRUE(all->isEnabled());
  EXPECT_EQ(all->toolTip(), "Find files in entire data file");
  EXPECT_EQ(m_window->findChild<QPushButton*>("cmdFind")->toolTip(),
            "Find files in selected drive");

  // Enter in "Containing:" finds in the chosen drive (C:, the first).
  QTest::keyClicks(text, "b.");
  QTest::keyClick(text, Qt::Key_Return);
  EXPECT_EQ(ListColumn(0), (QStringList{"b.mp3"}));
  EXPECT_EQ(Status(1), "Total 1 file(s) found.");
  EXPECT_FALSE(m_window->file_list()->isColumnHidden(kColPath));
  text->clear();
  QTest::mouseClick(all, Qt::LeftButton);
  EXPECT_EQ(ListColumn(0).size(), 4);

  m_window->action("mnuDuplicate1")->trigger();
  EXPECT_EQ(ListColumn(0), (QStringList{"a.mp3", "a.mp3", ""}));
  const QModelIndex first = m_window->file_list()->model()->index(0, 0);
  EXPECT_EQ(first.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::blue));
  EXPECT_EQ(Status(1), "Found 1 duplicate set(s) in 4 files.");
}

TEST_F(MainWindowUiTest, OptionsAreEditedBesideTheWindowAndSaved) {
  m_window->action("mnuOpt")->trigger();
  OptionsDialog* options = m_window->options();
  ASSERT_NE(options, nullptr);
  EXPECT_TRUE(options->isVisible());
  EXPECT_FALSE(options->isModal());
  EXPECT_EQ(options->windowTitle(), "Tallymere Options");
  auto* size = options->findChild<QCheckBox*>("chkSize");
  auto* width = options->findChild<QSpinBox*>("txtCol");
  auto* encoding = options->findChild<QComboBox*>("cmbId3v1Encoding");
  auto* labels = options->findChild<QCheckBox*>("chkDiskLabels");
  auto* id3v2 = options->findChild<QCheckBox*>("chkWriteId3v2");
  ASSERT_TRUE(size && width && encoding && labels && id3v2);
  EXPECT_TRUE(id3v2->isChecked());
  EXPECT_TRUE(size->isChecked());
  EXPECT_EQ(width->value(), 75);
  EXPECT_EQ(width->singleStep(), 5);
  EXPECT_EQ(width->maximum(), 150);
  EXPECT_EQ(encoding->currentText(), "Automatic");
  EXPECT_EQ(encoding->count(), 14);
  size->setChecked(false);
  width->setValue(100);
  encoding->setCurrentText("Shift_JIS");
  EXPECT_FALSE(labels->isChecked());
  labels->setChecked(true);
  id3v2->setChecked(false);
  QTest::mouseClick(options->findChild<QPushButton*>("cmdSave"), Qt::LeftButton);
  EXPECT_EQ(testing::ReadFileBytes(m_folder.Path("config/settings.conf")),
            "Id3v1Encoding=Shift_JIS\nShelfSubfolders=0\nShowDiskLabels=1\nWriteId3v2=0\n");
  EXPECT_FALSE(m_window->controller().session().program_settings().write_id3v2);
  EXPECT_TRUE(m_window->controller().session().program_settings().show_disk_labels);
  EXPECT_FALSE(options->isVisible());
  EXPECT_EQ(m_window->controller().session().settings().chkSize, 0);
  EXPECT_EQ(m_window->controller().session().settings().txtCol, 100);
  const std::string saved = testing::ReadFileBytes(m_folder.Path("program/Data/lists.dat"));
  EXPECT_EQ(saved.substr(saved.size() - 5), "100\r\n");
}

TEST_F(MainWindowUiTest, TheAboutBoxLinksToTheHelpPageAndTheToolbarHasAnIconForEachButton) {
  QString link;
  AnswerNextModal([&link](QWidget* dialog) {
    link = dialog->findChild<QLabel*>("lblLink")->text();
    static_cast<QDialog*>(dialog)->accept();
  });
  m_window->action("mnuAbout")->trigger();
  EXPECT_TRUE(
      link.contains("file://" + QString::fromStdString(m_folder.Path("program")) + "/TMRHelp.html"))
      << link.toStdString();
  for (QAction* button : m_window->findChild<QToolBar*>("T")->actions()) {
    if (button->isSeparator()) continue;
    EXPECT_FALSE(button->icon().isNull()) << button->text().toStdString();
  }
}

TEST_F(MainWindowUiTest, RescanDiskIsOfferedOnADisksLabelAndShowsTheChangesBeforeReplacing) {
  // A catalog of C:'s Pop folder and a CD "CD1" of E:, whose disk now holds a new song.
  CatalogTable table;
  CatalogRecord pop;
  pop.path = "C:\\Music\\Pop\\";
  pop.file_name = "b.mp3";
  pop.disk_label = "C:\\";
  CatalogRecord cd = pop;
  cd.path = "E:\\";
  cd.file_name = "gone.mp3";
  cd.disk_label = "CD1";
  table.SetRecord(1, pop);
  table.SetRecord(2, cd);
  table.SetRecord(3, MakeTrailer("mp3", 1, "then"));
  const std::string file = m_folder.Path("cds.mpd");
  ASSERT_TRUE(SaveDataFile(*m_platform, table, file).ok());
  m_folder.WriteFile("e/new.mp3", testing::Frame());
  m_window->OpenDataFile(QString::fromStdString(file));

  // The pop-up's item follows the node under the pointer.
  const auto rescan_item_enabled = [this](const std::string& key) {
    bool enabled = false;
    bool shown = false;
    QTimer::singleShot(0, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) return;
      for (QAction* action : menu->actions()) {
        if (action->objectName() == "mnuPop2Rescan") {
          shown = true;
          enabled = action->isEnabled();
        }
      }
      menu->close();
    });
    QTreeView* tree = m_window->tree();
    tree->scrollTo(TreeIndex(key));
    emit tree->customContextMenuRequested(tree->visualRect(TreeIndex(key)).center());
    EXPECT_TRUE(shown) << key;
    return enabled;
  };
  m_window->tree()->expandAll();
  EXPECT_FALSE(rescan_item_enabled("C:\\Music\\Pop\\"));
  EXPECT_TRUE(rescan_item_enabled("E:\\CD1\\"));
  EXPECT_TRUE(m_window->action("mnuRescanDisk")->isEnabled());

  // The disk in E: has another volume label: Yes takes it; the changes are
  // listed; No keeps the catalog.
  QString lines;
  testing::ModalAnswerer answers;
  answers.Then(Press(QMessageBox::Yes)).Then([&lines](QWidget* modal) {
    lines = modal->findChild<QPlainTextEdit*>("lines")->toPlainText();
    QTest::keyClick(modal, Qt::Key_Escape);
  });
  m_window->action("mnuRescanDisk")->trigger();
  EXPECT_EQ(lines, "- E:\\gone.mp3\n+ E:\\new.mp3");
  EXPECT_EQ(m_window->controller().session().catalog().Record(2).file_name, "gone.mp3");
  EXPECT_FALSE(m_window->controller().session().changed());
}

}  // namespace
}  // namespace tallymere
