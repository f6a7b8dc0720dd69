// Find in Catalogs through the scripted desktop: a shelf of data files
// searched off the window's thread, its results leading back to their
// catalogs in the main window.

#include "windows/find_catalogs/frm_find_catalogs.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "catalog/data_file.h"
#include "common/format.h"
#include "windows/main/catalog_window_fixture.h"

namespace tallymere {
namespace {

using Texts = std::vector<std::string>;

CatalogRecord Song(std::string path, std::string name, std::string artist, int32_t size = 1000) {
  CatalogRecord record;
  record.bitrate = "192";
  record.disk_label = "C:\\";
  record.path = std::move(path);
  record.file_name = std::move(name);
  record.modified = FormatDateTime(946684800);
  record.time = "03:30";
  record.size = size;
  record.artist = std::move(artist);
  record.album = "Album";
  record.title = "Title";
  return record;
}

class FrmFindCatalogsTest : public testing::CatalogWindowTest {
 protected:
  std::string SaveCatalog(const std::string& relative, const std::vector<CatalogRecord>& songs) {
    CatalogTable table;
    int index = 1;
    for (const CatalogRecord& song : songs) table.SetRecord(index++, song);
    table.SetRecord(index, MakeTrailer("mp3", 1, FormatDateTime(0)));
    const std::string path = folder().WriteFile(relative, "");
    EXPECT_TRUE(SaveDataFile(platform(), table, path).ok());
    return path;
  }
  // Two catalogs holding the same song, and a damaged one between them.
  void MakeShelf() {
    m_attic = SaveCatalog("shelf/Attic.mpd", {Song("C:\\Music\\", "Moon River.mp3", "Henry Moon"),
                                              Song("C:\\Music\\", "Sun.mp3", "Sun Band", 2000)});
    folder().WriteFile("shelf/Broken.mpd", "\x09\x00not a catalog");
    m_cellar =
        SaveCatalog("shelf/Cellar.mpd", {Song("C:\\Old\\", "Moon River.mp3", "Henry Moon", 3000)});
  }
  // Opens the shelf folder's first catalog, so the shelf of the moment is its folder.
  FrmFindCatalogs& Window() {
    if (!m_window) {
      m_window = std::make_unique<FrmFindCatalogs>(session(), services(), main());
      m_window->Form_Load();
    }
    return *m_window;
  }
  // One column of the results, its rows joined by ", ".
  std::string Column(int column) {
    std::string texts;
    const ListModel& rows = Window().lstResults();
    for (int row = 0; row < rows.row_count(); ++row)
      texts += (row == 0 ? "" : ", ") + rows.Cell(row, column);
    return texts;
  }
  void Search(std::string text, int field = 0) {
    Window().controls().txtFind = std::move(text);
    Window().controls().cmbIn = field;
    Window().cmdFind_Click();
    Window().FinishSearch();
  }

