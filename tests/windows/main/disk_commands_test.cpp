// Update, Disk Label, Delete Disk or Folder, the CD tray, Data File Info and
// Properties through the scripted desktop. C: and D: are fixed drives, E: a
// CD-ROM drive labelled MUSIC99, F: a removable drive.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

#include "common/format.h"
#include "windows/data_info/frm_data_info.h"
#include "windows/main/catalog_window_fixture.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

using Names = testing::Texts;
using testing::kFixedNow;

class DiskCommandsTest : public testing::CatalogWindowTest {
 protected:
  // C:\Music scanned, then the CD in E: added as MyCD.
  void ScanMusicAndAddTheCd() {
    File("c", "Music/a.mp3");
    File("c", "Music/Sub/b.mp3");
    File("c", "Musical/c.mp3");  // a sibling whose name starts the same
    File("c", "Other/d.mp3");
    File("d", "Stuff/e.mp3");
    File("e", "cd1.mp3");
    File("e", "Sub/cd2.mp3");
    ScanFolder("C:\\Music");
    AddDisk("E:\\", "MyCD");
    ui().ClearCalls();
  }
  // The catalog's File names with their labels, sorted.
  Names Catalog() {
    Names names;
    main().session().catalog().Walk([&](int, const CatalogRecord& record) {
      names.push_back(record.disk_label + "|" + record.path + record.file_name);
    });
    std::sort(names.begin(), names.end());
    return names;
  }
  void Select(const std::string& key) { main().tvAlbum().Select(Node(key)); }
};

TEST_F(DiskCommandsTest, UpdateScansEveryFixedDriveAndKeepsTheDisksAfterThemOrNothingAtAll) {
  ScanMusicAndAddTheCd();
  // An update that fails keeps the catalog and says why.
  const CatalogTable before = main().session().catalog();
  faults().Fail(testing::PlatformCall::kListFolder, StatusCode::kNoAccess, 1, "D:\\");
  main().Run(MainCommand::kUpdate);
  EXPECT_EQ(Shown(), Names{"The catalog was not updated: Cannot list \"D:\\\": Permission "
                           "denied|Tallymere|stop|OK"});
  EXPECT_TRUE(main().session().catalog() == before);
  EXPECT_NE(Node("E:\\MyCD\\"), TreeModel::kNoNode);  // the tree shows it again

  main().Run(MainCommand::kUpdate);
  EXPECT_EQ(Catalog(),
            (Names{"C:\\|C:\\Music\\Sub\\b.mp3", "C:\\|C:\\Music\\a.mp3", "C:\\|C:\\Musical\\c.mp3",
                   "C:\\|C:\\Other\\d.mp3", "D:\\|D:\\Stuff\\e.mp3", "MyCD|E:\\Sub\\cd2.mp3",
                   "MyCD|E:\\cd1.mp3"}));
  // The disk's records after the scanned ones, unchanged, then the trailer.
  const CatalogTable& table = main().session().catalog();
  EXPECT_EQ(table.Record(6).disk_label + "|" + table.Record(7).disk_label, "MyCD|MyCD");
  EXPECT_TRUE(IsTrailer(table.Record(8)));
  EXPECT_EQ(table.Record(8).modified, FormatDateTime(kFixedNow));
  EXPECT_EQ(ui().Status(1) + "|" + ui().Status(2),
            "Data updated on " + FormatDateTime(kFixedNow) + "|Total: 7 files");
  EXPECT_NE(Node("D:\\Stuff\\"), TreeModel::kNoNode);
  EXPECT_TRUE(main().session().changed());
  EXPECT_EQ(main().session().data_file_path(), folder().Path("program") + "/Untitled.mpd");
  EXPECT_TRUE(main().lstBox().empty());

  // E: a fixed drive now: the CD's records go, E: is scanned as a hard drive.
  // The catalog is copied first: a new window replaces the one that owns it.
  const CatalogTable updated = table;
  WriteDrives("C: fixed %ROOT%/c\nD: fixed %ROOT%/d\nE: fixed %ROOT%/e\n");
  main().session().catalog() = updated;
  main().Run(MainCommand::kUpdate);
  EXPECT_EQ(Catalog().size(), 7u);
  EXPECT_EQ(Catalog()[5], "E:\\|E:\\Sub\\cd2.mp3");
}

