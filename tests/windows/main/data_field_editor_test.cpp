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
  // Sends these files (every MP3 file by default); entries stand sorted by
  // name: "Artist - 01 - Song", "Artist - Song", "Artist - Vol - Song", "Song".
  void Send(const Texts& names = {"Artist - Song.mp3", "Artist - 01 - Song.mp3",
                                  "Artist - Vol - Song.mp3", "Song.mp3"}) {
    Select(names);
    main().Run(MainCommand::kSendData);
    ui().ClearCalls();
  }
  // The fields of every entry as "Artist|Title|Album".
  Texts Fields() {
    const ListModel& list = editor().LVData();
    Texts fields;
    for (int row = 0; row < list.row_count(); ++row) {
      fields.push_back(list.Cell(row, kDataArtist) + "|" + list.Cell(row, kDataTitle) + "|" +
                       list.Cell(row, kDataAlbum));
    }
    return fields;
  }
  // The fields of a file as the catalog and as the file list hold them.
  std::string Catalogued(const std::string& file_name) {
    std::string fields = "not catalogued";
    main().session().catalog().Walk([&](int, const CatalogRecord& record) {
      if (record.file_name == file_name)
        fields = record.artist + "|" + record.title + "|" + record.album;
    });
    return fields;
  }
  std::string Listed(const std::string& file_name) {
    const ListModel& list = main().LV();
    for (int row = 0; row < list.row_count(); ++row) {
      if (list.Cell(row, kColFileName) != file_name) continue;
      return list.Cell(row, kColArtist) + "|" + list.Cell(row, kColTitle) + "|" +
             list.Cell(row, kColAlbum);
    }
    return "not listed";
  }
  std::string Inputs() {
    return editor().tArt() + "|" + editor().tTitle() + "|" + editor().tAlb() + "|" +
           editor().tFile();
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
  main().Run(MainCommand::kSendData);
  EXPECT_EQ(Rows(editor().LVData()),
            (Texts{"Artist - Song|old artist|old title|Old Album|C:\\Music\\",
                   "Song|x|y|z|C:\\Music\\"}));
  EXPECT_EQ(editor().LVData().headers(), (Texts{"File Name", "Artist ", "Title", "Album", "Path"}));
  EXPECT_EQ(main().view().selected_tab, kDataEditorTab);
  EXPECT_TRUE(main().view().data_editor_shown());
  EXPECT_EQ(ui().Status(2), "Total: 2 file(s)");
  EXPECT_TRUE(ui().Messages().empty());

  // A file that is not MP3 empties the editor and sends nothing.
  main().SSTab1_Click(kScanTab);
  Select({"Song.mp3", "notes.txt"});
  main().Run(MainCommand::kSendData);
  EXPECT_EQ(Shown(), Texts{"notes.txt is not a MP3 file. This option is available only on MP3 data "
                           "file.|Tallymere|stop|OK"});
  EXPECT_EQ(editor().LVData().row_count(), 0);
  EXPECT_EQ(main().view().selected_tab, kScanTab);
}

