// Adding a labelled removable disk in front of the catalogued files.

#include <gtest/gtest.h>

#include <filesystem>

#include "common/format.h"
#include "windows/main/catalog_window_fixture.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

class AddDiskTest : public testing::CatalogWindowTest {
 protected:
  // A catalog of ten files on C:.
  void ScanTenFiles() {
    for (int i = 0; i < 10; ++i) File("c", "Music/f" + std::to_string(i) + ".mp3");
    ScanFolder("C:\\Music");
    ui().ClearCalls();
  }
};

TEST_F(AddDiskTest, PutsTheDiskFirstThenEarlierFilesThenOneTrailer) {
  ScanTenFiles();
  File("e", "one.mp3");
  File("e", "Music/two.mp3");
  File("e", "Music/three.mp3");
  const CatalogTable before = main().session().catalog();
  AddDisk("E:\\", "CD1");

  const std::vector<testing::UiCall> asks = Calls("AskText");
  ASSERT_EQ(asks.size(), 1u);
  EXPECT_EQ(asks[0].text,
            "Please enter a label for the disk.(For example: My_MP3_Album_[1], etc.)");
  EXPECT_EQ(asks[0].extra, "MUSIC99");  // the disk's volume label is offered

  const CatalogTable& catalog = main().session().catalog();
  EXPECT_EQ(catalog.FileCount(), 13);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(catalog.Record(i).disk_label, "CD1");
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(catalog.Record(3 + i), before.Record(i));
  EXPECT_TRUE(IsTrailer(catalog.Record(14)));
  EXPECT_TRUE(catalog.Record(15).file_name.empty());
  EXPECT_TRUE(main().session().changed());
  EXPECT_EQ(Statuses(),
            "Data updated on " + FormatDateTime(testing::kFixedNow) + "|Total: 13 files|0.00 MB.");
  const TreeNode& disk = main().tvAlbum().node(Node("E:\\CD1\\"));
  EXPECT_EQ(disk.text + "|" + disk.image, "CD1|cd");
  EXPECT_NE(Node("E:\\CD1\\Music\\"), TreeModel::kNoNode);
  EXPECT_EQ(ui().busy_depth(), 0);
}

TEST_F(AddDiskTest, TheNewDiskIsSelectedWithItsFilesSoTreeAndListAgree) {
  ScanTenFiles();
  main().tvAlbum_NodeClick(Node("C:\\Music\\"));
  ASSERT_EQ(ListNames().size(), 10u);
  File("e", "one.mp3");
  File("e", "Music/two.mp3");
  AddDisk("E:\\", "CD1");
  EXPECT_EQ(main().tvAlbum().selected(), Node("E:\\CD1\\"));
  EXPECT_TRUE(main().tvAlbum().node(Node("E:\\")).expanded);
  EXPECT_EQ(ListNames(), testing::Texts{"one.mp3"});
  // The status bar keeps what Add a Disk says about the catalog.
  EXPECT_EQ(Statuses(),
            "Data updated on " + FormatDateTime(testing::kFixedNow) + "|Total: 12 files|0.00 MB.");
  EXPECT_TRUE(main().commands().Enabled(MainCommand::kReport));

  // A new scan of a removable drive alone adds it as a disk, shown the same way.
  File("f", "stick.mp3");
  ui().AnswerFolder("F:\\").AnswerMessage(Answer::kNo).AnswerText("Stick");
  main().Run(MainCommand::kCmdAdd);
  main().Run(MainCommand::kScan);
  EXPECT_EQ(main().tvAlbum().selected(), Node("F:\\Stick\\"));
  EXPECT_EQ(ListNames(), testing::Texts{"stick.mp3"});
  EXPECT_TRUE(main().commands().Enabled(MainCommand::kReport));

  // A disk without files has no node: nothing is selected and nothing listed.
  std::filesystem::remove(folder().Path("f/stick.mp3"));
  AddDisk("F:\\", "Blank");
  EXPECT_EQ(main().tvAlbum().selected(), TreeModel::kNoNode);
  EXPECT_TRUE(ListNames().empty());
}

TEST_F(AddDiskTest, ADiskAddedAfterNewIsACatalogThatAsksForItsNameWhenSaved) {
  main().Run(MainCommand::kNew);
  File("e", "one.mp3");
  AddDisk("E:\\", "CD1");
  EXPECT_EQ(main().session().catalog().FileCount(), 1);
  EXPECT_EQ(main().session().data_file_path(), folder().Path("program") + "/Untitled.mpd");
  for (MainCommand command :
       {MainCommand::kSaveFile, MainCommand::kSaveas, MainCommand::kCreat, MainCommand::kInfo}) {
    EXPECT_TRUE(main().commands().Enabled(command)) << EntryOf(kMainCommands, command).name;
  }

  // Save asks for a name rather than writing "Untitled.mpd" into whatever
  // folder the program was started from; a cancelled dialog writes nothing.
  ui().AnswerSaveFile(std::nullopt);
  main().Run(MainCommand::kSaveFile);
  EXPECT_TRUE(main().session().changed());
  const std::string chosen = folder().Path("disks.mpd");
  ui().AnswerSaveFile(chosen);
  main().Run(MainCommand::kSaveFile);
  EXPECT_FALSE(main().session().changed());
  EXPECT_EQ(main().session().data_file_path(), chosen);
  EXPECT_TRUE(std::filesystem::exists(chosen));
  EXPECT_FALSE(std::filesystem::exists("Untitled.mpd"));
}