TEST_F(DiskCommandsTest, WithoutAFixedDriveUpdateRefusesAndStartUpNamesTheLinesLeftOut) {
  ScanMusicAndAddTheCd();
  const CatalogTable before = main().session().catalog();
  // The fixed drives' lines misspelt: the map has the CD drive alone.
  WriteDrives("C: fxed %ROOT%/c\nD fixed %ROOT%/d\nE: cdrom %ROOT%/e MUSIC99\n");
  const std::string drives = folder().Path("program/Data/drives.dat");
  const std::string line_1 = "\"" + drives + "\", line 1 is not understood: \"C: fxed " +
                             folder().path() + "/c\"; the line was left out.";
  const std::string line_2 = "\"" + drives + "\", line 2 is not understood: \"D fixed " +
                             folder().path() + "/d\"; the line was left out.";
  main().session().catalog() = before;
  main().Run(MainCommand::kUpdate);
  // Said once at start-up, then by Update.
  EXPECT_EQ(Shown(),
            (Names{"Data/drives.dat could not be used in full:\n\n" + line_1 + "\n\n" + line_2 +
                       "|Tallymere|warning|OK",
                   "The catalog was not updated: the drive map has no fixed drive to scan, so the "
                   "update would drop every file that is not on a disk. " +
                       line_1 + " " + line_2 + " Nothing was changed.|Tallymere|stop|OK"}));
  EXPECT_TRUE(main().session().catalog() == before);
  EXPECT_FALSE(main().session().changed());
}

TEST_F(DiskCommandsTest, RelabelsADiskItsRecordsAndEveryKeyBelowIt) {
  ScanMusicAndAddTheCd();
  // Not a label node: a folder of the hard disk, the CD drive itself.
  for (const char* key : {"C:\\Music\\", "E:\\"}) {
    Select(key);
    main().Run(MainCommand::kLabel);
    EXPECT_EQ(Said(ui().Messages().back()), "Please select a disk label.|Edit Disk Label");
  }
  Select("E:\\MyCD\\");
  ui().AnswerText("C:\\");  // the hard disk's records carry this label
  main().Run(MainCommand::kPop2Label);
  EXPECT_EQ(ui().Messages().back().text, "A disk label can not contain \"\\\".");
  ui().AnswerText("Music01");
  main().Run(MainCommand::kLabel);
  EXPECT_EQ(Shown().back(), "Disk has been relabeled sucessfully.|Edit Disk Label|information|OK");
  const testing::UiCall ask = Calls("AskText").at(0);
  EXPECT_EQ(ask.text + "|" + ask.title + "|" + ask.extra,
            "Please enter a new label.|Edit Disk Label|Enter new label here");
  EXPECT_EQ(Catalog(), (Names{"C:\\|C:\\Music\\Sub\\b.mp3", "C:\\|C:\\Music\\a.mp3",
                              "Music01|E:\\Sub\\cd2.mp3", "Music01|E:\\cd1.mp3"}));
  ASSERT_NE(Node("E:\\Music01\\"), TreeModel::kNoNode);
  EXPECT_NE(Node("E:\\Music01\\Sub\\"), TreeModel::kNoNode);
  EXPECT_EQ(Node("E:\\MyCD\\"), TreeModel::kNoNode);
  EXPECT_EQ(main().tvAlbum().node(Node("E:\\Music01\\")).text, "Music01");
  EXPECT_TRUE(main().session().changed());

  // A label another disk carries is refused; an empty answer ends quietly.
  File("f", "stick.mp3");
  AddDisk("F:\\", "Stick");
  Select("F:\\Stick\\");
  ui().ClearCalls();
  ui().AnswerText("Music01");
  main().Run(MainCommand::kLabel);
  EXPECT_EQ(ui().MessageTexts(), Names{"Same label exists, please try again."});
  ui().AnswerText("");
  main().Run(MainCommand::kLabel);
  EXPECT_EQ(ui().Messages().size(), 1u);
  EXPECT_EQ(Catalog()[4], "Stick|F:\\stick.mp3");
}

TEST_F(DiskCommandsTest, DeletesAFolderWithItsSubfoldersOrADiskAndNothingElse) {
  ScanMusicAndAddTheCd();
  main().Run(MainCommand::kUpdate);
  ui().ClearCalls();
  // No keeps everything.
  Select("C:\\Music\\");
  ui().AnswerMessage(Answer::kNo);
  main().Run(MainCommand::kDeleteDisk);
  EXPECT_EQ(Said(ui().Messages().back()),
            "Are you sure you want to delete \"C:\\Music\\\" and all its contents?|Confirm Delete");
  EXPECT_EQ(Catalog().size(), 7u);

  // Yes: the folder and its subfolders, whatever the letter case of the
  // records; the sibling "Musical" stays.
  main().session().catalog().MutableRecord(1).path = "C:\\MUSIC\\";
  ui().AnswerMessage(Answer::kYes);
  main().Run(MainCommand::kPop2Del);
  EXPECT_EQ(Catalog(),
            (Names{"C:\\|C:\\Musical\\c.mp3", "C:\\|C:\\Other\\d.mp3", "D:\\|D:\\Stuff\\e.mp3",
                   "MyCD|E:\\Sub\\cd2.mp3", "MyCD|E:\\cd1.mp3"}));
  EXPECT_EQ(Node("C:\\Music\\"), TreeModel::kNoNode);
  EXPECT_NE(Node("C:\\Musical\\"), TreeModel::kNoNode);
  EXPECT_TRUE(IsTrailer(main().session().catalog().Record(6)));
  EXPECT_EQ(main().session().catalog().FileCount(), 5);
  EXPECT_EQ(ui().Status(1) + "|" + ui().Status(2),
            "List updated on " + FormatDateTime(kFixedNow) + "|Total: 5 files");

  // A folder of the disk, then the disk itself.
  Select("E:\\MyCD\\Sub\\");
  ui().AnswerMessage(Answer::kYes);
  main().Run(MainCommand::kDeleteDisk);
  EXPECT_EQ(ui().Messages().back().text,
            "Are you sure you want to delete \"MyCD\\Sub\" and all its contents?");
  EXPECT_EQ(Catalog().back(), "MyCD|E:\\cd1.mp3");
  Select("E:\\MyCD\\");
  ui().AnswerMessage(Answer::kYes);
  main().Run(MainCommand::kDeleteDisk);
  EXPECT_EQ(Catalog().size(), 3u);

  // The drive node of the CD drive is refused.
  Select("E:\\");
  main().Run(MainCommand::kDeleteDisk);
  EXPECT_EQ(Shown().back(), "Please select a disk label instead.|Tallymere|warning|OK");
}

