// The Playlist Editor through the scripted desktop: songs sent from the file
// list, the duplicate questions, saving, opening, playing, deleting, sorting
// and the totals in the status bar.

#include "windows/main/playlist_editor.h"

#include <gtest/gtest.h>

#include "windows/main/editors_fixture.h"

namespace tallymere {
namespace {

using testing::EditorsTest;
using testing::ReadFileBytes;
using testing::UiCall;
using Texts = std::vector<std::string>;

constexpr int32_t kMegabyte = 1048576;

class PlaylistEditorTest : public EditorsTest {
 protected:
  void SetUp() override {
    OpenSongs({{"a.mp3", kMegabyte, "03:45"},
               {"b.mp3", 2 * kMegabyte, "02:30"},
               {"c.wav", 10, "---"},
               {"D.MP3", 30, "---"},
               {"e.mp3", 40, ""}});  // catalogued without MP3 information
  }
  PlaylistEditor& playlist() { return main().playlist(); }
  void Send(const Texts& names) {
    Select(names);
    main().Run(MainCommand::kAddPlay);
  }
  // The texts status panel `panel` was given, in order.
  Texts StatusTexts(int panel) const {
    Texts texts;
    for (const UiCall& call : Calls("SetStatus")) {
      if (call.panel == panel) texts.push_back(call.text);
    }
    return texts;
  }
  std::string Native(const std::string& relative) { return folder().Path("c/" + relative); }
  // The last file the desktop was asked to open, as "verb path".
  std::string ShellOpened() const {
    const std::vector<UiCall> opened = Calls("ShellOpen");
    return opened.empty() ? "" : opened.back().extra + " " + opened.back().text;
  }
  // A file dialog as "op|title|filter|initial name".
  static std::string Dialog(const UiCall& call) {
    return call.op + "|" + call.title + "|" + call.extra + "|" + call.text;
  }
};

TEST_F(PlaylistEditorTest, SendAddsTheSelectedSongsAndShowsTheirTotals) {
  Send({"a.mp3", "b.mp3"});
  EXPECT_EQ(Rows(playlist().LVP()),
            (Texts{"C:\\Music\\|a.mp3|03:45|1048576", "C:\\Music\\|b.mp3|02:30|2097152"}));
  EXPECT_EQ(main().LV().SelectedCount(), 0);
  EXPECT_EQ(main().view().selected_tab, kPlaylistTab);
  EXPECT_TRUE(playlist().TakeFocusRequest());
  EXPECT_EQ(Statuses(), "Total: 2 songs in playlist.|Total : 3.00 MB|Time: 6:15");
  EXPECT_TRUE(ui().Messages().empty());

  // "---" becomes 00:00, which marks the total as missing a time; a song
  // without MP3 information keeps its empty time. ".MP3" is an MP3 file.
  Send({"D.MP3", "e.mp3"});
  EXPECT_EQ(Rows(playlist().LVP())[2], "C:\\Music\\|D.MP3|00:00|30");
  EXPECT_EQ(Rows(playlist().LVP())[3], "C:\\Music\\|e.mp3||40");
  EXPECT_EQ(Statuses(), "Total: 4 songs in playlist.|Total : 3.00 MB|Time: 6:15 + ?");

  // A file that is not MP3 stops the send after the songs before it.
  playlist().cmdClearAll_Click();
  ui().ClearCalls();
  main().SSTab1_Click(kScanTab);
  Send({"a.mp3", "c.wav", "e.mp3"});
  EXPECT_EQ(Shown(), Texts{"Selected is not a MP3 file.|Tallymere|stop|OK"});
  EXPECT_EQ(Rows(playlist().LVP()), Texts{"C:\\Music\\|a.mp3|03:45|1048576"});
  EXPECT_EQ(main().LV().SelectedCount(), 2);  // c.wav and e.mp3 stay selected
  EXPECT_EQ(main().view().selected_tab, kScanTab);
}

TEST_F(PlaylistEditorTest, DuplicateQuestionsYesAddsNoSkipsThatRowCancelAddsNothing) {
  Send({"a.mp3", "b.mp3"});
  ui().ClearCalls();

  ui().AnswerMessage(Answer::kNo).AnswerMessage(Answer::kYes);
  Send({"a.mp3", "b.mp3", "e.mp3"});
  EXPECT_EQ(Shown(),
            (Texts{"a.mp3 is a duplicate, proceed anyway?|Tallymere|question|YesNoCancel",
                   "b.mp3 is a duplicate, proceed anyway?|Tallymere|question|YesNoCancel"}));
  EXPECT_EQ(Rows(playlist().LVP()),
            (Texts{"C:\\Music\\|a.mp3|03:45|1048576", "C:\\Music\\|b.mp3|02:30|2097152",
                   "C:\\Music\\|b.mp3|02:30|2097152", "C:\\Music\\|e.mp3||40"}));
  EXPECT_EQ(main().LV().SelectedCount(), 0);

  // b.mp3 stands twice now: Yes to the first match asks about the second.
  // Cancel then ends the command: not even a.mp3, examined and let through
  // before, is added, and the tab stays where it was.
  main().SSTab1_Click(kScanTab);
  ui().ClearCalls();
  ui().AnswerMessage(Answer::kYes).AnswerMessage(Answer::kYes).AnswerMessage(Answer::kCancel);
  Send({"a.mp3", "b.mp3"});
  EXPECT_EQ(ui().MessageTexts(),
            (Texts{"a.mp3 is a duplicate, proceed anyway?", "b.mp3 is a duplicate, proceed anyway?",
                   "b.mp3 is a duplicate, proceed anyway?"}));
  EXPECT_EQ(playlist().LVP().row_count(), 4);
  EXPECT_EQ(main().view().selected_tab, kScanTab);
  EXPECT_EQ(main().LV().SelectedCount(), 2);

  // Letter case does not hide a duplicate.
  playlist().LVP().SetCell(0, kPlaySongTitle, "d.mp3");
  ui().ClearCalls();
  ui().AnswerMessage(Answer::kNo);
  Send({"D.MP3"});
  EXPECT_EQ(ui().MessageTexts(), Texts{"D.MP3 is a duplicate, proceed anyway?"});
  EXPECT_EQ(playlist().LVP().row_count(), 4);
}

TEST_F(PlaylistEditorTest, ASavedPlaylistHoldsNativePathsAndReopensToTheSameSongs) {
  File("c", "Music/a.mp3", std::string(100, 'a'));  // the sizes on disk now
  File("c", "Music/b.mp3", std::string(200, 'b'));
  File("c", "Music/e.mp3", std::string(50, 'e'));  // D.MP3 is gone from the disk
  folder().MakeFolder("lists");
  Send({"a.mp3", "b.mp3", "D.MP3", "e.mp3"});
  const std::string target = folder().Path("lists/mix");
  ui().ClearCalls();
  ui().AnswerSaveFile(target);
  playlist().cmdPlay_Click();

  // No playlist is remembered yet: the dialog starts without a name, beside
  // the catalog's data file.
  EXPECT_EQ(Dialog(ui().calls().front()),
            "ChooseSaveFile|Save Playlist|*.m3u|" + folder().path() + "/");
  EXPECT_EQ(Shown(),
            Texts{"Playlist has been saved as " + target + ".m3u|Tallymere|information|OK"});
  EXPECT_EQ(playlist().playlist_path(), target + ".m3u");
  EXPECT_EQ(ReadFileBytes(target + ".m3u"),
            "#EXTM3U\r\n#EXTINF:225,a\r\n" + Native("Music/a.mp3") + "\r\n#EXTINF:150,b\r\n" +
                Native("Music/b.mp3") + "\r\n#EXTINF:0,D\r\n" + Native("Music/D.MP3") +
                "\r\n#EXTINF:0,e\r\n" + Native("Music/e.mp3") + "\r\n");

  playlist().cmdClearAll_Click();
  ui().ClearCalls();
  ui().AnswerOpenFile(target + ".m3u");
  playlist().cmdOpenPlay_Click();
  EXPECT_EQ(Dialog(ui().calls().front()),
            "ChooseOpenFile|Open A List File|*.m3u|" + folder().path() + "/*.m3u");
  // Sizes are read from the disk again, "0" for a file that is missing; the
  // song without a time was saved with 0 seconds.
  EXPECT_EQ(Rows(playlist().LVP()),
            (Texts{"C:\\Music\\|a.mp3|03:45|100", "C:\\Music\\|b.mp3|02:30|200",
                   "C:\\Music\\|D.MP3|00:00|0", "C:\\Music\\|e.mp3|00:00|50"}));
  // The opening totals, then those of the focus the list gets.
  EXPECT_EQ(StatusTexts(1), (Texts{"Total: 4 songs. ", "Total: 4 songs in playlist."}));
  EXPECT_EQ(StatusTexts(2), (Texts{"Total: 0.00 MB", "Total : 0.00 MB"}));
  EXPECT_EQ(StatusTexts(3), (Texts{"Time: 6:15 + ?", "Time: 6:15 + ?"}));
  EXPECT_TRUE(playlist().TakeFocusRequest());
  EXPECT_TRUE(ui().Messages().empty());
}

TEST_F(PlaylistEditorTest, SaveAppendsTheExtensionAndAsksBeforeReplacing) {
  playlist().cmdPlay_Click();  // nothing to save: no dialog
  EXPECT_EQ(Shown(), Texts{"List is empty.|Tallymere|warning|OK"});
  EXPECT_EQ(ui().calls().size(), 1u);

  Send({"a.mp3"});
  ui().ClearCalls();
  ui().AnswerSaveFile(std::nullopt);
  playlist().cmdPlay_Click();  // cancelled: nothing written or remembered
  EXPECT_TRUE(ui().Messages().empty());
  EXPECT_EQ(playlist().playlist_path(), "");

  // The comparison is exact: ".M3U" gets ".m3u" appended.
  const std::string saved = folder().Path("LIST.M3U") + ".m3u";
  ui().AnswerSaveFile(folder().Path("LIST.M3U"));
  playlist().cmdPlay_Click();
  const std::string one_song = ReadFileBytes(saved);
  EXPECT_NE(one_song.find("#EXTINF:225,a"), std::string::npos);

  // Saving again starts from the remembered file, and Cancel at the
  // question writes nothing.
  Send({"b.mp3"});
  ui().ClearCalls();
  ui().AnswerSaveFile(saved).AnswerMessage(Answer::kCancel);
  playlist().cmdPlay_Click();
  EXPECT_EQ(ui().calls().front().text, saved);
  EXPECT_EQ(Shown(),
            Texts{"File name already exist, replace it?.|Save Playlist|information|OKCancel"});
  EXPECT_EQ(ReadFileBytes(saved), one_song);

  ui().AnswerSaveFile(saved).AnswerMessage(Answer::kOk);
  playlist().cmdPlay_Click();
  EXPECT_NE(ReadFileBytes(saved).find("#EXTINF:150,b"), std::string::npos);
  EXPECT_EQ(ui().MessageTexts().back(), "Playlist has been saved as " + saved);
}

TEST_F(PlaylistEditorTest, AFailedSaveSaysSoAndLeavesTheOlderPlaylist) {
  const std::string old_list = File("c", "old.m3u", "#EXTM3U\r\nC:\\x.mp3\r\n");
  Send({"a.mp3"});
  faults().Fail(testing::PlatformCall::kWriteFile, StatusCode::kNoSpace, 1, "old.m3u");
  ui().ClearCalls();
  ui().AnswerSaveFile(old_list).AnswerMessage(Answer::kOk);
  playlist().cmdPlay_Click();
  ASSERT_EQ(ui().Messages().size(), 2u);
  EXPECT_EQ(Shown()[1], "Cannot write \"" + old_list +
                            "\": No space left on device\n\nThe playlist was not written; an older "
                            "file of that name is unchanged.|Tallymere|stop|OK");
  EXPECT_EQ(ReadFileBytes(old_list), "#EXTM3U\r\nC:\\x.mp3\r\n");
  EXPECT_EQ(ui().busy_depth(), 0);

  // Play All on a machine that refuses temp.m3u (a folder of that name)
  // says so and opens nothing.
  folder().MakeFolder("program/temp.m3u");
  ui().ClearCalls();
  playlist().cmdPlaylist_Click();
  ASSERT_EQ(ui().Messages().size(), 1u);
  EXPECT_TRUE(ui().Messages()[0].text.starts_with("Cannot write \"" +
                                                  folder().Path("program/temp.m3u") + "\": "))
      << ui().Messages()[0].text;
  EXPECT_TRUE(ui().Messages()[0].text.ends_with("an older file of that name is unchanged."));
  EXPECT_EQ(ShellOpened(), "");
}

TEST_F(PlaylistEditorTest, PlayAllOpensTempM3uAndDoubleClickTheSelectedSong) {
  playlist().cmdPlaylist_Click();  // empty: nothing at all
  EXPECT_TRUE(ui().calls().empty());

  Send({"b.mp3", "a.mp3"});
  playlist().cmdPlaylist_Click();
  const std::string temp = folder().Path("program/temp.m3u");
  EXPECT_EQ(ShellOpened(), "open " + temp);
  EXPECT_EQ(ReadFileBytes(temp), "#EXTM3U\r\n#EXTINF:225,a\r\n" + Native("Music/a.mp3") +
                                     "\r\n#EXTINF:150,b\r\n" + Native("Music/b.mp3") + "\r\n");
  EXPECT_TRUE(ui().Messages().empty());
  ui().set_shell_result(ShellResult::kNoAssociation);
  playlist().cmdPlaylist_Click();
  EXPECT_EQ(Shown(), Texts{"An error occured.|Tallymere|stop|OK"});

  ui().set_shell_result(ShellResult::kStarted);
  ui().ClearCalls();
  playlist().LVP().ClearSelection();
  playlist().LVP_DblClick();  // nothing selected
  EXPECT_TRUE(ui().calls().empty());
  playlist().LVP().SelectOnly(1);
  playlist().LVP_DblClick();
  EXPECT_EQ(ShellOpened(), "open " + Native("Music/b.mp3"));
  EXPECT_TRUE(ui().Messages().empty());
  ui().set_shell_result(ShellResult::kFileNotFound);
  playlist().LVP_DblClick();
  EXPECT_EQ(ui().MessageTexts(), Texts{"An error occured. Please make sure file exists on path."});
  EXPECT_EQ(ui().Messages()[0].title, "Tallymere");

  // A song of a drive this machine does not have never reaches the desktop.
  ui().AnswerOpenFile(File("c", "far.m3u", "G:\\Away\\far.mp3\r\n"));
  playlist().cmdOpenPlay_Click();
  ui().ClearCalls();
  playlist().LVP().SelectOnly(0);
  playlist().LVP_DblClick();
  EXPECT_EQ(ShellOpened(), "");
  EXPECT_EQ(ui().MessageTexts(), Texts{"An error occured. Please make sure file exists on path."});
}

TEST_F(PlaylistEditorTest, DeleteClearAllAndNewEmptyThePlaylist) {
  Send({"a.mp3", "b.mp3", "D.MP3"});
  playlist().LVP().SelectOnly(0);
  playlist().cmdDelItem_Click();
  EXPECT_EQ(Rows(playlist().LVP()),
            (Texts{"C:\\Music\\|b.mp3|02:30|2097152", "C:\\Music\\|D.MP3|00:00|30"}));
  EXPECT_EQ(Statuses(), "Total: 2 songs. |2.00 MB|Time: 2:30");  // no " + ?" here

  ui().ClearCalls();
  playlist().cmdClearAll_Click();
  EXPECT_EQ(playlist().LVP().row_count(), 0);
  EXPECT_TRUE(ui().calls().empty());

  // New empties and hides the playlist; grid lines reach it.
  EXPECT_TRUE(main().view().playlist_visible);
  main().Run(MainCommand::kGrid);
  EXPECT_TRUE(playlist().LVP().grid_lines());
  Send({"a.mp3"});
  main().Run(MainCommand::kNew);
  EXPECT_EQ(playlist().LVP().row_count(), 0);
  EXPECT_FALSE(main().view().playlist_visible);
  EXPECT_FALSE(main().view().tab_enabled.at(kPlaylistTab));
  EXPECT_EQ(main().view().selected_tab, kScanTab);
}

TEST_F(PlaylistEditorTest, ColumnClicksSortTimeAndSizeByValue) {
  OpenSongs({{"x.mp3", 1000, "100:00"}, {"y.mp3", 30, "20:00"}, {"z.mp3", 200, "00:05"}});
  Send({"x.mp3", "y.mp3", "z.mp3"});
  const auto titles = [this] {
    std::string texts;
    for (int row = 0; row < playlist().LVP().row_count(); ++row)
      texts += playlist().LVP().Cell(row, kPlaySongTitle) + " ";
    return texts;
  };
  playlist().LVP_ColumnClick(kPlayTime + 1);
  EXPECT_EQ(titles(), "z.mp3 y.mp3 x.mp3 ");
  playlist().LVP_ColumnClick(kPlayTime + 1);
  EXPECT_EQ(titles(), "x.mp3 y.mp3 z.mp3 ");
  playlist().LVP_ColumnClick(kPlaySize + 1);  // another column starts ascending
  EXPECT_EQ(titles(), "y.mp3 z.mp3 x.mp3 ");
  EXPECT_EQ(playlist().last_sort_column(), kPlaySize);
  EXPECT_EQ(ui().Status(3), "Time: 120:05");
}

TEST_F(PlaylistEditorTest, OpensWhatOtherPlayersWriteAndSaysWhenItCannotRead) {
  // The reading of the lines themselves is the M3U reader's own tests' affair.
  File("c", "Music/a b.mp3", std::string(10, 'x'));
  File("c", "Music/c.mp3", std::string(20, 'x'));
  const std::string list = File("c", "other.m3u",
                                "#EXTM3U\n#EXTINF:225,a b\nfile://" + Native("Music/a%20b.mp3") +
                                    "\n" + Native("Music/c.mp3") + "\n");
  ui().AnswerOpenFile(list);
  playlist().cmdOpenPlay_Click();
  EXPECT_EQ(Rows(playlist().LVP()),
            (Texts{"C:\\Music\\|a b.mp3|03:45|10", "C:\\Music\\|c.mp3|03:45|20"}));
  EXPECT_EQ(playlist().playlist_path(), list);
  EXPECT_TRUE(ui().Messages().empty());

  // Opening replaces the playlist, even with nothing the catalog could hold.
  ui().AnswerOpenFile(File("c", "relative.m3u", "#EXTINF:5,x\r\nx.mp3\r\nPop/y.mp3\r\n"));
  playlist().cmdOpenPlay_Click();
  EXPECT_EQ(playlist().LVP().row_count(), 0);
  EXPECT_EQ(Statuses(), "Total: 0 songs in playlist.|Total : 0.00 MB|Time: 0:00");

  // An unreadable playlist says so.
  Send({"a.mp3"});
  ui().ClearCalls();
  const std::string missing = folder().Path("gone.m3u");
  ui().AnswerOpenFile(missing);
  playlist().cmdOpenPlay_Click();
  EXPECT_EQ(Shown(), Texts{"Cannot read \"" + missing +
                           "\": No such file or directory\n\nThe playlist was not "
                           "opened.|Tallymere|stop|OK"});
  EXPECT_EQ(playlist().LVP().row_count(), 0);
  EXPECT_EQ(playlist().playlist_path(), missing);

  ui().AnswerOpenFile(std::nullopt);
  Send({"a.mp3"});
  playlist().cmdOpenPlay_Click();  // cancelled: the playlist stays
  EXPECT_EQ(playlist().LVP().row_count(), 1);
}

}  // namespace
}  // namespace tallymere
