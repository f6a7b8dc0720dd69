// Find in Catalogs driven through its real widgets, offscreen: typing finds
// across the shelf without freezing the window, and a double click opens the
// result's catalog in the main window.

#include "ui/qt/find_catalogs_window.h"

#include <gtest/gtest.h>

#include "catalog/data_file.h"
#include "ui/modal_answer.h"

namespace tallymere {
namespace {

CatalogRecord Song(const std::string& path, const std::string& name) {
  CatalogRecord record;
  record.disk_label = "C:\\";
  record.path = path;
  record.file_name = name;
  record.size = 100;
  record.artist = "Henry Moon";
  return record;
}

using FindCatalogsWindowTest = testing::MainWindowTest;

TEST_F(FindCatalogsWindowTest, TypingFindsAcrossTheShelfAndADoubleClickOpensTheCatalog) {
  m_folder.MakeFolder("c/Music");
  const auto save = [&](const std::string& name, const std::string& path) {
    CatalogTable table;
    table.SetRecord(1, Song(path, "Moon River.mp3"));
    table.SetRecord(2, Song(path, "Sun.mp3"));
    table.SetRecord(3, MakeTrailer("mp3", 1, "then"));
    const std::string file = m_folder.WriteFile("shelf/" + name, "");
    EXPECT_TRUE(SaveDataFile(*m_platform, table, file).ok());
    return file;
  };
  const std::string attic = save("Attic.mpd", "C:\\Music\\");
  const std::string cellar = save("Cellar.mpd", "C:\\Old\\");
  MainWindow& main = *m_window;
  ASSERT_TRUE(main.controller().OpenDataFile(attic));

  main.action("mnuFindCatalogs")->trigger();
  FindCatalogsWindow* window = main.find_catalogs();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
  EXPECT_EQ(window->windowTitle(), "Find in Catalogs");
  QTest::keyClicks(window->find_text(), "moon riv");
  QAbstractItemModel* rows = window->results()->model();
  ASSERT_TRUE(QTest::qWaitFor([&] { return rows->rowCount() == 2; }));
  EXPECT_TRUE(QTest::qWaitFor([&] {
    return window->status()->text().startsWith("2 file(s) found in 2 data file(s)");
  })) << window->status()->text().toStdString();
  EXPECT_EQ(rows->index(1, kColCatalog).data().toString(), "Cellar.mpd");
  EXPECT_EQ(rows->headerData(kColCatalog, Qt::Horizontal).toString(), "Catalog");

  testing::ClickItem(window->results(), rows->index(1, 0));
  const QRect second = window->results()->visualRect(rows->index(1, 0));
  QTest::mouseDClick(window->results()->viewport(), Qt::LeftButton, {}, second.center());
  EXPECT_EQ(main.controller().session().data_file_path(), cellar);
  EXPECT_EQ(main.windowTitle(), "Tallymere - " + QString::fromStdString(cellar));
  const ListModel& list = main.controller().LV();
  ASSERT_GE(list.FirstSelected(), 0);
  EXPECT_EQ(list.Cell(list.FirstSelected(), kColPath), "C:\\Old\\");

  // Enter on the other result goes back to its catalog.
  window->results()->setCurrentIndex(rows->index(0, 0));
  QTest::keyClick(window->results(), Qt::Key_Return);
  EXPECT_EQ(main.controller().session().data_file_path(), attic);
  window->close();
}

}  // namespace
}  // namespace tallymere