TEST_F(DiskCommandsTest, TheTrayOpensThenClosesAndDataFileInfoTellsAboutTheCatalog) {
  // The tray opens, then closes.
  main().Run(MainCommand::kEject);
  main().Run(MainCommand::kEject);
  EXPECT_EQ(faults().cd_door_moves(),
            (std::vector<CdDoorMove>{CdDoorMove::kOpen, CdDoorMove::kClose}));

  File("c", "Music/a.mp3", std::string(1048576, 'x'));
  ScanFolder("C:\\Music");
  FrmDataInfo info(session());
  info.Form_Load();
  EXPECT_EQ(info.labels(), (std::array<std::string, 7>{
                               "File Name:   Untitled.mpd",
                               "Path:   " + folder().Path("program") + "/",
                               "Size:",
                               "Last Updated:   " + FormatDateTime(kFixedNow),
                               "File Type:   \"mp3\"",
                               "Total Files Cataloged:   1",
                               "Total File Size:   1.00 MB",
                           }));
  ui().AnswerSaveFile(folder().Path("music.mpd"));
  main().Run(MainCommand::kSaveFile);
  info.Form_Load();
  EXPECT_EQ(info.labels()[0], "File Name:   music.mpd");
  EXPECT_EQ(info.labels()[2],
            "Size:   " + std::to_string(testing::ReadFileBytes(folder().Path("music.mpd")).size()) +
                " bytes");

  // Properties: the desktop's answer decides; below 33 is a failure.
  main().Run(MainCommand::kProperty);  // nothing selected: nothing happens
  main().tvAlbum_NodeClick(Node("C:\\Music\\"));
  main().LV().SelectOnly(0);
  ui().ClearCalls();
  main().Run(MainCommand::kProperty);
  EXPECT_EQ(ui().calls().back().op + " " + ui().calls().back().text,
            "ShowProperties C:\\Music\\a.mp3");
  ui().set_shell_result(ShellResult::kFileNotFound);
  main().Run(MainCommand::kProperty);
  EXPECT_EQ(ui().MessageTexts(), Names{"Error, please make sure file exists on path selected."});
}

// Sparse files stand for a film and a disk image past the Size field's reach.
TEST_F(DiskCommandsTest, FilesPastTwoGigabytesKeepTheirTrueSizesInEveryTotal) {
  constexpr off_t k3GB = 3LL << 30;
  constexpr off_t k5TB = 5LL << 40;
  ASSERT_EQ(truncate(File("c", "Films/film.mkv").c_str(), k3GB), 0);
  ASSERT_EQ(truncate(File("c", "Films/disk.iso").c_str(), k5TB), 0);
  session().settings().txtType = "*.*";
  ScanFolder("C:\\Films");
  EXPECT_EQ(ui().Status(2) + "|" + ui().Status(3), "Total: 2 files|5,245,952.00 MB");
  main().tvAlbum_NodeClick(Node("C:\\Films\\"));
  main().LV().SetSelected(0, true);
  main().LV().SetSelected(1, true);
  main().LV_ItemClick(1);
  EXPECT_EQ(ui().Status(2) + "|" + ui().Status(3), "2 selected|5,245,952.00 MB");

  // Saved and opened again, the sizes are still true.
  ui().AnswerSaveFile(folder().Path("films.mpd"));
  main().Run(MainCommand::kSaveFile);
  ui().AnswerOpenFile(folder().Path("films.mpd"));
  main().Run(MainCommand::kLoad);
  EXPECT_EQ(session().catalog().TotalSize(), k3GB + k5TB);
  FrmDataInfo info(session());
  info.Form_Load();
  EXPECT_EQ(info.labels()[5], "Total Files Cataloged:   2");
  EXPECT_EQ(info.labels()[6], "Total File Size:   5,245,952.00 MB");
}

}  // namespace
}  // namespace tallymere
