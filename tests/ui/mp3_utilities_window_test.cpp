// MP3 Utilities driven through its real widgets, offscreen: browse a folder,
// write a tag, see it in the details.

#include "ui/qt/mp3_utilities_window.h"

#include <gtest/gtest.h>

#include "common/code_page.h"
#include "mp3/mp3_fixtures.h"
#include "ui/modal_answer.h"

namespace tallymere {
namespace {

using testing::ClickItem;

// MP3 Utilities opened from a main window whose C: drive is a temporary folder.
class Mp3UtilitiesWindowTest : public testing::MainWindowTest {
 protected:
  Mp3UtilitiesWindowTest() {
    m_window->action("mnuId")->trigger();
    window = m_window->mp3_utilities();
  }
  // Opens C:\Music in the batch list through its folder dialog.
  QAbstractItemModel* OpenMusic() {
    const QString music = QString::fromStdString(m_folder.Path("c/Music"));
    testing::AnswerFileDialog(music, music);
    window->action("mnuOpen")->trigger();
    return window->batch_list()->model();
  }

  Mp3UtilitiesWindow* window = nullptr;
};

TEST_F(Mp3UtilitiesWindowTest, BrowseWriteATagAndSeeItInTheDetails) {
  m_folder.WriteFile("c/Music/Song.mp3", testing::Frame() + testing::Frame());
  m_folder.WriteFile("c/Music/Other.mp3", testing::Frame());
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
  EXPECT_EQ(window->windowTitle(), "MP3 Utilities");
  EXPECT_FALSE(window->action("mnuRen")->isEnabled());

  QAbstractItemModel* model = OpenMusic();
  EXPECT_EQ(testing::Column(window->batch_list(), 0), (QStringList{"Other", "Song"}));
  EXPECT_EQ(window->status_panel(2)->text(), "2 file(s)");

  // Select Song, type a title and an artist, write the tag.
  ClickItem(window->batch_list(), model->index(1, 0));
  EXPECT_EQ(window->detail_label(2)->text(), "Bitrate: 128 kbps");
  EXPECT_EQ(window->detail_label(1)->text(), "Version: MPEG 1.0 , layer III");
  window->editor_field(0)->setText("Hello");
  window->editor_field(1)->setText("World");
  window->genre_box()->setCurrentText("Rock");
  window->action("mnuWrite")->trigger();
  EXPECT_EQ(window->status_panel(1)->text(), "Write tag successful..");

  // Another entry and back: the details come from the file.
  ClickItem(window->batch_list(), model->index(0, 0));
  EXPECT_EQ(window->editor_field(0)->text(), "");
  ClickItem(window->batch_list(), model->index(1, 0));
  EXPECT_EQ(window->editor_field(0)->text(), "Hello");
  EXPECT_EQ(window->editor_field(1)->text(), "World");
  EXPECT_EQ(window->genre_box()->currentText(), "Rock");
  EXPECT_EQ(window->detail_label(0)->text(),
            QString("Size: %1 bytes").arg(2 * testing::kFrameBytes + 128));

  window->grab().save(QT_TESTCASE_BUILDDIR "/../../mp3_utilities.png");  // for reviewers
  window->close();
}

TEST_F(Mp3UtilitiesWindowTest, AnId3v2TagShowsInTheDetailsAndFieldsHoldWhatTheCodePageStores) {
  m_folder.WriteFile("c/Music/Today.mp3",
                     testing::Id3v2Tag(3, testing::Id3v2Text(3, "TIT2", "Caf\xE9 Song") +
                                              testing::Id3v2Text(3, "TPE1", "Band")) +
                         testing::Frame());
  m_window->controller().session().program_settings().id3v1_code_page =
      *CodePage::Named("Shift_JIS");
  QAbstractItemModel* model = OpenMusic();
  ASSERT_EQ(model->rowCount(), 1);
  ClickItem(window->batch_list(), model->index(0, 0));
  auto* version = window->findChild<QLabel*>("lblId3v2");
  auto* title = window->findChild<QLabel*>("lblId3v2Title");
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
  QTest::keyClicks(window->editor_field(3), "200245");
  EXPECT_EQ(window->editor_field(3)->text(), "2002");

  // Tab goes from field to field, past the keep boxes.
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  title->setFocus();
  QTest::keyClick(title, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), window->editor_field(1));

  // A field kept as it is in the file is greyed.
  auto* keep_title = window->findChild<QCheckBox*>("chkTitle");
  auto* tool_text = window->findChild<QLineEdit*>("txtText");
  ASSERT_TRUE(keep_title && tool_text);
  keep_title->setChecked(true);
  EXPECT_FALSE(title->isEnabled());
  keep_title->setChecked(false);
  EXPECT_TRUE(title->isEnabled());

  // Closed and opened again, the window starts as empty as the first time.
  tool_text->setText("leftover");
  window->action("mnuExit")->trigger();
  EXPECT_FALSE(window->isVisible());
  m_window->action("mnuId")->trigger();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(title->text(), QString());
  EXPECT_EQ(tool_text->text(), QString());
  window->close();
}

}  // namespace
}  // namespace tallymere
