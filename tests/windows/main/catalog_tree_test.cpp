// The tree built from folder keys, browsing, and the file list a node shows.

#include <gtest/gtest.h>

#include "catalog/data_file.h"
#include "windows/main/catalog_window_fixture.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

using testing::Texts;

class CatalogTreeTest : public testing::CatalogWindowTest {};

TEST_F(CatalogTreeTest, SharedFoldersAppearOnceAndLabelledDisksSitUnderTheirDrive) {
  OpenFiles({{"C:\\", "C:\\A\\B\\", "1.mp3", 1},
             {"C:\\", "C:\\A\\C\\", "2.mp3", 1},
             {"MyCD", "E:\\", "3.mp3", 1},
             {"MyCD", "E:\\Music\\", "4.mp3", 1},
             {"C:\\", "C:\\", "5.mp3", 1}});
  const std::string root = folder().Path("c.mpd");
  EXPECT_EQ(NodeKeys(), (Texts{root, "C:\\", "E:\\", "C:\\A\\", "C:\\A\\B\\", "C:\\A\\C\\",
                               "E:\\MyCD\\", "E:\\MyCD\\Music\\"}));
  EXPECT_EQ(NodeTexts(), (Texts{root, "C:", "E:", "A", "B", "C", "MyCD", "Music"}));
  EXPECT_EQ(main().tvAlbum().node(Node("E:\\MyCD\\")).image, "cd");
  EXPECT_EQ(main().tvAlbum().node(Node("E:\\MyCD\\Music\\")).image, "fclosed");
  EXPECT_EQ(main().tvAlbum().ChildCount(Node("C:\\A\\")), 2);

  // Each node lists its own files; a drive of disks and a folder of folders none.
  const auto listed = [&](const std::string& key) {
    main().tvAlbum_NodeClick(Node(key));
    std::string names;
    for (const std::string& name : ListNames()) names += name + " ";
    return names + Statuses();
  };
  EXPECT_EQ(listed("C:\\"), "5.mp3 Exploring: C:\\|Total: 1 files|0.00 MB");
  EXPECT_EQ(listed("E:\\MyCD\\"), "3.mp3 Exploring: E:\\MyCD\\|Total: 1 files|0.00 MB");
  EXPECT_EQ(main().LV().Cell(0, kColDiskLabel), "MyCD");
  EXPECT_EQ(listed("E:\\MyCD\\Music\\"),
            "4.mp3 Exploring: E:\\MyCD\\Music\\|Total: 1 files|0.00 MB");
  EXPECT_EQ(listed("E:\\"), "Exploring: E:\\|Total: 0 files|0.00 MB");
  EXPECT_EQ(listed("C:\\A\\"), "Exploring: C:\\A\\|Total: 0 files|0.00 MB");
}

TEST_F(CatalogTreeTest, ADriveWithRootFilesOnlyStaysAndNodeClickSortsAndTotalsExactly) {
  OpenFiles({{"C:\\", "C:\\", "a.mp3", 1}});
  EXPECT_EQ(NodeTexts(), (Texts{folder().Path("c.mpd"), "C:"}));
  main().tvAlbum_NodeClick(Node("C:\\"));
  EXPECT_EQ(ListNames(), Texts{"a.mp3"});

  OpenFiles({{"C:\\", "C:\\M\\", "b.mp3", 16777216},
             {"C:\\", "C:\\M\\", "A.mp3", 1},
             {"C:\\", "C:\\M\\", "c.mp3", 1048576}});
  main().tvAlbum_NodeClick(Node("C:\\M\\"));
  EXPECT_EQ(ListNames(), (Texts{"A.mp3", "b.mp3", "c.mp3"}));
  EXPECT_EQ(main().LV().width(kColPath), 0);
  EXPECT_EQ(ui().Status(3), "17.00 MB");
  EXPECT_EQ(ui().busy_depth(), 0);
}

TEST_F(CatalogTreeTest, AFileFullToItsLastRecordWithoutATrailerShowsEveryFolder) {
  CatalogTable table;
  constexpr int kFull = CatalogTable::kDescribedCapacity;
  for (int i = 1; i <= kFull; ++i)
    table.SetRecord(
        i, Record("C:\\", i <= 100 ? "C:\\A\\" : "C:\\B\\", std::to_string(i) + ".mp3", 0));
  const std::string path = folder().Path("full.mpd");
  ASSERT_TRUE(SaveDataFile(platform(), table, path).ok());
  ui().AnswerOpenFile(path);
  main().Run(MainCommand::kLoad);
  // Opened, and the user told that its trailer is missing.
  EXPECT_EQ(Shown(), Texts{"\"" + path +
                           "\" ends without the trailer record that closes a catalog: it was cut "
                           "short after record 32,766, and what stood after it is lost. The "
                           "records before it were read.|Tallymere|warning|OK"});
  EXPECT_EQ(NodeTexts(), (Texts{path, "C:", "A", "B"}));
  EXPECT_EQ(ui().Status(2), "Total: 32766 files");
  main().tvAlbum_NodeClick(Node("C:\\B\\"));
  EXPECT_EQ(main().LV().row_count(), kFull - 100);
}

TEST_F(CatalogTreeTest, DoubleClickBrowsesLiveFoldersOnlyWithoutACatalog) {
  folder().MakeFolder("c/Music/Pop");
  folder().MakeFolder("c/Books");
  const int drive = Node("C:\\");
  main().tvAlbum().Select(drive);
  main().tvAlbum_DblClick();
  EXPECT_EQ(main().tvAlbum().node(drive).text, "C:");
  ASSERT_EQ(main().tvAlbum().ChildCount(drive), 2);
  EXPECT_EQ(main().tvAlbum().node(main().tvAlbum().node(drive).children[0]).text, "Books");
  EXPECT_TRUE(main().tvAlbum().node(drive).expanded);

  main().tvAlbum().Select(Node("C:\\Music\\"));
  main().tvAlbum_DblClick();
  EXPECT_NE(Node("C:\\Music\\Pop\\"), TreeModel::kNoNode);
  EXPECT_EQ(main().tvAlbum().node(Node("C:\\Music\\Pop\\")).text, "Pop");

  // A drag of a browsed folder onto the batch offers a scan of it.
  EXPECT_TRUE(main().lstBox_DragOver(Node("C:\\Music\\")));
  EXPECT_FALSE(main().lstBox_DragOver(Node("Untitled.mpd")));
  main().tvAlbum().Select(Node("C:\\Music\\"));
  ui().AnswerMessage(Answer::kNo);
  main().lstBox_DragDrop(main().tvAlbum_StartDrag());
  EXPECT_EQ(ui().Messages().back().text, "Do you want to start a new scan on C:\\Music\\ drive? ");
  EXPECT_TRUE(main().lstBox().empty());
}

}  // namespace
}  // namespace tallymere
