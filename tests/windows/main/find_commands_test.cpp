// The find commands and the duplicate lists through the scripted desktop.

#include <gtest/gtest.h>

#include "windows/main/catalog_window_fixture.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

using Names = std::vector<std::string>;

class FindCommandsTest : public testing::CatalogWindowTest {
 protected:
  // Opens a catalog of these records (path, name, label, size).
  void Open(const std::vector<std::tuple<std::string, std::string, std::string, int>>& files) {
    std::vector<CatalogRecord> records;
    for (const auto& [path, name, label, size] : files)
      records.push_back(Record(label, path, name, size));
    OpenRecords(records);
  }
  void OpenMusic() {
    Open({{"C:\\Music\\", "Love Song.mp3", "C:\\", 1048576},
          {"C:\\Docs\\", "glove.txt", "C:\\", 1048576},
          {"C:\\Music\\Rock\\", "A.MP3", "C:\\", 10},
          {"D:\\Odd\\", "xmp3", "D:\\", 20},
          {"C:\\Music\\", "a.mp3.bak", "C:\\", 30},
          {"E:\\", "cd.mp3", "MyCD", 40},
          {"E:\\Sub\\", "deep.mp3", "MyCD", 50}});
  }
  void Find(const std::string& text, const std::string& type, const std::string& drive) {
    main().find_panel().set_txtFind(text);
    main().find_panel().set_cmbType(type);
    main().find_panel().set_Drive1(drive);
    main().cmdFind_Click();
  }
  void Show(const std::string& key) {
    main().tvAlbum().Select(Node(key));
    main().mnuSearchdisk_Click();
  }
  std::vector<uint32_t> Colours() {
    std::vector<uint32_t> colours;
    for (int row = 0; row < main().LV().row_count(); ++row) {
      colours.push_back(main().LV().row(row).text_color);
    }
    return colours;
  }
};

TEST_F(FindCommandsTest, FindInAllAndInOneDriveByTextAndType) {
  OpenMusic();
  main().find_panel().set_txtFind("");
  main().find_panel().set_cmbType("*.*");
  main().cmdAll_Click();
  // Every file, never the trailer, sorted by name; the Path column shown.
  EXPECT_EQ(ListNames(), (Names{"A.MP3", "a.mp3.bak", "cd.mp3", "deep.mp3", "glove.txt",
                                "Love Song.mp3", "xmp3"}));
  EXPECT_EQ(main().LV().width(kColPath), 2500);
  EXPECT_EQ(ui().Status(1), "Total 7 file(s) found.");
  EXPECT_EQ(ui().Status(2), "7 object(s)");
  EXPECT_EQ(ui().Status(3), "2.00 MB");
  EXPECT_TRUE(main().commands().Enabled(MainCommand::kReport));
  EXPECT_FALSE(main().find_panel().search_all());
  EXPECT_EQ(ui().busy_depth(), 0);
  EXPECT_FALSE(ui().animation_running());

  Find("LOVE", "*.*", "c:");
  EXPECT_EQ(ListNames(), (Names{"glove.txt", "Love Song.mp3"}));
  Find("", "*.mp3", "c:");
  EXPECT_EQ(ListNames(), (Names{"A.MP3", "Love Song.mp3"}));  // not a.mp3.bak
  Find("", "*.mp3", "d:");
  EXPECT_EQ(ListNames(), (Names{"xmp3"}));
  Find("love", "*.*", "d:");  // nothing of C: in drive d:
  EXPECT_EQ(ListNames(), Names{});
  EXPECT_EQ(ui().Status(1), "Total 0 file(s) found.");
}

