// MP3 Utilities driven through its real widgets, offscreen: browse a folder,
// write a tag, see it in the details.

#include "ui/qt/mp3_utilities_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>

#include "common/code_page.h"
#include "mp3/mp3_fixtures.h"
#include "platform/linux_platform.h"
#include "support/temp_folder.h"
#include "ui/modal_answer.h"
#include "ui/qt/main_window.h"

namespace tallymere {
namespace {

using testing::TempFolder;

// MP3 Utilities opened from a main window whose C: drive is a temporary folder.
class Mp3UtilitiesWindowTest : public ::testing::Test {
 protected:
  Mp3UtilitiesWindowTest() {
    main.action("mnuId")->trigger();
    window = main.mp3_utilities();
  }

  TempFolder folder;
  const std::string drives =
      folder.WriteFile("program/Data/drives.dat", "C: fixed " + folder.Path("c") + "\n");
  LinuxPlatform platform{folder.Path("program")};
  MainWindow main{platform};
  Mp3UtilitiesWindow* window = nullptr;
};

TEST_F(Mp3UtilitiesWindowTest, BrowseWriteATagAndSeeItInTheDetails) {
  folder.WriteFile("c/Music/Song.mp3", testing::Frame() + testing::Frame());
  folder.WriteFile("c/Music/Other.mp3", testing::Frame());
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
  EXPECT_EQ(window->windowTitle(), "MP3 Utilities");
  EXPECT_FALSE(window->action("mnuRen")->isEnabled());

  const QString music = QString::fromStdString(folder.Path("c/Music"));
  testing::AnswerFileDialog(music, music);
  window->action("mnuOpen")->trigger();
  QAbstractItemModel* model = window->batch_list()->model();
  ASSERT_EQ(model->rowCount(), 2);
  EXPECT_EQ(model->index(0, 0).data().toString(), "Other");
  EXPECT_EQ(model->index(1, 0).data().toString(), "Song");
  EXPECT_EQ(window->status_panel(2)->text(), "2 file(s)");

  // Select Song, type a title and an artist, write the tag.
  const QRect song = window->batch_list()->visualRect(model->index(1, 0));
  QTest::mouseClick(window->batch_list()->viewport(), Qt::LeftButton, {}, song.center());
  EXPECT_EQ(window->detail_label(2)->text(), "Bitrate: 128 kbps");
  EXPECT_EQ(window->detail_label(1)->text(), "Version: MPEG 1.0 , layer III");
  window->editor_field(0)->setText("Hello");
  window->editor_field(1)->setText("World");
  window->genre_box()->setCurrentText("Rock");
  window->action("mnuWrite")->trigger();
  EXPECT_EQ(window->status_panel(1)->text(), "Write tag successful..");

  // Another entry and back: the details come from the file.
  const QRect other = window->batch_list()->visualRect(model->index(0, 0));
  QTest::mouseClick(window->batch_list()->viewport(), Qt::LeftButton, {}, other.center());
  EXPECT_EQ(window->editor_field(0)->text(), "");
  QTest::mouseClick(window->batch_list()->viewport(), Qt::LeftButton, {}, song.center());
  EXPECT_EQ(window->editor_field(0)->text(), "Hello");
  EXPECT_EQ(window->editor_field(1)->text(), "World");
  EXPECT_EQ(window->genre_box()->currentText(), "Rock");
  EXPECT_EQ(window->detail_label(0)->text(),
            QString("Size: %1 bytes").arg(2 * testing::kFrameBytes + 128));

  window->grab().save(QStringLiteral(QT_TESTCASE_BUILDDIR "/../../mp3_utilities.png"));
  window->close();
}

TEST_F(Mp3UtilitiesWindowTest, AnId3v2TagShowsInTheDetailsAndFieldsHoldWhatTheCodePageStores) {
  folder.WriteFile("c/Music/Today.mp3",
                   testing::Id3v2Tag(3, testing::Id3v2Text(3, "TIT2", "Caf\xE9 Song") +
                                            testing::Id3v2Text(3, "TPE1", "Band")) +
                       testing::Frame());
  main.controller().program_settings().id3v1_code_page = *CodePage::Named("Shift_JIS");
  const QString music = QString::fromStdString(folder.Path("c/Music"));
  testing::AnswerFileDialog(music, music);
  window->action("mnuOpen")->trigger();
  QAbstractItemModel* model = window->batch_list()->model();
  ASSERT_EQ(model->rowCount(), 1);
  const QRect today = window->batch_list()->visualRect(model->index(0, 0));
  QTest::mouseClick(window->batch_list()->viewport(), Qt::LeftButton, {}, today.center());
  auto* version = window->findChild<QLabel*>(QStringLiteral("lblId3v2"));
  auto* title = window->findChild<QLabel*>(QStringLiteral("lblId3v2Title"));
  ASSERT_TRUE(version && title);
  EXPECT_EQ(version->text(), "ID3v2: 2.3");
  EXPECT_EQ(title->text(), QStringLiteral("ID3v2 Title: Café Song"));
  EXPECT_EQ(window->editor_field(1)->text(), "Band");

  // Two bytes a letter in Shift_JIS: fifteen fill the 30 bytes of a field.
  QLineEdit* field = window->editor_field(0);
  field->clear();
  for (int i = 0; i < 16; ++i) field->insert(QStringLiteral("東"));
  EXPECT_EQ(field->text(), QString(15, QChar(0x6771)));
  window->close();
}

TEST_F(Mp3UtilitiesWindowTest, TheEditorTakesWhatATagHoldsAndAReopenedWindowStartsEmpty) {
  ASSERT_NE(window, nullptr);
  // 30 stored bytes for the title, 4 for the year; "é" is one byte in the
  // tag, "日" three. Each insert is validated as typing is.
  QLineEdit* title = window->editor_field(0);
  title->insert(QString(29, 'x'));
  for (int i = 0; i < 2; ++i) title->insert(QStringLiteral("é"));
  EXPECT_EQ(title->text(), QString(29, 'x') + QStringLiteral("é"));
  title->clear();
  title->insert(QString(27, 'x'));
  for (int i = 0; i < 2; ++i) title->insert(QStringLiteral("日"));
  EXPECT_EQ(title->text(), QString(27, 'x') + QStringLiteral("日"));
  QTest::keyClicks(window->editor_field(3), QStringLiteral("200245"));
  EXPECT_EQ(window->editor_field(3)->text(), QStringLiteral("2002"));

  // Tab goes from field to field, past the keep boxes.
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  title->setFocus();
  QTest::keyClick(title, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), window->editor_field(1));

  // A field kept as it is in the file is greyed.
  auto* keep_title = window->findChild<QCheckBox*>(QStringLiteral("chkTitle"));
  ASSERT_NE(keep_title, nullptr);
  keep_title->setChecked(true);
  EXPECT_FALSE(title->isEnabled());
  keep_title->setChecked(false);
  EXPECT_TRUE(title->isEnabled());

  // Closed and opened again, the window starts as empty as the first time.
  auto* tool_text = window->findChild<QLineEdit*>(QStringLiteral("txtText"));
  ASSERT_NE(tool_text, nullptr);
  tool_text->setText(QStringLiteral("leftover"));
  window->action("mnuExit")->trigger();
  EXPECT_FALSE(window->isVisible());
  main.action("mnuId")->trigger();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(title->text(), QString());
  EXPECT_EQ(tool_text->text(), QString());
  window->close();
}

}  // namespace
}  // namespace tallymere
