// The file list: sorting by column, selection totals, opening, copying names.

#include <gtest/gtest.h>

#include "catalog/data_file.h"
#include "support/main_window_fixture.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

using testing::MainWindowTest;

class FileListTest : public MainWindowTest {
 protected:
  void SetUp() override {
    CatalogTable table;
    const std::vector<std::tuple<std::string, std::string, int>> files = {
        {"C:\\", "b.mp3", 1048576},
        {"C:\\", "a.mp3", 1048576},
        {"C:\\", "c.mp3", 9},
        {"MyCD", "d.mp3", 10}};
    int i = 1;
    for (const auto& [label, name, size] : files) {
      CatalogRecord record;
      record.disk_label = label;
      record.path = label == "MyCD" ? "E:\\" : "C:\\Music\\";
      record.file_name = name;
      record.size = size;
      table.SetRecord(i++, record);
    }
    table.SetRecord(i, MakeTrailer("mp3", 1, "then"));
    ASSERT_TRUE(SaveDataFile(platform(), table, folder().Path("l.mpd")).ok());
    ui().AnswerOpenFile(folder().Path("l.mpd"));
    main().mnuLoad_Click();
    main().tvAlbum_NodeClick(Node("C:\\Music\\"));
  }
};

TEST_F(FileListTest, SameColumnFlipsTheOrderAndAnotherStartsAscending) {
  main().LV_ColumnClick(3);  // Size, compared as text: "9" after "1048576"
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3"}));
  main().LV_ColumnClick(3);
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"c.mp3", "a.mp3", "b.mp3"}));
  main().LV_ColumnClick(3);
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3"}));
  main().LV_ColumnClick(3);
  main().LV_ColumnClick(1);  // another column starts ascending whatever the order was
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3"}));
  EXPECT_EQ(main().last_sort_column(), 0);
}

TEST_F(FileListTest, SelectionShowsCountAndMegabytes) {
  main().LV().SetSelected(0, true);
  main().LV().SetSelected(1, true);
  main().LV_ItemClick(1);
  EXPECT_EQ(ui().Status(1), "C:\\Music\\b.mp3");
  EXPECT_EQ(ui().Status(2), "2 selected");
  EXPECT_EQ(ui().Status(3), "2.00 MB");
}

TEST_F(FileListTest, OpeningAFileOfAnAbsentDiskAsksForTheDisk) {
  ui().set_shell_result(2);  // the desktop finds no such file
  main().tvAlbum_NodeClick(Node("E:\\MyCD\\"));
  main().LV().SetSelected(0, true);
  main().LV_DblClick();
  ASSERT_EQ(ui().Messages().size(), 1u);
  EXPECT_EQ(ui().Messages()[0].text,
            "Please insert disk labeled:   \"MyCD\"  into  \"E:\\\" drive.");
  EXPECT_EQ(ui().Messages()[0].icon, Icon::kInformation);

  main().tvAlbum_NodeClick(Node("C:\\Music\\"));
  main().LV().SetSelected(0, true);
  main().LV_KeyDown(kKeyEnter);
  EXPECT_EQ(ui().Messages().back().text, "File not found");
  EXPECT_EQ(ui().Messages().back().icon, Icon::kStop);

  ui().set_shell_result(42);
  const int row = 0;
  main().LV().SelectOnly(row);
  ASSERT_EQ(main().LV().row(row).text, "a.mp3");
  main().LV_DblClick();
  EXPECT_EQ(ui().calls().back().op, "ShellOpen");
  EXPECT_EQ(ui().calls().back().text, folder().Path("c/Music/a.mp3"));
}

TEST_F(FileListTest, CopiesTheSelectedNameAndNothingWithoutSelection) {
  main().mnuClip_Click();
  EXPECT_EQ(ui().clipboard(), "");
  main().LV().SelectOnly(2);
  main().mnuClip_Click();
  EXPECT_EQ(ui().clipboard(), "c.mp3");
  main().mnuGrid_Click();
  EXPECT_TRUE(main().LV().grid_lines());
  main().mnuGrid_Click();
  EXPECT_FALSE(main().grid_checked());
}

}  // namespace
}  // namespace tallymere
