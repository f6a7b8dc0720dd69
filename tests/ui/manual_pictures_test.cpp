// The pictures of the help page, taken from the real windows offscreen on a
// catalog of the audio fixtures, each time the tests run, so they never show
// a window as it was. They go into the folder beside the built help page.

#include <gtest/gtest.h>

#include <QDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "ui/modal_answer.h"
#include "ui/qt/find_catalogs_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/mp3_utilities_window.h"

namespace tallymere {
namespace {

// A music folder of today: albums of several formats under their artists.
const std::vector<std::pair<std::string, std::string>>& Library() {
  static const std::vector<std::pair<std::string, std::string>> kFiles = {
      {"flac_picture.flac", "Sigur Rós/Takk/01 Hoppípolla.flac"},
      {"flac_vorbis.flac", "Björk/Homogenic/01 Jóga.flac"},
      {"flac_two_artists.flac", "Serge Gainsbourg/Jane Birkin/01 Je t’aime.flac"},
      {"vorbis.ogg", "Кино/Группа крови/01 Группа крови.ogg"},
      {"song_id3v2.mp3", "Кино/Звезда по имени Солнце/01 Звезда по имени Солнце.mp3"},
      {"other_song.mp3", "Кино/Звезда по имени Солнце/02 Другая песня.mp3"},
      {"opus.opus", "Röyksopp/Melody A.M/01 Eple.opus"},
      {"aac.m4a", "Beyoncé/I Am Sasha Fierce/01 Halo.m4a"},
      {"riff_info.wav", "Motörhead/Ace of Spades/01 Ace of Spades.wav"},
      {"song_id3v1.mp3", "Kino/Best Of/01 Zvezda po imeni Solntse.mp3"},
  };
  return kFiles;
}

class ManualPicturesTest : public testing::MainWindowTest {
 protected:
  ManualPicturesTest() : MainWindowTest("E: cdrom %ROOT%/e CD1\n") {
    const std::string data = std::string(TALLYMERE_TEST_DATA) + "/audio/";
    for (const auto& [from, to] : Library()) {
      m_folder.WriteFile("c/Music/" + to, testing::ReadFileBytes(data + from));
    }
    m_folder.WriteFile("e/Mix/01 Halo.m4a", testing::ReadFileBytes(data + "aac.m4a"));
    m_folder.WriteFile("e/Mix/02 Eple.opus", testing::ReadFileBytes(data + "opus.opus"));
  }

  // Saves a widget's picture as manual/NAME.png beside the help page.
  static void Take(QWidget* widget, const char* name) {
    ASSERT_NE(widget, nullptr) << name;
    QApplication::processEvents();
    const QString path = QStringLiteral(TALLYMERE_MANUAL_FOLDER "/%1.png").arg(name);
    const QPixmap picture = widget->grab();
    ASSERT_FALSE(picture.isNull()) << name;
    EXPECT_TRUE(picture.save(path)) << path.toStdString();
  }
};

TEST_F(ManualPicturesTest, EachWindowTheHelpPageShowsIsPhotographed) {
  ASSERT_TRUE(QDir().mkpath(QStringLiteral(TALLYMERE_MANUAL_FOLDER)));
  m_window->resize(1100, 640);
  Settings& settings = m_window->controller().session().settings();
  settings.txtType = "audio";
  settings.chkBitRate = 1;
  ScanMusic();
  ASSERT_GE(m_window->controller().session().catalog().FileCount(), 10);
  m_window->tree()->expandAll();
  ListFolder("C:\\Music\\Кино\\Звезда по имени Солнце\\");
  Take(m_window.get(), "main-window");

  // The CD, added under its label, then rescanned after a song was added.
  const QString e = QString::fromStdString(m_folder.Path("e"));
  {
    testing::ModalAnswerer add;
    add.Then(testing::PickFile(e, e)).Then([](QWidget* modal) {
      QTest::keyClicks(modal->focusWidget(), "CD1");
      QTest::keyClick(modal, Qt::Key_Return);
    });
    m_window->action("mnuAddDisk")->trigger();
  }
  m_folder.WriteFile("e/Mix/03 Jóga.flac", testing::ReadFileBytes(std::string(TALLYMERE_TEST_DATA) +
                                                                  "/audio/flac_vorbis.flac"));
  m_window->tree()->expandAll();
  ListFolder("E:\\CD1\\");
  {
    testing::ModalAnswerer rescan;
    rescan.Then([](QWidget* modal) {
      Take(modal, "rescan-disk");
      QTest::keyClick(modal, Qt::Key_Escape);
    });
    m_window->action("mnuRescanDisk")->trigger();
  }

  m_window->action("mnuOpt")->trigger();
  Take(m_window->findChild<QDialog*>("frmOption"), "options");
  m_window->findChild<QDialog*>("frmOption")->hide();

  // Find in Catalogs over the shelf of the catalog saved beside it.
  const QString saved = QString::fromStdString(m_folder.Path("shelf/Music.mpd"));
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(m_folder.Path("shelf"))));
  testing::AnswerFileDialog(saved);
  m_window->action("mnuSaveFile")->trigger();
  m_window->action("mnuFindCatalogs")->trigger();
  FindCatalogsWindow* find = m_window->find_catalogs();
  ASSERT_NE(find, nullptr);
  find->resize(900, 420);
  QTest::keyClicks(find->find_text(), "01");
  ASSERT_TRUE(QTest::qWaitFor([&] { return find->results()->model()->rowCount() >= 5; }));
  Take(find, "find-in-catalogs");

  m_window->action("mnuId")->trigger();
  Mp3UtilitiesWindow* mp3 = m_window->mp3_utilities();
  ASSERT_NE(mp3, nullptr);
  const QString album =
      QString::fromStdString(m_folder.Path("c/Music/Кино/Звезда по имени Солнце"));
  testing::AnswerFileDialog(album, album);
  mp3->action("mnuOpen")->trigger();
  ASSERT_GE(mp3->batch_list()->model()->rowCount(), 2);
  testing::ClickItem(mp3->batch_list(), mp3->batch_list()->model()->index(0, 0));
  Take(mp3, "mp3-utilities");
}

}  // namespace
}  // namespace tallymere
