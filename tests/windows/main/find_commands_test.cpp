// The find commands and the duplicate lists through the scripted desktop.

#include <gtest/gtest.h>

#include "windows/main/catalog_window_fixture.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

using Names = testing::Texts;

class FindCommandsTest : public testing::CatalogWindowTest {
 protected:
  void OpenMusic() {
    OpenFiles({{"C:\\", "C:\\Music\\", "Love Song.mp3", 1048576},
               {"C:\\", "C:\\Docs\\", "glove.txt", 1048576},
               {"C:\\", "C:\\Music\\Rock\\", "A.MP3", 10},
               {"D:\\", "D:\\Odd\\", "xmp3", 20},
               {"C:\\", "C:\\Music\\", "a.mp3.bak", 30},
               {"MyCD", "E:\\", "cd.mp3", 40},
               {"MyCD", "E:\\Sub\\", "deep.mp3", 50}});
  }
  // The names found, then the status bar.
  std::string Find(const std::string& text, const std::string& type, const std::string& drive) {
    main().find_panel().set_txtFind(text);
    main().find_panel().set_cmbType(type);
    main().find_panel().set_Drive1(drive);
    main().Run(MainCommand::kCmdFind);
    return Listed();
  }
  std::string Show(const std::string& key) {
    main().tvAlbum().Select(Node(key));
    main().Run(MainCommand::kSearchdisk);
    return Listed();
  }
  std::string Listed() {
    std::string names;
    for (const std::string& name : ListNames()) names += name + ", ";
    return names + Statuses();
  }
};

TEST_F(FindCommandsTest, FindInAllAndInOneDriveByTextAndType) {
  OpenMusic();
  main().find_panel().set_txtFind("");
  main().find_panel().set_cmbType("*.*");
  main().Run(MainCommand::kCmdAll);
  // Every file, never the trailer, sorted by name; the Path column shown.
  EXPECT_EQ(ListNames(), (Names{"A.MP3", "a.mp3.bak", "cd.mp3", "deep.mp3", "glove.txt",
                                "Love Song.mp3", "xmp3"}));
  EXPECT_EQ(main().LV().width(kColPath), 2500);
  EXPECT_EQ(Statuses(), "Total 7 file(s) found.|7 object(s)|2.00 MB");
  EXPECT_TRUE(main().commands().Enabled(MainCommand::kReport));
  EXPECT_FALSE(main().find_panel().search_all());
  EXPECT_EQ(ui().busy_depth(), 0);
  EXPECT_FALSE(ui().animation_running());

  // The text, the type and the drive each narrow the search.
  EXPECT_EQ(Find("LOVE", "*.*", "c:"),
            "glove.txt, Love Song.mp3, Total 2 file(s) found.|2 object(s)|2.00 MB");
  EXPECT_EQ(Find("", "*.mp3", "c:"),
            "A.MP3, Love Song.mp3, Total 2 file(s) found.|2 object(s)|1.00 MB");
  EXPECT_EQ(Find("", "*.mp3", "d:"), "xmp3, Total 1 file(s) found.|1 object(s)|0.00 MB");
  EXPECT_EQ(Find("love", "*.*", "d:"), "Total 0 file(s) found.|0 object(s)|0.00 MB");
}

TEST_F(FindCommandsTest, ShowAllFilesUnderANodeTheRootOrADisk) {
  OpenMusic();
  EXPECT_EQ(Show("C:\\Music\\"),
            "A.MP3, a.mp3.bak, Love Song.mp3, Contents of:  C:\\Music\\|3 object(s)|1.00 MB");
  EXPECT_EQ(main().view().focus_request, "tvAlbum");
  EXPECT_EQ(Show("E:\\MyCD\\"), "cd.mp3, deep.mp3, Contents of:  E:\\MyCD\\|2 object(s)|0.00 MB");
  EXPECT_EQ(Show("E:\\MyCD\\Sub\\"), "deep.mp3, Contents of:  E:\\MyCD\\Sub\\|1 object(s)|0.00 MB");

  // The CD drive itself: its files belong to disks.
  Show("E:\\");
  EXPECT_EQ(Shown().back(), "Please select a disk label instead.|Tallymere|information|OK");

  // The root: Find in All with an empty text and any type, left in the inputs.
  main().find_panel().set_txtFind("love");
  main().find_panel().set_cmbType("*.txt");
  main().tvAlbum().Select(main().tvAlbum().roots().front());
  main().Run(MainCommand::kPop2Show);
  EXPECT_EQ(ListNames().size(), 7u);
  EXPECT_EQ(main().find_panel().txtFind() + "|" + main().find_panel().cmbType(), "|*.*");
}

