// The main window from start to save: start-up, the typical scan-and-save road,
// the File menu and shutdown, through the scripted desktop.

#include "windows/main/frm_main.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "catalog/data_file.h"
#include "common/format.h"
#include "mp3/mp3_fixtures.h"
#include "windows/main/catalog_window_fixture.h"

namespace tallymere {
namespace {

using testing::Frame;
using testing::Id3v1Block;
using testing::ReadFileBytes;
using testing::Texts;
using testing::UiCall;

std::string Song(const std::string& title, const std::string& artist) {
  return Frame() + Frame() + Id3v1Block({title, artist, "Album", "1999", "", 17});
}

class FrmMainTest : public testing::CatalogWindowTest {
 protected:
  // Saves a catalog of one 1 MB file C:\Docs\a.txt of all file types there.
  void SaveDocs(const std::string& path) {
    CatalogTable table;
    table.SetRecord(1, Record("C:\\", "C:\\Docs\\", "a.txt", 1048576));
    table.SetRecord(2, MakeTrailer("*.*", 0, "then"));
    ASSERT_TRUE(SaveDataFile(platform(), table, path).ok());
  }
  void ScanOneSong() {
    File("c", "Music/a.mp3", Song("A", "B"));
    ScanFolder("C:\\Music");
  }
};

TEST_F(FrmMainTest, StartAndNewShowTheDrivesAndNoCatalog) {
  const auto expect_no_catalog = [&] {
    EXPECT_EQ(NodeTexts(), (Texts{"Untitled.mpd", "C:\\", "D:\\", "E:\\", "F:\\"}));
    const TreeNode& root = main().tvAlbum().node(Node("Untitled.mpd"));
    EXPECT_EQ(root.image, "mycomp");
    EXPECT_TRUE(root.expanded);
    EXPECT_EQ(main().view().caption + "|" + main().session().data_file_path(),
              "Tallymere - Untitled|Untitled.mpd");
    EXPECT_EQ(main().session().catalog().CatalogEnd(), 1);
    EXPECT_FALSE(main().session().changed());
    EXPECT_EQ(ui().Status(1) + "|" + ui().Status(2), "Ready|");
    for (MainCommand command : {MainCommand::kNew, MainCommand::kSaveFile, MainCommand::kId3})
      EXPECT_FALSE(main().commands().Enabled(command)) << EntryOf(kMainCommands, command).name;
    EXPECT_TRUE(main().commands().Enabled(MainCommand::kLoad));
    for (int button = 1; button <= main_toolbar::kLast; ++button) {
      EXPECT_EQ(main().commands().ButtonEnabled(button),
                button == 1 || button == 5 || button == 16 || button >= 19)
          << button;
    }
    EXPECT_FALSE(main().view().tab_enabled.at(1));
  };
  expect_no_catalog();
  EXPECT_EQ(main().tvAlbum().node(Node("E:\\")).image, "cdrom");
  // A removable drive that is no floppy drive is drawn as a removable drive.
  EXPECT_EQ(main().tvAlbum().node(Node("F:\\")).image, "removable");
  EXPECT_EQ(ReadFileBytes(folder().Path("program/Data/lists.dat")).substr(0, 13),
            "False\r\nTrue\r\n");
  EXPECT_EQ(main().session().settings(), Settings());
  EXPECT_EQ(ui().busy_depth(), 0);
  EXPECT_EQ(main().LV().width(kColPath), 0);
  EXPECT_EQ(main().find_panel().cmbType(), "*.*");

  ScanOneSong();
  ui().AnswerMessage(Answer::kNo);
  main().Run(MainCommand::kNew);
  expect_no_catalog();
}

TEST_F(FrmMainTest, ScansAFolderShowsItAndSavesItUnderAChosenName) {
  File("c", "Music/Pop/one.mp3", Song("One", "Ann"));
  File("c", "Music/Pop/two.mp3", Song("Two", "Bob"));
  File("c", "Music/Rock/three.mp3", Song("Three", "Cy"));
  File("c", "Music/notes.txt");

  ScanFolder("C:\\Music");
  EXPECT_EQ(ui().Messages().size(), 0u);
  EXPECT_EQ(main().view().caption + "|" + main().session().data_file_path(),
            "Tallymere - Untitled|" + folder().Path("program") + "/Untitled.mpd");
  EXPECT_TRUE(main().session().changed());
  EXPECT_TRUE(main().lstBox().empty());
  EXPECT_EQ(main().session().catalog().FileCount(), 3);
  EXPECT_EQ(main().session().catalog().Record(4).file_name, "*.mp3");
  // Files keep the order the folder lists them in; folders are sorted.
  EXPECT_EQ(main().session().catalog().Record(3).file_name, "three.mp3");
  const CatalogRecord& one = main().session().catalog().Record(
      main().session().catalog().Record(1).file_name == "one.mp3" ? 1 : 2);
  EXPECT_EQ(
      one.file_name + "|" + one.bitrate + "|" + one.artist + "|" + one.title + "|" + one.disk_label,
      "one.mp3|128|Ann|One|C:\\");
  EXPECT_EQ(Statuses(), " Ready |Total: 3 files|0.00 MB");
  EXPECT_EQ(NodeTexts(), (Texts{main().session().data_file_path(), "C:", "Music", "Pop", "Rock"}));
  EXPECT_EQ(main().tvAlbum().node(Node("C:\\Music\\Pop\\")).image, "fclosed");
  EXPECT_TRUE(main().commands().Enabled(MainCommand::kSaveFile));
  EXPECT_TRUE(main().commands().Enabled(MainCommand::kId3));
  EXPECT_FALSE(main().commands().Enabled(MainCommand::kReport));
  EXPECT_TRUE(main().view().tab_enabled.at(1));
  EXPECT_EQ(main().LV().width(kColArtist), 1500);
  EXPECT_EQ(ui().busy_depth(), 0);
  EXPECT_FALSE(ui().animation_running());

  main().tvAlbum_NodeClick(Node("C:\\Music\\Pop\\"));
  EXPECT_EQ(ListNames(), (Texts{"one.mp3", "two.mp3"}));
  EXPECT_EQ(main().LV().Cell(0, kColArtist), "Ann");
  EXPECT_EQ(main().LV().row(0).icon, 3);
  EXPECT_EQ(ui().Status(1) + "|" + ui().Status(2), "Exploring: C:\\Music\\Pop\\|Total: 2 files");
  EXPECT_TRUE(main().commands().Enabled(MainCommand::kReport));

  const std::string target = folder().Path("music");
  ui().AnswerSaveFile(target);
  main().Run(MainCommand::kSaveFile);
  EXPECT_EQ(main().view().caption + "|" + main().session().data_file_path(),
            "Tallymere - " + target + ".mpd|" + target + ".mpd");
  EXPECT_FALSE(main().session().changed());
  CatalogTable saved;
  ASSERT_TRUE(LoadDataFile(platform(), target + ".mpd", &saved).ok());
  EXPECT_TRUE(saved == main().session().catalog());
  EXPECT_EQ(saved.Record(4).modified, FormatDateTime(testing::kFixedNow));
  EXPECT_EQ(ui().calls().back().op, "BusyPointer");
}

TEST_F(FrmMainTest, AFileNamedInWindows1252StaysReachableAfterSaveAndOpen) {
  const std::string native = File("c", "Music/caf\xE9.mp3", Song("A", "B"));
  ScanFolder("C:\\Music");
  ASSERT_EQ(main().session().catalog().Record(1).file_name, "caf\xE9.mp3");  // as found on disk
  ui().AnswerSaveFile(folder().Path("legacy.mpd"));
  main().Run(MainCommand::kSaveFile);
  ui().AnswerOpenFile(folder().Path("legacy.mpd"));
  main().Run(MainCommand::kLoad);
  // The data file gives the name back as text: "café.mp3" in UTF-8.
  ASSERT_EQ(main().session().catalog().Record(1).file_name, "caf\xC3\xA9.mp3");

  main().tvAlbum_NodeClick(Node("C:\\Music\\"));
  main().LV().SelectOnly(0);
  main().LV_DblClick();
  EXPECT_EQ(ui().calls().back().op, "ShellOpen");
  EXPECT_EQ(ui().calls().back().text, native);
  main().Run(MainCommand::kId3);  // finds the file and its length
  EXPECT_TRUE(ui().Messages().empty());
  EXPECT_TRUE(main().session().linked_to_mp3_utilities());
}

TEST_F(FrmMainTest, OpenRestoresFileTypeAndFlagFromTheTrailer) {
  SaveDocs(folder().Path("docs.MPD.mpd"));

  ui().AnswerOpenFile(folder().Path("docs.MPD"));  // ".mpd" is appended: the test is exact
  main().Run(MainCommand::kLoad);
  const std::string opened = folder().Path("docs.MPD.mpd");
  EXPECT_EQ(main().view().caption + "|" + main().session().data_file_path(),
            "Tallymere - " + opened + "|" + opened);
  EXPECT_EQ(main().session().settings().txtType + "|" +
                std::to_string(main().session().settings().chkBitRate),
            "*.*|0");
  EXPECT_FALSE(main().commands().Enabled(MainCommand::kId3));
  EXPECT_EQ(main().LV().width(kColModified), 1800);
  EXPECT_EQ(main().LV().width(kColBitrate), 0);
  EXPECT_FALSE(main().view().tab_enabled.at(2));
  EXPECT_EQ(Statuses(), " Ready|Total: 1 files|1.00 MB");
  EXPECT_EQ(main().tvAlbum().node(main().tvAlbum().NodeAt(1)).image, "datafile");
  EXPECT_TRUE(main().tvAlbum().node(Node("C:\\")).expanded);
  EXPECT_FALSE(main().session().changed());

  main().tvAlbum_NodeClick(Node("C:\\Docs\\"));
  EXPECT_EQ(main().LV().row(0).icon, 1);
}

TEST_F(FrmMainTest, ASettingsFileThatCannotBeWrittenOrReadLeavesTheDefaultSettings) {
  // A first start (no lists.dat yet) on a full disk.
  const std::string settings = folder().Path("program/Data/lists.dat");
  std::filesystem::remove(settings);
  faults().Fail(testing::PlatformCall::kWriteFile, StatusCode::kNoSpace, 1, "lists.dat");
  ui().ClearCalls();
  Restart();
  EXPECT_EQ(Shown(), Texts{"Cannot write \"" + settings +
                           "\": No space left on device\n\nTallymere starts with its default "
                           "settings.|Tallymere|warning|OK"});
  EXPECT_EQ(main().session().settings(), Settings());
  EXPECT_EQ(ui().Status(1), "Ready");

  // Pipes where the program's files belong: nobody writes to them, so a read
  // that waited would wait for ever.
  std::filesystem::remove(settings);
  ASSERT_EQ(mkfifo(settings.c_str(), 0644), 0);
  std::filesystem::remove(folder().Path("program/Header.txt"));
  ASSERT_EQ(mkfifo(folder().Path("program/Header.txt").c_str(), 0644), 0);
  ui().ClearCalls();
  Restart();
  EXPECT_EQ(main().session().settings(), Settings());
  const std::string pipe = folder().Path("pipe.mpd");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
  main().OpenDataFile(pipe);
  EXPECT_EQ(
      ui().MessageTexts(),
      (Texts{"Cannot read \"" + settings +
                 "\": it is a pipe, not a file\n\nTallymere starts with its default settings.",
             "Cannot read \"" + pipe +
                 "\": it is a pipe, not a file\n\nThe file was not opened; the catalog "
                 "shown is unchanged."}));
}

TEST_F(FrmMainTest, ADataFileGivenByNameOpensWithoutTheDialogAndAsItIsNamed) {
  // A catalog whose name does not end ".mpd" opens under that name.
  const std::string given = folder().Path("docs.MPD");
  SaveDocs(given);
  ScanOneSong();
  ui().ClearCalls();

  const std::string scanned = main().session().data_file_path();
  ui().AnswerMessage(Answer::kCancel);  // "Save current file?"
  main().OpenDataFile(given);
  EXPECT_EQ(ui().Messages().back().text, "Save current file?");
  EXPECT_EQ(main().session().data_file_path(), scanned);

  ui().AnswerMessage(Answer::kNo);
  main().OpenDataFile(given);
  for (const UiCall& call : ui().calls()) EXPECT_NE(call.op, "ChooseOpenFile");
  EXPECT_EQ(main().view().caption + "|" + main().session().data_file_path(),
            "Tallymere - " + given + "|" + given);
  EXPECT_EQ(main().session().catalog().Record(1).file_name, "a.txt");
  EXPECT_EQ(ui().Status(2), "Total: 1 files");
  EXPECT_TRUE(main().session().changed());  // as after Open: No leaves the flag set
}

// A catalog made on another computer: G: has folders only, H: labelled disks
// only, J: both; this machine maps none of them.
TEST_F(FrmMainTest, EveryDriveLetterOfTheCatalogShowsAnUnmappedOneAsADriveWithoutItsDisk) {
  const std::string letters_before =
      testing::ReadFileBytes(folder().Path("program/Data/drive_letters.dat"));
  OpenRecords({Record("C:\\", "C:\\A\\", "f1", 1048576), Record("G:\\", "G:\\Far\\", "f2", 1048576),
               Record("Mix", "H:\\", "f3.mp3", 1048576), Record("Mix", "H:\\Sub\\", "f4", 1),
               Record("Old", "J:\\", "f5", 1), Record("J:\\", "J:\\Docs\\", "f6", 1)});
  EXPECT_EQ(NodeKeys(),
            (Texts{folder().Path("c.mpd"), "C:\\", "G:\\", "H:\\", "J:\\", "C:\\A\\", "G:\\Far\\",
                   "H:\\Mix\\", "H:\\Mix\\Sub\\", "J:\\Docs\\", "J:\\Old\\"}));
  const auto image = [&](const char* key) {
    return main().tvAlbum().node(main().tvAlbum().Find(key)).image;
  };
  EXPECT_EQ(std::string(image("G:\\")) + " " + image("H:\\") + " " + image("H:\\Mix\\") + " " +
                image("J:\\"),
            "hard cdrom cd hard");
  EXPECT_EQ(ui().Status(2), "Total: 6 files");
  EXPECT_EQ(main().LookInDrives(), (Texts{"C:\\", "D:\\", "E:\\", "F:\\", "G:\\", "H:\\", "J:\\"}));

  // Browsed as a present CD-ROM drive's disks are, and its files' disk asked for.
  main().tvAlbum_NodeClick(main().tvAlbum().Find("H:\\"));
  main().Run(MainCommand::kSearchdisk);
  EXPECT_EQ(ui().MessageTexts().back(), "Please select a disk label instead.");
  main().tvAlbum_NodeClick(main().tvAlbum().Find("H:\\Mix\\"));
  main().Run(MainCommand::kSearchdisk);
  EXPECT_EQ(ListNames(), (Texts{"f3.mp3", "f4"}));
  main().LV().SelectOnly(0);
  main().LV_DblClick();
  EXPECT_EQ(ui().MessageTexts().back(),
            "Please insert disk labeled:   \"Mix\"  into  \"H:\\\" drive.");
  // The machine's drive map is as it was.
  EXPECT_EQ(platform().Drives().size(), 4u);
  EXPECT_EQ(testing::ReadFileBytes(folder().Path("program/Data/drive_letters.dat")),
            letters_before);
}

TEST_F(FrmMainTest, OpenRefusesADamagedFileAndKeepsTheCatalogShown) {
  ScanOneSong();
  const CatalogTable before = main().session().catalog();
  const std::vector<std::string> tree_before = NodeKeys();
  const std::string bad = folder().WriteFile("bad.mpd", std::string{'\x05', '\0', 'a', 'b'});

  ui().AnswerMessage(Answer::kNo);  // "Save current file?"
  ui().AnswerOpenFile(bad);
  main().Run(MainCommand::kLoad);
  EXPECT_EQ(Shown(),
            (Texts{"Save current file?|Confirm|question|YesNoCancel",
                   "This is not a Tallymere data file, or it is damaged: \"" + bad +
                       "\", record 1 at byte offset 0 is cut short: its Bitrate runs past the end "
                       "of the file.\n\nThe file was not opened; the catalog shown is "
                       "unchanged.|Tallymere|stop|OK"}));
  EXPECT_TRUE(main().session().catalog() == before);
  EXPECT_EQ(NodeKeys(), tree_before);
  EXPECT_EQ(main().view().caption, "Tallymere - Untitled");
  EXPECT_EQ(ui().busy_depth(), 0);
}

TEST_F(FrmMainTest, SaveAsksToReplaceAndCancelKeepsTheNewCaption) {
  ScanOneSong();
  const std::string taken = folder().WriteFile("taken.mpd", "old");

  ui().AnswerSaveFile(taken).AnswerMessage(Answer::kCancel);
  main().Run(MainCommand::kSaveFile);
  EXPECT_EQ(Said(ui().Messages().back()),
            "File already exist. Do you want to replace it?|Save File");
  EXPECT_EQ(main().view().caption, "Tallymere - " + taken);
  EXPECT_EQ(ReadFileBytes(taken), "old");
  EXPECT_TRUE(main().session().changed());

  // The caption names taken.mpd now, and a later Save writes there without asking.
  main().Run(MainCommand::kSaveFile);
  EXPECT_FALSE(main().session().changed());
  EXPECT_NE(ReadFileBytes(taken), "old");
}

TEST_F(FrmMainTest, SaveACopyKeepsTheCaptionAndALaterSaveWritesTheOpenFile) {
  ScanOneSong();
  const std::string music = folder().Path("music.mpd");
  ui().AnswerSaveFile(music);
  main().Run(MainCommand::kSaveFile);

  const std::string copy = folder().Path("musiccopy.mpd");
  folder().WriteFile("musiccopy.mpd", "old copy");
  ui().AnswerSaveFile(copy).AnswerMessage(Answer::kNo).AnswerSaveFile(folder().Path("other"));
  main().session().set_changed(true);
  ui().ClearCalls();
  main().Run(MainCommand::kSaveas);
  const std::vector<UiCall> dialogs = Calls("ChooseSaveFile");
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(dialogs[0].title + "|" + dialogs[1].title, "Save A Copy As|Save A Copy As");
  EXPECT_EQ(dialogs[0].text, folder().Path("musiccopy.mpd"));  // beside the open file
  EXPECT_EQ(Said(ui().Messages().back()),
            "File already exist. Do you want to replace it?.|Save A Copy As");
  EXPECT_EQ(ReadFileBytes(copy), "old copy");
  EXPECT_EQ(ReadFileBytes(folder().Path("other.mpd")), ReadFileBytes(music));
  EXPECT_EQ(main().view().caption, "Tallymere - " + music);
  EXPECT_TRUE(main().session().changed());
}

TEST_F(FrmMainTest, AFailedSaveKeepsThePathCaptionChangedFlagAndTheFileOnDisk) {
  ScanOneSong();
  ui().AnswerSaveFile(folder().Path("no/such/folder/x.mpd"));
  main().Run(MainCommand::kSaveFile);
  ASSERT_EQ(ui().Messages().size(), 1u);
  EXPECT_NE(ui().Messages()[0].text.find("x.mpd"), std::string::npos);
  EXPECT_NE(ui().Messages()[0].text.find("The catalog was not saved"), std::string::npos);
  EXPECT_EQ(ui().Messages()[0].icon, Icon::kStop);
  EXPECT_EQ(main().view().caption + "|" + main().session().data_file_path(),
            "Tallymere - Untitled|" + folder().Path("program") + "/Untitled.mpd");
  EXPECT_TRUE(main().session().changed());

  // On a full disk the file saved before stays as it was.
  const std::string path = folder().Path("music.mpd");
  ui().AnswerSaveFile(path);
  main().Run(MainCommand::kSaveFile);
  ASSERT_FALSE(main().session().changed());
  const std::string saved = ReadFileBytes(path);

  File("c", "Music/b.mp3", Song("C", "D"));
  ScanFolder("C:\\Music");  // asks nothing: the catalog was saved
  ui().ClearCalls();
  faults().Fail(testing::PlatformCall::kWriteFile, StatusCode::kNoSpace);
  ui().AnswerSaveFile(path).AnswerMessage(Answer::kYes);
  main().Run(MainCommand::kSaveFile);
  ASSERT_EQ(ui().Messages().size(), 2u);
  EXPECT_EQ(Shown()[1], "Cannot write \"" + path +
                            "\": No space left on device\n\nThe catalog was not saved and the file "
                            "on disk was not changed. Save it in another folder or under another "
                            "name.|Tallymere|stop|OK");
  EXPECT_EQ(ReadFileBytes(path), saved);
  EXPECT_TRUE(main().session().changed());
  EXPECT_EQ(main().view().caption, "Tallymere - Untitled");
}

TEST_F(FrmMainTest, ClosingAsksOnlyWhenChangedAndNeverLosesTheCatalog) {
  EXPECT_TRUE(main().Form_Unload());
  EXPECT_TRUE(ui().Messages().empty());
  EXPECT_TRUE(main().ends_program());

  ScanOneSong();
  const CatalogTable scanned = main().session().catalog();
  ui().AnswerMessage(Answer::kCancel);
  EXPECT_FALSE(main().Form_Unload());
  EXPECT_EQ(Shown().back(), "Save Change?|Tallymere|question|YesNoCancel");

  // Yes, then Cancel in the save dialog, or a save that fails: the window
  // stays with the catalog and the changed flag as they were.
  ui().AnswerMessage(Answer::kYes).AnswerSaveFile(std::nullopt);
  EXPECT_FALSE(main().Form_Unload());
  faults().Fail(testing::PlatformCall::kWriteFile, StatusCode::kNoSpace);
  ui().AnswerMessage(Answer::kYes).AnswerSaveFile(folder().Path("full.mpd"));
  EXPECT_FALSE(main().Form_Unload());
  EXPECT_TRUE(main().session().changed());
  EXPECT_TRUE(main().session().catalog() == scanned);
  EXPECT_EQ(main().view().caption, "Tallymere - Untitled");
  EXPECT_FALSE(std::filesystem::exists(folder().Path("full.mpd")));

  // No closes without saving; the program goes on while MP3 Utilities is open.
  ui().AnswerMessage(Answer::kNo);
  EXPECT_TRUE(main().Form_Unload());
  EXPECT_FALSE(main().ends_program());

  ui().AnswerMessage(Answer::kYes).AnswerSaveFile(folder().Path("end.mpd"));
  EXPECT_TRUE(main().Form_Unload());
  EXPECT_TRUE(main().ends_program());
  EXPECT_FALSE(main().session().changed());
  EXPECT_FALSE(ReadFileBytes(folder().Path("end.mpd")).empty());
}

}  // namespace
}  // namespace tallymere
