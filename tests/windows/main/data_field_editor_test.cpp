// The Data Field Editor through the scripted desktop: files sent from the
// file list, fields from file names, typed, swapped and cleared, Update into
// the catalog and the file list; and the side panel's tabs around it.

#include "windows/main/data_field_editor.h"

#include <gtest/gtest.h>

#include "windows/main/editors_fixture.h"

namespace tallymere {
namespace {

using testing::EditorsTest;
using Texts = std::vector<std::string>;

class DataFieldEditorTest : public EditorsTest {
 protected:
  void SetUp() override {
    OpenSongs({{"Artist - Song.mp3", 1, "03:45", "old artist", "old title", "Old Album"},
               {"Artist - 01 - Song.mp3", 2, "03:45", "", "", "Kept Album"},
               {"Artist - Vol - Song.mp3", 3, "03:45"},
               {"Song.mp3", 4, "03:45", "x", "y", "z"},
               {"notes.txt", 5, "---"}});
  }
  DataFieldEditor& editor() { return main().data_field_editor(); }
  // Sends every MP3 file; entries stand sorted by name: "Artist - 01 -
  // Song", "Artist - Song", "Artist - Vol - Song", "Song".
  void SendAll() {
    Select({"Artist - Song.mp3", "Artist - 01 - Song.mp3", "Artist - Vol - Song.mp3", "Song.mp3"});
    main().mnuSendData_Click();
    ui().ClearCalls();
  }
  // The fields of an entry as "Artist|Title|Album".
  std::string Fields(int row) {
    const ListModel& list = editor().LVData();
    return list.Cell(row, kDataArtist) + "|" + list.Cell(row, kDataTitle) + "|" +
           list.Cell(row, kDataAlbum);
  }
  const CatalogRecord& Record(const std::string& file_name) {
    const CatalogTable& catalog = main().catalog();
    for (int index = 1; index < catalog.CatalogEnd(); ++index) {
      if (catalog.Record(index).file_name == file_name) return catalog.Record(index);
    }
    static const CatalogRecord kNone;
    return kNone;
  }
  static std::string Fields(const CatalogRecord& record) {
    return record.artist + "|" + record.title + "|" + record.album;
  }
  // The fields the file list shows for a file.
  std::string Listed(const std::string& file_name) {
    const ListModel& list = main().LV();
    for (int row = 0; row < list.row_count(); ++row) {
      if (list.Cell(row, kColFileName) != file_name) continue;
      return list.Cell(row, kColArtist) + "|" + list.Cell(row, kColTitle) + "|" +
             list.Cell(row, kColAlbum);
    }
    return "not listed";
  }
  // The entries in scope become those selected.
  void SelectEntries(const std::vector<int>& rows) {
    editor().set_Option1(false);
    editor().LVData().ClearSelection();
    for (int row : rows) editor().LVData().SetSelected(row, true);
  }
};

TEST_F(DataFieldEditorTest, SendFillsTheEditorAndEntersItsTab) {
  Select({"Artist - Song.mp3", "Song.mp3"});
  main().mnuSendData_Click();
  EXPECT_EQ(Rows(editor().LVData()),
            (Texts{"Artist - Song|old artist|old title|Old Album|C:\\Music\\",
                   "Song|x|y|z|C:\\Music\\"}));
  EXPECT_EQ(editor().LVData().headers(), (Texts{"File Name", "Artist ", "Title", "Album", "Path"}));
  EXPECT_EQ(main().selected_tab(), kDataEditorTab);
  EXPECT_TRUE(main().data_editor_shown());
  EXPECT_EQ(ui().Status(2), "Total: 2 file(s)");
  EXPECT_TRUE(ui().Messages().empty());

  // A file that is not MP3 empties the editor and sends nothing.
  main().SSTab1_Click(kScanTab);
  Select({"Song.mp3", "notes.txt"});
  main().mnuSendData_Click();
  ASSERT_EQ(ui().Messages().size(), 1u);
  EXPECT_EQ(Said(ui().Messages()[0]),
            "notes.txt is not a MP3 file. This option is available only on MP3 data file.|"
            "Tallymere");
  EXPECT_EQ(ui().Messages()[0].icon, Icon::kStop);
  EXPECT_EQ(editor().LVData().row_count(), 0);
  EXPECT_EQ(main().selected_tab(), kScanTab);
}

TEST_F(DataFieldEditorTest, TheTabHidesTheFileListAndTheToolbarUntilItIsLeft) {
  const MainCommandState& commands = main().commands();
  ASSERT_TRUE(commands.ButtonEnabled(main_toolbar::kSaveFile));
  editor().set_Option1(false);
  editor().set_chkArt(true);
  editor().set_chkAlbum(false);

  main().SSTab1_Click(kDataEditorTab);
  EXPECT_TRUE(main().data_editor_shown());
  EXPECT_FALSE(commands.toolbar_enabled());
  for (int button = 1; button <= main_toolbar::kLast; ++button) {
    EXPECT_FALSE(commands.ButtonEnabled(button)) << button;
  }
  // Entering the tab: "Apply to All", and Enter sets the Album only.
  EXPECT_TRUE(editor().Option1());
  EXPECT_FALSE(editor().chkArt());
  EXPECT_FALSE(editor().chkTitle());
  EXPECT_TRUE(editor().chkAlbum());
  EXPECT_TRUE(commands.Enabled(MainCommand::kSaveFile));  // the menus stay

  main().SSTab1_Click(kPlaylistTab);
  EXPECT_FALSE(main().data_editor_shown());
  EXPECT_TRUE(commands.ButtonEnabled(main_toolbar::kSaveFile));
  EXPECT_TRUE(commands.ButtonEnabled(main_toolbar::kScan));
  EXPECT_FALSE(commands.ButtonEnabled(3));  // a gap in the toolbar stays one

  // Open from the editor's tab brings back the first tab and the toolbar.
  main().SSTab1_Click(kDataEditorTab);
  ui().AnswerOpenFile(std::nullopt);
  main().mnuLoad_Click();
  EXPECT_EQ(main().selected_tab(), kScanTab);
  EXPECT_TRUE(commands.ButtonEnabled(main_toolbar::kLoad));

  // New disables the tab: it can no longer be chosen.
  main().mnuNew_Click();
  main().SSTab1_Click(kDataEditorTab);
  EXPECT_EQ(main().selected_tab(), kScanTab);
  EXPECT_TRUE(commands.toolbar_enabled());
}

TEST_F(DataFieldEditorTest, ClickingAnEntryShowsItsFieldsAndRemovingEntriesClearsThem) {
  SendAll();
  editor().LVData_ItemClick(3);
  EXPECT_EQ(editor().tArt() + "|" + editor().tTitle() + "|" + editor().tAlb(), "x|y|z");
  EXPECT_EQ(editor().tFile(), "Song.mp3");
  EXPECT_EQ(ui().Status(1), "C:\\Music\\Song.mp3");
  EXPECT_EQ(ui().Status(2), "Total: 4 file(s)");

  // Removing entries clears the input boxes.
  editor().LVData_ItemClick(0);
  editor().LVData().SelectOnly(0);
  editor().mnuPop3Del_Click();
  EXPECT_EQ(editor().LVData().row_count(), 3);
  EXPECT_EQ(editor().LVData().Cell(0, kDataFileName), "Artist - Song");
  EXPECT_EQ(editor().tArt() + editor().tTitle() + editor().tAlb() + editor().tFile(), "");
  editor().LVData_ItemClick(0);
  editor().mnuPop3DelAll_Click();
  EXPECT_EQ(editor().LVData().row_count(), 0);
  EXPECT_EQ(editor().tFile(), "");
}

TEST_F(DataFieldEditorTest, UseFileNameSplitsNamesAndReportsThoseItCannot) {
  SendAll();
  editor().set_tArt("typed");
  editor().mnuUse_Click();
  EXPECT_EQ(Fields(0), "Artist|Song|Kept Album");  // "01" is no album
  EXPECT_EQ(Fields(1), "Artist|Song|Old Album");
  EXPECT_EQ(Fields(2), "Artist|Song|Vol");
  EXPECT_EQ(Fields(3), "x|y|z");  // unchanged
  EXPECT_EQ(editor().tArt(), "");
  ASSERT_EQ(ui().Messages().size(), 1u);
  EXPECT_EQ(Said(ui().Messages()[0]), "Unable to determin fields in Song.mp3|MP3 Utilities");
  EXPECT_EQ(ui().Messages()[0].icon, Icon::kStop);
}

TEST_F(DataFieldEditorTest, UseFileNameKeepsTheOneSeparatorTitlesBlankAndRefusesFourSeparators) {
  OpenSongs({{"A -  B.mp3", 1, ""}, {"A - B - C - D - E.mp3", 1, ""}, {"Keep.mp3", 1, ""}});
  Select({"A -  B.mp3", "A - B - C - D - E.mp3", "Keep.mp3"});
  main().mnuSendData_Click();
  ui().ClearCalls();
  SelectEntries({0, 1});
  editor().cmdUse_Click();
  EXPECT_EQ(Fields(0), "A| B|");
  EXPECT_EQ(ui().MessageTexts(), Texts{"Unable to determin fields in A - B - C - D - E.mp3"});
}

TEST_F(DataFieldEditorTest, EnterAndTheSwapsChangeTheEntriesInScope) {
  SendAll();
  editor().set_tArt("New Artist");
  editor().set_tTitle("New Title");
  editor().set_tAlb("New Album");
  editor().cmdEnter_Click();  // tab defaults: every entry, the Album only
  for (int row = 0; row < 4; ++row)
    EXPECT_EQ(Fields(row).substr(Fields(row).rfind('|')), "|New Album");
  EXPECT_EQ(Fields(3), "x|y|New Album");
  EXPECT_EQ(editor().tArt() + editor().tTitle() + editor().tAlb(), "");

  SelectEntries({1});
  editor().set_chkArt(true);
  editor().set_chkTitle(true);
  editor().set_chkAlbum(false);
  editor().set_tArt("Ann");
  editor().set_tTitle("Two");
  editor().cmdEnter_Click();
  EXPECT_EQ(Fields(1), "Ann|Two|New Album");
  EXPECT_EQ(Fields(3), "x|y|New Album");

  // The swaps take the same scope: every entry, then the selected one.
  editor().set_Option1(true);
  editor().cmdAtoT_Click();
  EXPECT_EQ(Fields(1), "Two|Ann|New Album");
  EXPECT_EQ(Fields(3), "y|x|New Album");
  SelectEntries({3});
  editor().cmdTtoA_Click();
  EXPECT_EQ(Fields(3), "y|New Album|x");
  EXPECT_EQ(Fields(1), "Two|Ann|New Album");
}

TEST_F(DataFieldEditorTest, UpdateWritesTheRecordsAndTheFileListShowsThemAtOnce) {
  SendAll();
  editor().mnuUse_Click();
  ui().ClearCalls();
  ui().AnswerMessage(Answer::kNo);
  editor().cmdUpdata_Click();
  ASSERT_EQ(ui().Messages().size(), 1u);
  EXPECT_EQ(Said(ui().Messages()[0]), "Data has been updated, Clear all files in list?|Tallymere");
  EXPECT_EQ(ui().Messages()[0].buttons, Buttons::kYesNo);
  EXPECT_EQ(ui().Messages()[0].icon, Icon::kQuestion);
  EXPECT_EQ(ui().busy_depth(), 0);
  EXPECT_TRUE(main().changed());
  EXPECT_EQ(Fields(Record("Artist - Song.mp3")), "Artist|Song|Old Album");
  EXPECT_EQ(Fields(Record("Artist - Vol - Song.mp3")), "Artist|Song|Vol");
  EXPECT_EQ(Fields(Record("Song.mp3")), "x|y|z");
  EXPECT_EQ(editor().LVData().row_count(), 4);  // No keeps the entries

  EXPECT_EQ(Listed("Artist - Vol - Song.mp3"), "Artist|Song|Vol");
  EXPECT_EQ(Listed("Artist - 01 - Song.mp3"), "Artist|Song|Kept Album");

  // Clear Editable Fields, then Update: the records get empty fields; Yes
  // empties the editor.
  editor().mnuClearField_Click();
  ui().AnswerMessage(Answer::kYes);
  editor().cmdUpdata_Click();
  EXPECT_EQ(Fields(Record("Song.mp3")), "||");
  EXPECT_EQ(Fields(Record("Artist - Song.mp3")), "||");
  EXPECT_EQ(Listed("Song.mp3"), "||");
  EXPECT_EQ(editor().LVData().row_count(), 0);

  // Nothing to update: no question.
  ui().ClearCalls();
  editor().cmdUpdata_Click();
  EXPECT_TRUE(ui().calls().empty());
}

TEST_F(DataFieldEditorTest, UpdateMatchesLetterCaseExactlyAndSetsTheChangedFlagAnyway) {
  OpenSongs({{"SONG.mp3", 1, "", "first"}, {"Song.mp3", 1, "", "second"}});
  Select({"Song.mp3"});
  main().mnuSendData_Click();
  editor().set_tArt("New");
  editor().set_chkArt(true);
  editor().cmdEnter_Click();
  ui().AnswerMessage(Answer::kNo);
  editor().cmdUpdata_Click();
  EXPECT_EQ(Record("SONG.mp3").artist, "first");
  EXPECT_EQ(Record("Song.mp3").artist, "New");

  // The catalog's file now differs from the entry in letter case only: no
  // record matches, and the catalog is marked changed all the same.
  main().catalog().MutableRecord(2).file_name = "song.mp3";
  main().set_changed(false);
  editor().set_tArt("Newer");
  editor().cmdEnter_Click();
  ui().AnswerMessage(Answer::kNo);
  editor().cmdUpdata_Click();
  EXPECT_EQ(Record("song.mp3").artist, "New");
  EXPECT_TRUE(main().changed());
}

}  // namespace
}  // namespace tallymere