TEST_F(FindCommandsTest, DuplicatesComeInSetsOfTwoRowsAndABlankOneEveryOtherInBlue) {
  OpenFiles({{"C:\\", "C:\\A\\", "x.mp3", 1},
             {"C:\\", "C:\\B\\", "x.mp3", 2},
             {"C:\\", "C:\\C\\", "song.mp3", 3},
             {"C:\\", "C:\\C\\", "x.mp3", 4},
             {"C:\\", "C:\\D\\", "Song.mp3", 5},
             {"C:\\", "C:\\E\\", "01 - Artist - Title of the song.mp3", 6},
             {"C:\\", "C:\\F\\", "02 - Artist - Title of the song.mp3", 7},
             {"C:\\", "C:\\G\\", "a_love_me.mp3", 8},
             {"C:\\", "C:\\H\\", "b_love_me.mp3", 9}});
  main().Run(MainCommand::kDuplicate1);
  // Three x.mp3 give three sets: (1, 2), (1, 3), (2, 3); letter case counts.
  const Names three_sets = {"x.mp3", "x.mp3", "", "x.mp3", "x.mp3", "", "x.mp3", "x.mp3", ""};
  EXPECT_EQ(ListNames(), three_sets);
  std::string paths;
  std::vector<uint32_t> colours;
  for (int row = 0; row < main().LV().row_count(); ++row) {
    paths += main().LV().Cell(row, kColPath) + " ";
    colours.push_back(main().LV().row(row).text_color);
  }
  EXPECT_EQ(paths, "C:\\A\\ C:\\B\\  C:\\A\\ C:\\C\\  C:\\B\\ C:\\C\\  ");
  constexpr uint32_t kBlue = 0x00FF0000;
  EXPECT_EQ(colours, (std::vector<uint32_t>{kBlue, kBlue, 0, 0, 0, 0, kBlue, kBlue, 0}));
  EXPECT_EQ(ui().Status(1), "Found 3 duplicate set(s) in 9 files.");
  EXPECT_EQ(main().LV().width(kColPath), 2500);

  main().Run(MainCommand::kDuplicate2);  // the last 22 characters
  Names four_sets = three_sets;
  four_sets.insert(four_sets.end(), {"01 - Artist - Title of the song.mp3",
                                     "02 - Artist - Title of the song.mp3", ""});
  EXPECT_EQ(ListNames(), four_sets);
  EXPECT_EQ(ui().Status(1), "Found 4 possible duplicate set(s) in 9 files.");
  main().Run(MainCommand::kDuplicate3);  // the last 12 characters
  four_sets.insert(four_sets.end(), {"a_love_me.mp3", "b_love_me.mp3", ""});
  EXPECT_EQ(ListNames(), four_sets);
  EXPECT_EQ(ui().Status(1), "Found 5 possible duplicate set(s) in 9 files.");

  // One file has no duplicates.
  OpenFiles({{"C:\\", "C:\\A\\", "x.mp3", 1}});
  main().Run(MainCommand::kDuplicate1);
  EXPECT_EQ(main().LV().row_count(), 0);
  EXPECT_EQ(ui().Status(1), "Found 0 duplicate set(s) in 1 files.");
}

// Same Audio pairs records by their fingerprints, whatever their names; a
// record without one takes no part. Compute Audio Fingerprints fills them
// in from the files that are there.
TEST_F(FindCommandsTest, SameAudioFindsCopiesByTheirFingerprintsAndFillsThemInOnRequest) {
  const std::string song =
      testing::ReadFileBytes(std::string(TALLYMERE_TEST_DATA) + "/audio/song.mp3");
  const std::string tagged =
      testing::ReadFileBytes(std::string(TALLYMERE_TEST_DATA) + "/audio/song_id3v2_cover.mp3");
  File("c", "A/01 - Song.mp3", song);
  File("c", "B/Artist - Song.mp3", tagged);
  File("c", "B/other.txt", "x");
  session().settings().txtType = "*.*";
  ScanFolder("C:\\");
  main().Run(MainCommand::kDuplicate4);
  EXPECT_EQ(main().LV().row_count(), 0);
  EXPECT_EQ(ui().Status(1), "Found 0 set(s) of the same audio in 3 files.");

  ui().ClearCalls();
  ui().AnswerMessage(Answer::kOk);
  main().Run(MainCommand::kFingerprint);
  EXPECT_EQ(ui().MessageTexts(),
            (testing::Texts{"2 audio files of the catalog have no fingerprint. Compute them now? "
                            "Each file on a disk that is in its drive is read once; the others "
                            "are counted and keep none.",
                            "2 audio fingerprints computed."}));
  EXPECT_TRUE(session().changed());
  main().Run(MainCommand::kDuplicate4);
  EXPECT_EQ(ListNames(), (Names{"01 - Song.mp3", "Artist - Song.mp3", ""}));
  EXPECT_EQ(ui().Status(1), "Found 1 set(s) of the same audio in 3 files.");
  ui().ClearCalls();
  main().Run(MainCommand::kFingerprint);
  EXPECT_EQ(
      ui().MessageTexts(),
      testing::Texts{"Every MP3, FLAC and MP4 file of the catalog has its audio fingerprint."});
}

}  // namespace
}  // namespace tallymere