TEST_F(DataFieldEditorTest, TheTabHidesTheFileListAndTheToolbarUntilItIsLeft) {
  const MainCommandState& commands = main().commands();
  ASSERT_TRUE(commands.ButtonEnabled(main_toolbar::kSaveFile));
  editor().set_Option1(false);
  editor().set_chkArt(true);
  editor().set_chkAlbum(false);

  main().SSTab1_Click(kDataEditorTab);
  EXPECT_TRUE(main().view().data_editor_shown());
  EXPECT_FALSE(commands.toolbar_enabled());
  for (int button = 1; button <= main_toolbar::kLast; ++button) {
    EXPECT_FALSE(commands.ButtonEnabled(button)) << button;
  }
  // Entering the tab: "Apply to All", and Enter sets the Album only.
  EXPECT_EQ(std::vector<bool>(
                {editor().Option1(), editor().chkArt(), editor().chkTitle(), editor().chkAlbum()}),
            std::vector<bool>({true, false, false, true}));
  EXPECT_TRUE(commands.Enabled(MainCommand::kSaveFile));  // the menus stay

  main().SSTab1_Click(kPlaylistTab);
  EXPECT_FALSE(main().view().data_editor_shown());
  EXPECT_TRUE(commands.ButtonEnabled(main_toolbar::kSaveFile));
  EXPECT_TRUE(commands.ButtonEnabled(main_toolbar::kScan));
  EXPECT_FALSE(commands.ButtonEnabled(3));  // a gap in the toolbar stays one

  // Open from the editor's tab brings back the first tab and the toolbar.
  main().SSTab1_Click(kDataEditorTab);
  ui().AnswerOpenFile(std::nullopt);
  main().Run(MainCommand::kLoad);
  EXPECT_EQ(main().view().selected_tab, kScanTab);
  EXPECT_TRUE(commands.ButtonEnabled(main_toolbar::kLoad));

  // New disables the tab: it can no longer be chosen.
  main().Run(MainCommand::kNew);
  main().SSTab1_Click(kDataEditorTab);
  EXPECT_EQ(main().view().selected_tab, kScanTab);
  EXPECT_TRUE(commands.toolbar_enabled());
}

TEST_F(DataFieldEditorTest, ClickingAnEntryShowsItsFieldsAndRemovingEntriesClearsThem) {
  Send();
  editor().LVData_ItemClick(3);
  EXPECT_EQ(Inputs(), "x|y|z|Song.mp3");
  EXPECT_EQ(ui().Status(1) + "|" + ui().Status(2), "C:\\Music\\Song.mp3|Total: 4 file(s)");

  // Removing entries clears the input boxes.
  editor().LVData_ItemClick(0);
  editor().LVData().SelectOnly(0);
  editor().mnuPop3Del_Click();
  EXPECT_EQ(editor().LVData().row_count(), 3);
  EXPECT_EQ(editor().LVData().Cell(0, kDataFileName), "Artist - Song");
  EXPECT_EQ(Inputs(), "|||");
  editor().LVData_ItemClick(0);
  editor().mnuPop3DelAll_Click();
  EXPECT_EQ(editor().LVData().row_count(), 0);
  EXPECT_EQ(editor().tFile(), "");
}

TEST_F(DataFieldEditorTest, UseFileNameSplitsNamesAndReportsThoseItCannot) {
  Send();
  editor().set_tArt("typed");
  editor().mnuUse_Click();
  // "01" is no album; "Song" cannot be split and stays.
  EXPECT_EQ(Fields(),
            (Texts{"Artist|Song|Kept Album", "Artist|Song|Old Album", "Artist|Song|Vol", "x|y|z"}));
  EXPECT_EQ(editor().tArt(), "");
  EXPECT_EQ(Shown(), Texts{"Unable to determin fields in Song.mp3|MP3 Utilities|stop|OK"});

  // One separator with a blank title keeps it; four are refused.
  ui().ClearCalls();
  OpenSongs({{"A -  B.mp3", 1, ""}, {"A - B - C - D - E.mp3", 1, ""}, {"Keep.mp3", 1, ""}});
  Send({"A -  B.mp3", "A - B - C - D - E.mp3", "Keep.mp3"});
  SelectEntries({0, 1});
  editor().cmdUse_Click();
  EXPECT_EQ(Fields()[0], "A| B|");
  EXPECT_EQ(ui().MessageTexts(), Texts{"Unable to determin fields in A - B - C - D - E.mp3"});
}