TEST_F(FindCommandsTest, ShowAllFilesUnderANodeTheRootOrADisk) {
  OpenMusic();
  Show("C:\\Music\\");
  EXPECT_EQ(ListNames(), (Names{"A.MP3", "a.mp3.bak", "Love Song.mp3"}));
  EXPECT_EQ(ui().Status(1), "Contents of:  C:\\Music\\");
  EXPECT_EQ(ui().Status(2), "3 object(s)");
  EXPECT_EQ(main().focus_request(), "tvAlbum");

  Show("E:\\MyCD\\");
  EXPECT_EQ(ListNames(), (Names{"cd.mp3", "deep.mp3"}));
  Show("E:\\MyCD\\Sub\\");
  EXPECT_EQ(ListNames(), (Names{"deep.mp3"}));

  // The CD drive itself: its files belong to disks.
  Show("E:\\");
  EXPECT_EQ(ui().Messages().back().text, "Please select a disk label instead.");
  EXPECT_EQ(ui().Messages().back().icon, Icon::kInformation);

  // The root: Find in All with an empty text and any type, left in the inputs.
  main().find_panel().set_txtFind("love");
  main().find_panel().set_cmbType("*.txt");
  main().tvAlbum().Select(main().tvAlbum().roots().front());
  main().mnuPop2Show_Click();
  EXPECT_EQ(ListNames().size(), 7u);
  EXPECT_EQ(main().find_panel().txtFind(), "");
  EXPECT_EQ(main().find_panel().cmbType(), "*.*");
}

TEST_F(FindCommandsTest, DuplicatesComeInSetsOfTwoRowsAndABlankOneEveryOtherInBlue) {
  Open({{"C:\\A\\", "x.mp3", "C:\\", 1},
        {"C:\\B\\", "x.mp3", "C:\\", 2},
        {"C:\\C\\", "song.mp3", "C:\\", 3},
        {"C:\\C\\", "x.mp3", "C:\\", 4},
        {"C:\\D\\", "Song.mp3", "C:\\", 5},
        {"C:\\E\\", "01 - Artist - Title of the song.mp3", "C:\\", 6},
        {"C:\\F\\", "02 - Artist - Title of the song.mp3", "C:\\", 7},
        {"C:\\G\\", "a_love_me.mp3", "C:\\", 8},
        {"C:\\H\\", "b_love_me.mp3", "C:\\", 9}});
  main().mnuDuplicate1_Click();
  // Three x.mp3 give three sets: (1, 2), (1, 3), (2, 3); letter case counts.
  EXPECT_EQ(ListNames(), (Names{"x.mp3", "x.mp3", "", "x.mp3", "x.mp3", "", "x.mp3", "x.mp3", ""}));
  EXPECT_EQ(main().LV().Cell(0, kColPath) + main().LV().Cell(1, kColPath) +
                main().LV().Cell(3, kColPath) + main().LV().Cell(4, kColPath),
            "C:\\A\\C:\\B\\C:\\A\\C:\\C\\");
  constexpr uint32_t kBlue = 0x00FF0000;
  EXPECT_EQ(Colours(), (std::vector<uint32_t>{kBlue, kBlue, 0, 0, 0, 0, kBlue, kBlue, 0}));
  EXPECT_EQ(ui().Status(1), "Found 3 duplicate set(s) in 9 files.");
  EXPECT_EQ(main().LV().width(kColPath), 2500);

  main().mnuDuplicate2_Click();  // the last 22 characters
  EXPECT_EQ(ListNames(), (Names{"x.mp3", "x.mp3", "", "x.mp3", "x.mp3", "", "x.mp3", "x.mp3", "",
                                "01 - Artist - Title of the song.mp3",
                                "02 - Artist - Title of the song.mp3", ""}));
  EXPECT_EQ(ui().Status(1), "Found 4 possible duplicate set(s) in 9 files.");
  main().mnuDuplicate3_Click();  // the last 12 characters
  EXPECT_EQ(ListNames().size(), 15u);
  EXPECT_EQ(ListNames()[12], "a_love_me.mp3");
  EXPECT_EQ(ListNames()[13], "b_love_me.mp3");
  EXPECT_EQ(ui().Status(1), "Found 5 possible duplicate set(s) in 9 files.");

  // One file has no duplicates.
  Open({{"C:\\A\\", "x.mp3", "C:\\", 1}});
  main().mnuDuplicate1_Click();
  EXPECT_EQ(main().LV().row_count(), 0);
  EXPECT_EQ(ui().Status(1), "Found 0 duplicate set(s) in 1 files.");
}

}  // namespace
}  // namespace tallymere