  std::string m_attic;
  std::string m_cellar;
  std::unique_ptr<FrmFindCatalogs> m_window;
};

TEST_F(FrmFindCatalogsTest, OneSearchCoversEveryCatalogOfTheShelfAndNamesThoseItCannotRead) {
  MakeShelf();
  ASSERT_TRUE(main().OpenDataFile(m_attic));
  EXPECT_EQ(Window().lstShelf(), Texts{folder().Path("shelf")});

  Search("moon", /*Artist*/ 1);
  EXPECT_EQ(Column(kColFileName), "Moon River.mp3, Moon River.mp3");
  EXPECT_EQ(Column(kColCatalog) + " " + Column(kColPath),
            "Attic.mpd, Cellar.mpd C:\\Music\\, C:\\Old\\");
  EXPECT_EQ(Column(kColCatalogFile), m_attic + ", " + m_cellar);
  EXPECT_EQ(Window().status_text(),
            "2 file(s) found in 2 data file(s), 0.00 MB. 1 data file could not be read: "
            "Broken.mpd (damaged).");
  EXPECT_FALSE(Window().searching());

  // Bounds narrow it; one that cannot be read is said, and nothing searched.
  Window().controls().txtMinSize = "2.5 KB";
  Search("");
  EXPECT_EQ(Column(kColFileName) + " " + Column(kColCatalog), "Moon River.mp3 Cellar.mpd");
  Window().controls().txtMinSize.clear();
  Window().controls().txtAfter = "2000-02-30";
  Search("moon");
  EXPECT_EQ(
      Said(ui().Messages().back()),
      "\"2000-02-30\" is no date: give it as YYYY-MM-DD, such as 2024-05-31.|Find in Catalogs");
  EXPECT_EQ(Column(kColCatalog), "Cellar.mpd");  // the last search's rows stay
}

TEST_F(FrmFindCatalogsTest, AResultOfAnotherCatalogOpensItAsOpenDoesAskingToSaveFirst) {
  MakeShelf();
  ASSERT_TRUE(main().OpenDataFile(m_attic));
  Search("moon river");
  ListModel& rows = Window().lstResults();
  main().session().set_changed(true);

  // Cancel keeps the catalog open; No opens the other and shows the file.
  ui().AnswerMessage(Answer::kCancel);
  rows.SelectOnly(1);
  Window().lstResults_DblClick();
  EXPECT_EQ(main().session().data_file_path(), m_attic);
  ui().AnswerMessage(Answer::kNo);
  Window().lstResults_DblClick();
  EXPECT_EQ(ui().MessageTexts(), (Texts{"Save current file?", "Save current file?"}));
  EXPECT_EQ(main().session().data_file_path(), m_cellar);
  ASSERT_GE(main().tvAlbum().selected(), 0);
  EXPECT_EQ(main().tvAlbum().node(main().tvAlbum().selected()).key, "C:\\Old\\");
  ASSERT_EQ(main().LV().SelectedRows().size(), 1u);
  EXPECT_EQ(main().LV().Cell(main().LV().FirstSelected(), kColFileName), "Moon River.mp3");

  // Yes saves the catalog with its changes, then opens the other.
  rows.SelectOnly(0);
  main().session().set_changed(true);
  ui().AnswerMessage(Answer::kYes);
  Window().mnuShowInCatalog_Click();
  EXPECT_EQ(ui().MessageTexts().size(), 3u);
  EXPECT_EQ(main().session().data_file_path(), m_attic);
  EXPECT_FALSE(main().session().changed());
  rows.SelectOnly(1);
  Window().mnuShowInCatalog_Click();  // nothing to save: no question
  EXPECT_EQ(main().session().data_file_path(), m_cellar);

  // A row of the open catalog only selects, asking nothing.
  rows.SelectOnly(1);
  main().session().set_changed(true);
  Window().mnuShowInCatalog_Click();
  EXPECT_EQ(ui().Messages().size(), 3u);
  EXPECT_EQ(main().session().data_file_path(), m_cellar);

  // Copy and Open act on the row's file; a damaged catalog opens nowhere.
  Window().mnuCopyName_Click();
  EXPECT_EQ(ui().calls().back().op + ":" + ui().calls().back().text,
            "CopyToClipboard:Moon River.mp3");
  Window().mnuOpenFile_Click();
  EXPECT_EQ(ui().calls().back().op + ":" + ui().calls().back().text,
            "ShellOpen:" + folder().Path("c/Old/Moon River.mp3"));
}

TEST_F(FrmFindCatalogsTest, TheShelfIsKeptInTheSettingsAndASearchCanBeStopped) {
  MakeShelf();
  folder().WriteFile("shelf/older/Box.mpd", "");
  Window();
  EXPECT_EQ(Window().lstShelf(), Texts{folder().Path("program/Data")});
  ui().AnswerFolder(folder().Path("shelf"));
  Window().cmdAddFolder_Click();
  Window().set_shelf_selected(0);
  Window().cmdRemoveFolder_Click();
  Window().chkSubfolders_Click(true);
  EXPECT_EQ(testing::ReadFileBytes(folder().Path("config/settings.conf")),
            "Id3v1Encoding=Automatic\nShelfFolder=" + folder().Path("shelf") +
                "\nShelfSubfolders=1\nShowDiskLabels=0\n");
  Search("");
  // By File name, equal names in shelf order; the empty Box.mpd holds none.
  EXPECT_EQ(Column(kColFileName), "Moon River.mp3, Moon River.mp3, Sun.mp3");
  EXPECT_EQ(Column(kColCatalog), "Attic.mpd, Cellar.mpd, Attic.mpd");

  // A search whose first data file is held back: stopping it says so.
  struct Gate : testing::FaultyPlatform {
    using FaultyPlatform::FaultyPlatform;
    Status ReadFileInto(const std::string& path, std::size_t max,
                        std::string* bytes) const override {
      if (path.ends_with(".mpd")) {
        std::unique_lock<std::mutex> held(lock);
        released.wait(held, [&] { return open; });
      }
      return FaultyPlatform::ReadFileInto(path, max, bytes);
    }
    mutable std::mutex lock;
    mutable std::condition_variable released;
    bool open = false;
  } gate(platform());
  CatalogSession gated_session(gate);
  WindowServices gated_services(ui());
  FrmMain gated_main(gated_session, gated_services);
  gated_main.Form_Load();
  FrmFindCatalogs window(gated_session, gated_services, gated_main);
  window.Form_Load();
  window.cmdFind_Click();
  EXPECT_TRUE(window.searching());
  EXPECT_TRUE(window.Enabled(FindCatalogsCommand::kStop));
  EXPECT_EQ(window.status_text(), "Searching 4 data file(s) . . .");
  window.txtFind_Change("moon");  // typing stops the old search
  EXPECT_EQ(window.status_text(), "Stopping . . .");
  {
    const std::lock_guard<std::mutex> held(gate.lock);
    gate.open = true;
  }
  gate.released.notify_all();
  window.FinishSearch();
  EXPECT_FALSE(window.searching());
  EXPECT_EQ(window.status_text().substr(0, 8), "Stopped.");
}

}  // namespace
}  // namespace tallymere
