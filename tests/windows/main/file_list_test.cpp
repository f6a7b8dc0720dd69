// The file list: sorting by column, selection totals, opening, copying names.

#include <gtest/gtest.h>

#include <ctime>

#include "common/format.h"
#include "windows/main/catalog_window_fixture.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

class FileListTest : public testing::CatalogWindowTest {
 protected:
  struct File {
    std::string label, name;
    int size;
    std::string modified, bitrate, time;
  };
  void SetUp() override {
    // Texts in the forms the program writes; the sort must read what they
    // mean, not compare them as texts.
    const std::string y1999 = FormatDateTime(LocalTime(1999, 12, 31));
    const std::string y2000 = FormatDateTime(LocalTime(2000, 1, 1));
    const std::string y2010 = FormatDateTime(LocalTime(2010, 6, 15));
    const std::vector<File> files = {{"C:\\", "b.mp3", 1048576, y2000, "128", "04:09"},
                                     {"C:\\", "a.mp3", 1048576, y1999, "96", "125:07"},
                                     {"C:\\", "c.mp3", 9, "then", "---", "-01:-01"},
                                     {"C:\\", "e.mp3", 33145, y2010, "", "00:59"},
                                     {"MyCD", "d.mp3", 10, y1999, "128", "00:01"}};
    std::vector<CatalogRecord> records;
    for (const File& file : files) {
      CatalogRecord& record = records.emplace_back(
          Record(file.label, file.label == "MyCD" ? "E:\\" : "C:\\Music\\", file.name, file.size));
      record.modified = file.modified;
      record.bitrate = file.bitrate;
      record.time = file.time;
    }
    OpenRecords(records);
    main().tvAlbum_NodeClick(Node("C:\\Music\\"));
  }
  static std::time_t LocalTime(int year, int month, int day) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = 23;
    local.tm_isdst = -1;
    return std::mktime(&local);
  }
  // Clicks the header of a column (1 for the first) and gives the names in order.
  std::string SortBy(int column) {
    main().LV_ColumnClick(column);
    std::string names;
    for (const std::string& name : ListNames()) names += name.substr(0, 1);
    return names;
  }
};

TEST_F(FileListTest, SameColumnFlipsTheOrderAndAnotherStartsAscending) {
  EXPECT_EQ(SortBy(1), "abce");
  EXPECT_EQ(SortBy(1), "ecba");
  EXPECT_EQ(SortBy(1), "abce");
  main().LV_ColumnClick(1);
  main().LV_ColumnClick(3);  // another column starts ascending whatever the order was
  EXPECT_EQ(main().LV().sort_order(), SortOrder::kAscending);
  EXPECT_EQ(main().view().last_sort_column, 2);
}

TEST_F(FileListTest, NumbersTimesAndDatesSortByWhatTheyMean) {
  // Size: 9 < 33145 < 1048576, where texts would put "1048576" first; equal
  // sizes keep the order they had.
  SortBy(1);
  EXPECT_EQ(SortBy(kColSize + 1), "ceab");
  EXPECT_EQ(SortBy(kColSize + 1), "abec");
  // Bitrate: 96 before 128; "---" and empty hold no number and come after
  // the numbers in either order.
  EXPECT_EQ(SortBy(kColBitrate + 1), "abec");
  EXPECT_EQ(SortBy(kColBitrate + 1), "bace");
  // Time: minutes past 99 count as minutes; a time below zero shows 00:00.
  EXPECT_EQ(SortBy(kColTime + 1), "ceba");
  EXPECT_EQ(main().LV().Cell(0, kColTime), "00:00");
  // Modified: 1999 before 2000 before 2010, whatever their texts; a date in
  // another form comes after.
  EXPECT_EQ(SortBy(kColModified + 1), "abec");
}

TEST_F(FileListTest, SelectionShowsTotalsAndCopiesTheSelectedName) {
  main().LV().SetSelected(0, true);
  main().LV().SetSelected(1, true);
  main().LV_ItemClick(1);
  EXPECT_EQ(Statuses(), "C:\\Music\\b.mp3|2 selected|2.00 MB");

  main().LV().ClearSelection();  // nothing selected: nothing copied
  main().Run(MainCommand::kClip);
  EXPECT_EQ(ui().clipboard(), "");
  main().LV().SelectOnly(2);
  main().Run(MainCommand::kClip);
  EXPECT_EQ(ui().clipboard(), "c.mp3");
  main().Run(MainCommand::kGrid);
  EXPECT_TRUE(main().LV().grid_lines());
  main().Run(MainCommand::kGrid);
  EXPECT_FALSE(main().view().grid_checked);
}

TEST_F(FileListTest, OpeningAFileOfAnAbsentDiskAsksForTheDisk) {
  ui().set_shell_result(ShellResult::kFileNotFound);  // the desktop finds no such file
  main().tvAlbum_NodeClick(Node("E:\\MyCD\\"));
  main().LV().SetSelected(0, true);
  main().LV_DblClick();
  main().tvAlbum_NodeClick(Node("C:\\Music\\"));
  main().LV().SetSelected(0, true);
  main().LV_KeyDown(kKeyEnter);
  // No program for the file's type, or no access: said, not passed over.
  ui().set_shell_result(ShellResult::kNoAssociation);
  main().LV_DblClick();
  ui().set_shell_result(ShellResult::kAccessDenied);
  main().LV_DblClick();
  EXPECT_EQ(
      Shown(),
      (testing::Texts{
          "Please insert disk labeled:   \"MyCD\"  into  \"E:\\\" drive.|Tallymere|information|OK",
          "File not found|Tallymere|stop|OK",
          "No application is associated with this file type.|Tallymere|stop|OK",
          "Path/file access error|Tallymere|stop|OK"}));

  ui().set_shell_result(ShellResult::kStarted);
  ui().ClearCalls();
  main().LV().SelectOnly(0);
  ASSERT_EQ(main().LV().row(0).text, "a.mp3");
  main().LV_DblClick();
  EXPECT_EQ(ui().calls().back().op + " " + ui().calls().back().text,
            "ShellOpen " + folder().Path("c/Music/a.mp3"));
  EXPECT_TRUE(ui().Messages().empty());
}

}  // namespace
}  // namespace tallymere
