// MP3 Utilities: loading a batch from a folder tree or from the catalog,
// the details of an entry, selection, removal and the enabled commands.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "windows/mp3_utilities/batch_entry.h"
#include "windows/mp3_utilities/frm_id3_fixture.h"

namespace tallymere {
namespace {

using namespace testing;  // NOLINT: fixture builders

TEST_F(FrmId3Test, OpensEmptyWithTheFirstOptionsAndLoadsTheChosenFolder) {
  EXPECT_EQ(Enabled(), kNothingLoaded);
  const auto enabled =
      std::count_if(kId3Commands.begin(), kId3Commands.end(),
                    [this](const auto& item) { return id3().commands().Enabled(item.id); });
  EXPECT_EQ(enabled, kId3Commands.size() - 5);  // all but the five naming items
  EXPECT_TRUE(id3().optSelect() && id3().mnuLog_checked());
  EXPECT_FALSE(id3().mnuCom_checked() || id3().mnuAlbum_checked());
  EXPECT_EQ(batch().headers(), (Texts{"Original", "New", "Path", "Old Name"}));
  EXPECT_EQ(id3().Label9() + id3().Label10() + id3().Label11() + id3().Label12(),
            "Size:Version:Bitrate:Sample Rate:");

  // The folder answer is completed with its "\"; one that cannot be listed is reported.
  File("c", "top.mp3", Audio());
  LoadFolder("C:");
  EXPECT_EQ(Column(kBatchPath), (Texts{"C:\\"}));
  Song("a.mp3");
  LoadFolder("C:\\Music\\");
  EXPECT_EQ(Column(kBatchPath), (Texts{"C:\\Music\\"}));
  LoadFolder("C:\\Nowhere");
  EXPECT_EQ(Message(0).substr(0, 19), "MP3 Utilities/stop/");
  EXPECT_NE(Message(0).find("C:\\Nowhere\\"), std::string::npos);
  EXPECT_EQ(id3().status(2), "0 file(s)");
  EXPECT_EQ(Enabled(), kNothingLoaded);
}

TEST_F(FrmId3Test, ListsTheMp3FilesOfATreeEachWithItsFolder) {
  LoadSongs(
      {"Song.MP3", "b.mp3", "notmp3", "readme.txt", ".hidden.mp3", "Sub/d.mp3", "Sub/Deep/c.mp3"});
  EXPECT_EQ(Column(kBatchOriginal), (Texts{"b", "c", "d", "Song"}));
  EXPECT_EQ(Column(kBatchNew), Column(kBatchOriginal));
  EXPECT_EQ(Column(kBatchPath),
            (Texts{"C:\\Music\\", "C:\\Music\\Sub\\Deep\\", "C:\\Music\\Sub\\", "C:\\Music\\"}));
  EXPECT_EQ(Column(kBatchOldName), (Texts{"", "", "", ""}));
  EXPECT_EQ(id3().status(2), "4 file(s)");
  EXPECT_EQ(id3().entry_counter(), 5);
  EXPECT_EQ(Texts(id3().CurNames().begin(), id3().CurNames().begin() + 5),
            (Texts{"b", "c", "d", "Song", ""}));
  EXPECT_EQ(id3().PrevNames(), id3().CurNames());
  EXPECT_EQ(ui().calls()[1].title, "Choose Drive or Folder to Add to Batch");
  EXPECT_EQ(ui().yield_count(), 2);  // once per subfolder name
  EXPECT_EQ(ui().busy_depth(), 0);
  EXPECT_EQ(Enabled(), kLoaded);

  // The entry keeps the extension's letter case, so it still finds its file.
  Click("Song");
  EXPECT_EQ(id3().CurrentFile(), "C:\\Music\\Song.MP3");
}

TEST_F(FrmId3Test, ListsABigTreeInFullWithSnapshotsForTheFirst3000) {
  for (int i = 0; i <= kNameSnapshotSize; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "s%04d.mp3", i);
    Song(name, "x");
  }
  LoadFolder();
  EXPECT_EQ(batch().row_count(), 3001);
  EXPECT_EQ(id3().status(2), "3001 file(s)");
  EXPECT_EQ(Message(0), "MP3 Utilities/stop/ok: " + BatchLimitText(3001));
  EXPECT_EQ(id3().CurNames().size(), 3000u);
  EXPECT_EQ(id3().CurNames()[2999], "s2999");
}

TEST_F(FrmId3Test, ShowsTheDetailsAndTagOfAClickedEntry) {
  Song("tagged.mp3", TaggedAudio({"Title", "Artist", "Album", "1999", "Com", 17}));
  Song("padded.mp3", TaggedAudio({.title = "Padded", .pad = '\0'}));
  Song("noheader.mp3", Zeros(500));
  Song("oddrate.mp3", Frame(0xFB, 0x9C));
  LoadFolder();

  Click("tagged");
  EXPECT_EQ(id3().status(1), "C:\\Music\\tagged.mp3");
  EXPECT_EQ(id3().Label9() + "|" + id3().Label10() + "|" + id3().Label11() + "|" + id3().Label12(),
            "Size: " + std::to_string(Audio().size() + 128) +
                " bytes|Version: MPEG 1.0 , layer III|Bitrate: 128 kbps|Sample Rate: 44100Hz");
  const TagEditorValues& editor = id3().tag_editor();
  EXPECT_EQ(
      editor.title + editor.artist + editor.album + editor.year + editor.comment + editor.genre,
      "TitleArtistAlbum1999ComRock");
  EXPECT_EQ(id3().txtDisplay(), "tagged");
  Click("padded");
  EXPECT_EQ(editor.title, "Padded");  // shown up to the first NUL
  Click("oddrate");
  EXPECT_EQ(id3().Label12(), "Sample Rate: unknown");
  Click("noheader");
  EXPECT_EQ(id3().Label10() + "|" + id3().Label11() + "|" + id3().Label12(),
            "Version: |Bitrate: -|Sample Rate: ");

  // A file gone since loading shows only the emptied fields.
  std::filesystem::remove(MusicPath("tagged.mp3"));
  Click("tagged");
  EXPECT_EQ(id3().Label9() + "|" + id3().Label11(), "Size: |Bitrate: ");
  EXPECT_EQ(id3().status(1), "C:\\Music\\noheader.mp3");
}

TEST_F(FrmId3Test, CountsSelectedEntriesAndRemovesThem) {
  LoadSongs({"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"});
  for (int row : {0, 2, 4}) batch().SetSelected(row, true);
  id3().LvOld_ItemClick(4);
  EXPECT_EQ(id3().status(2), "3 selected");

  batch().ClearSelection();
  for (int row : {1, 3}) batch().SetSelected(row, true);
  id3().mnuRemv_Click();
  EXPECT_EQ(id3().status(2), "3 file(s)");
  EXPECT_EQ(Column(kBatchOriginal), (Texts{"a", "c", "e"}));
  // The snapshots follow their entries.
  EXPECT_EQ(Texts(id3().CurNames().begin(), id3().CurNames().begin() + 4),
            (Texts{"a", "c", "e", ""}));

  batch().SetSelected(0, true);
  id3().LvOld_KeyDown(kKeyDelete);
  EXPECT_EQ(Column(kBatchOriginal), (Texts{"c", "e"}));
  EXPECT_TRUE(id3().LvOld_MouseUp(kRightButton));
  EXPECT_FALSE(id3().LvOld_MouseUp(kLeftButton));

  id3().set_txtDisplay("x");
  id3().mnuPop2Rem_Click();  // Clear All Files
  EXPECT_EQ(batch().row_count() + id3().txtDisplay().size() + id3().status(2).size(), 0u);
  EXPECT_EQ(Enabled(), kNothingLoaded);
}

TEST_F(FrmId3Test, FilesOfADiskThatIsNotHereAreNamedByTheirDiskAndTheOthersSent) {
  Song("here.mp3");
  CatalogSong("here.mp3", true);
  for (const char* name : {"away1.mp3", "away2.mp3"})
    CatalogSong(name, true, "E:\\Songs\\", "Mix CD");
  main().Run(MainCommand::kId3);
  EXPECT_EQ(ui().MessageTexts(),
            Texts{"Please insert disk labeled:   \"Mix CD\"  into  \"E:\\\" drive."});
  EXPECT_TRUE(id3().LinkedToCatalog());
  EXPECT_EQ(Column(kBatchOriginal), Texts{"here"});
}

TEST_F(FrmId3Test, SendsTheSelectedCatalogFilesToTheWindowAndNothingElse) {
  Song("b.mp3", Zeros(300));
  Song("a.mp3");
  CatalogSong("b.mp3", true);
  CatalogSong("c.mp3", false);
  CatalogSong("a.mp3", true);
  CatalogSong("notes.txt", true);
  main().Run(MainCommand::kId3);

  EXPECT_EQ(ui().MessageTexts(),
            Texts{"MP3 Utilities works on MP3 files only; this file stays out: notes.txt."});
  EXPECT_TRUE(id3().LinkedToCatalog());
  EXPECT_EQ(Column(kBatchOriginal), (Texts{"a", "b"}));
  EXPECT_EQ(Column(kBatchPath), (Texts{"C:\\Music\\", "C:\\Music\\"}));
  EXPECT_EQ(id3().CurNames()[1], "b");
  // The details of the first file sent, which has no frame header.
  EXPECT_EQ(id3().CurrentFile(), "C:\\Music\\b.mp3");
  EXPECT_EQ(id3().Label11(), "Bitrate: ---");
  EXPECT_EQ(Enabled(), kLoaded);

  id3().close_window = [this] { id3().Form_Unload(); };
  id3().mnuExit_Click();
  EXPECT_FALSE(id3().LinkedToCatalog());
  main().Run(MainCommand::kId);  // MP3 Utilities from the File menu is not linked
  EXPECT_FALSE(id3().LinkedToCatalog());
  EXPECT_EQ(batch().row_count(), 0);

  // Nothing is sent for a missing or empty file or no selection, and it says why.
  main().session().catalog().Erase();
  main().LV().Clear();
  ui().ClearCalls();
  CatalogSong("gone.mp3", true);
  main().Run(MainCommand::kId3);
  EXPECT_FALSE(main().session().linked_to_mp3_utilities());
  Song("empty.mp3", "");
  main().LV().ClearSelection();
  CatalogSong("empty.mp3", true);
  main().Run(MainCommand::kId3);
  EXPECT_FALSE(main().session().linked_to_mp3_utilities());
  main().LV().ClearSelection();
  main().Run(MainCommand::kId3);
  EXPECT_EQ(
      (Texts{Message(0), Message(1), Message(2)}),
      (Texts{"Tallymere/information/ok: 1 of the selected files are no longer on their "
             "drive and are not sent.",
             "Tallymere/stop/ok: Bad file record.", "Tallymere/stop/ok: No file is selected."}));
  EXPECT_EQ(batch().row_count(), 0);
}

}  // namespace
}  // namespace tallymere