TEST_F(AddDiskTest, RefusesAFixedDriveEmptyLabelAndLabelInUseExactly) {
  ScanTenFiles();
  File("f", "stick.mp3");
  ui().AnswerFolder("C:\\Music");
  main().Run(MainCommand::kAddDisk);
  EXPECT_TRUE(main().lstBox().empty());
  AddDisk("F:\\", "");
  AddDisk("F:\\", "CD1");
  AddDisk("F:\\", "CD1");
  EXPECT_EQ(main().session().catalog().FileCount(), 11);
  // A "\" would split the tree's keys; a label the data file cannot hold
  // would be cut short.
  AddDisk("F:\\", "CD\\2");
  AddDisk("F:\\", std::string(65536, 'L'));
  EXPECT_EQ(
      ui().MessageTexts(),
      (testing::Texts{
          "It's not a removable drive, can not be added.", "Please enter a label and try again.",
          "A disk with the same label exists. Try again.", "A disk label can not contain \"\\\".",
          "A disk label can hold at most 65535 bytes; this one would be cut short."}));
  AddDisk("F:\\", "cd1");  // letter case counts
  EXPECT_EQ(main().session().catalog().FileCount(), 12);

  // After a refused label a new scan carries drive roots again.
  AddDisk("F:\\", "CD1");
  ui().AnswerFolder("C:\\Music").AnswerMessage(Answer::kNo);
  main().Run(MainCommand::kCmdAdd);
  main().Run(MainCommand::kScan);
  EXPECT_EQ(main().session().catalog().Record(1).disk_label, "C:\\");
}

TEST_F(AddDiskTest, ASingleCdBatchIsAddedAsADiskAndADiskNotInTheDriveIsSaidSo) {
  File("e", "song.mp3");
  ui().AnswerFolder("E:\\").AnswerText("Live");
  main().Run(MainCommand::kCmdAdd);
  main().Run(MainCommand::kScan);
  EXPECT_EQ(main().session().catalog().Record(1).disk_label + "|" +
                main().session().catalog().Record(1).path,
            "Live|E:\\");
  EXPECT_TRUE(main().commands().Enabled(MainCommand::kSaveFile));
  EXPECT_TRUE(main().session().changed());

  std::filesystem::remove_all(folder().Path("f"));
  AddDisk("F:\\", "unused");
  // The label is never asked: the answer stays queued until drained here.
  EXPECT_EQ(ui().Messages().back().text, "Bad file name. Please make sure disk is in the drive.");
  EXPECT_EQ(ui().AskText("drain", "", ""), "unused");
}

TEST_F(AddDiskTest, ADiskGoesPastTheDescribedTableAndOneThatWouldOverflowIsRefused) {
  CatalogTable& table = main().session().catalog();
  constexpr int kDescribedFiles = CatalogTable::kDescribedCapacity - 1;
  for (int i = 1; i <= kDescribedFiles - 1; ++i)
    table.SetRecord(i, Record("C:\\", "C:\\Big\\", std::to_string(i), 0));
  const CatalogTable before = table;
  File("f", "a.mp3");
  File("f", "b.mp3");
  // Past the bound the session keeps, nothing changes.
  session().set_max_files(kDescribedFiles);
  AddDisk("F:\\", "Stick");
  EXPECT_EQ(ui().Messages().back().text,
            "The disk was not added: its 2 files and the 32,764 files already catalogued do not "
            "fit in one catalog, which holds at most 32,765 files. Nothing was changed.");
  EXPECT_TRUE(main().session().catalog() == before);
  // Without it the catalog grows past the 32,765 files of the described table.
  session().set_max_files(CatalogTable::kMaxFileRecords);
  AddDisk("F:\\", "Stick");
  EXPECT_EQ(main().session().catalog().FileCount(), kDescribedFiles + 1);
  EXPECT_EQ(ui().Status(2), "Total: 32766 files");

  // Saved, it says once that older programs cannot open it; opened again,
  // it holds every record.
  ui().ClearCalls();
  ui().AnswerSaveFile(folder().Path("big.mpd"));
  main().Run(MainCommand::kSaveFile);
  main().Run(MainCommand::kSaveFile);
  EXPECT_EQ(Shown(),
            testing::Texts{"This catalog holds 32,766 files; programs limited to 32,765 files "
                           "cannot open it.|Tallymere|information|OK"});
  ui().AnswerOpenFile(folder().Path("big.mpd"));
  main().Run(MainCommand::kLoad);
  EXPECT_EQ(main().session().catalog().FileCount(), kDescribedFiles + 1);
}

}  // namespace
}  // namespace tallymere