TEST_F(DataFieldEditorTest, EnterAndTheSwapsChangeTheEntriesInScope) {
  Send();
  editor().set_tArt("New Artist");
  editor().set_tTitle("New Title");
  editor().set_tAlb("New Album");
  editor().cmdEnter_Click();  // tab defaults: every entry, the Album only
  EXPECT_EQ(Fields(), (Texts{"||New Album", "old artist|old title|New Album", "||New Album",
                             "x|y|New Album"}));
  EXPECT_EQ(Inputs(), "|||");

  SelectEntries({1});
  editor().set_chkArt(true);
  editor().set_chkTitle(true);
  editor().set_chkAlbum(false);
  editor().set_tArt("Ann");
  editor().set_tTitle("Two");
  editor().cmdEnter_Click();
  EXPECT_EQ(Fields()[1] + " " + Fields()[3], "Ann|Two|New Album x|y|New Album");

  // The swaps take the same scope: every entry, then the selected one.
  editor().set_Option1(true);
  editor().cmdAtoT_Click();
  EXPECT_EQ(Fields()[1] + " " + Fields()[3], "Two|Ann|New Album y|x|New Album");
  SelectEntries({3});
  editor().cmdTtoA_Click();
  EXPECT_EQ(Fields()[1] + " " + Fields()[3], "Two|Ann|New Album y|New Album|x");
}

TEST_F(DataFieldEditorTest, UpdateWritesTheRecordsAndTheFileListShowsThemAtOnce) {
  Send();
  editor().mnuUse_Click();
  ui().ClearCalls();
  ui().AnswerMessage(Answer::kNo);
  editor().cmdUpdata_Click();
  EXPECT_EQ(Shown(),
            Texts{"Data has been updated, Clear all files in list?|Tallymere|question|YesNo"});
  EXPECT_EQ(ui().busy_depth(), 0);
  EXPECT_TRUE(main().session().changed());
  EXPECT_EQ(Catalogued("Artist - Song.mp3"), "Artist|Song|Old Album");
  EXPECT_EQ(Catalogued("Artist - Vol - Song.mp3"), "Artist|Song|Vol");
  EXPECT_EQ(Catalogued("Song.mp3"), "x|y|z");
  EXPECT_EQ(editor().LVData().row_count(), 4);  // No keeps the entries
  EXPECT_EQ(Listed("Artist - Vol - Song.mp3"), "Artist|Song|Vol");
  EXPECT_EQ(Listed("Artist - 01 - Song.mp3"), "Artist|Song|Kept Album");

  // Clear Editable Fields, then Update: the records get empty fields; Yes
  // empties the editor.
  editor().mnuClearField_Click();
  ui().AnswerMessage(Answer::kYes);
  editor().cmdUpdata_Click();
  EXPECT_EQ(Catalogued("Song.mp3") + " " + Catalogued("Artist - Song.mp3"), "|| ||");
  EXPECT_EQ(Listed("Song.mp3"), "||");
  EXPECT_EQ(editor().LVData().row_count(), 0);

  // Nothing to update: no question.
  ui().ClearCalls();
  editor().cmdUpdata_Click();
  EXPECT_TRUE(ui().calls().empty());
}

TEST_F(DataFieldEditorTest, UpdateMatchesLetterCaseExactlyAndSetsTheChangedFlagAnyway) {
  OpenSongs({{"SONG.mp3", 1, "", "first"}, {"Song.mp3", 1, "", "second"}});
  Send({"Song.mp3"});
  editor().set_tArt("New");
  editor().set_chkArt(true);
  editor().cmdEnter_Click();
  ui().AnswerMessage(Answer::kNo);
  editor().cmdUpdata_Click();
  EXPECT_EQ(Catalogued("SONG.mp3") + " " + Catalogued("Song.mp3"), "first|| New||");

  // The catalog's file now differs from the entry in letter case only: no
  // record matches, and the catalog is marked changed all the same.
  main().session().catalog().MutableRecord(2).file_name = "song.mp3";
  main().session().set_changed(false);
  editor().set_tArt("Newer");
  editor().cmdEnter_Click();
  ui().AnswerMessage(Answer::kNo);
  editor().cmdUpdata_Click();
  EXPECT_EQ(Catalogued("song.mp3"), "New||");
  EXPECT_TRUE(main().session().changed());
}

}  // namespace
}  // namespace tallymere
