// The scan batch and the new scan.

#include <gtest/gtest.h>

#include <filesystem>

#include "windows/main/catalog_window_fixture.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

using testing::Texts;

class ScanBatchTest : public testing::CatalogWindowTest {};

TEST_F(ScanBatchTest, BatchEntriesAreAddedWithBackslashDroppedAndRemoved) {
  ui().AnswerFolder("C:\\Music").AnswerFolder("D:\\").AnswerFolder("");
  main().Run(MainCommand::kCmdAdd);
  main().Run(MainCommand::kCmdAdd);
  main().Run(MainCommand::kCmdAdd);
  EXPECT_EQ(main().lstBox(), (Texts{"C:\\Music\\", "D:\\"}));
  EXPECT_EQ(ui().calls().back().title, "Choose Drive or Folder to Add to Batch");
  main().Run(MainCommand::kCmdDelete);  // nothing selected
  EXPECT_EQ(main().lstBox().size(), 2u);
  main().lstBox_Click(0);
  main().Run(MainCommand::kCmdDelete);
  EXPECT_EQ(main().lstBox(), Texts{"D:\\"});
  main().Run(MainCommand::kCmdRemove);
  EXPECT_TRUE(main().lstBox().empty());

  main().Run(MainCommand::kScan);
  EXPECT_EQ(Shown(),
            Texts{"Click on Add button to select drive(s) or folder(s).|Tallymere|warning|OK"});

  // Folders dropped from a file manager join the batch as Add would add them.
  ui().ClearCalls();
  main().lstBox_FoldersDropped({folder().Path("c/Music"), folder().Path("d"), "/proc/self"});
  EXPECT_EQ(main().lstBox(), (Texts{"C:\\Music\\", "D:\\"}));
  EXPECT_EQ(Shown(), Texts{"\"/proc/self\" is not on a drive a catalog can hold.|Choose Drive or "
                           "Folder to Add to Batch|warning|OK"});
}

TEST_F(ScanBatchTest, TheTreeShowsOnlyTheScannedDrivesAndNoneAfterAnEmptyScan) {
  File("c", "x.mp3");
  File("d", "Data/y.mp3");
  ui().AnswerFolder("C:\\").AnswerFolder("D:\\Data");
  main().Run(MainCommand::kCmdAdd);
  main().Run(MainCommand::kCmdAdd);
  main().Run(MainCommand::kScan);
  EXPECT_EQ(NodeTexts(), (Texts{main().session().data_file_path(), "C:", "D:", "Data"}));
  EXPECT_EQ(main().session().catalog().FileCount(), 2);

  // An empty scan writes the trailer first.
  folder().MakeFolder("c/Empty");
  ui().AnswerFolder("C:\\Empty").AnswerMessage(Answer::kNo);  // "Save current file?"
  main().Run(MainCommand::kCmdAdd);
  main().Run(MainCommand::kScan);
  EXPECT_TRUE(IsTrailer(main().session().catalog().Record(1)));
  EXPECT_EQ(ui().Status(2) + "|" + ui().Status(3), "Total: 0 files|0.00 MB");
  EXPECT_EQ(NodeTexts(), Texts{main().session().data_file_path()});
}

// The default rules leave out what other programs leave, and the closing
// status says how much.
TEST_F(ScanBatchTest, TheClosingStatusSaysWhatTheRulesLeftOut) {
  File("c", "Photos/img.jpg");
  File("c", "Photos/Thumbs.db");
  File("c", "Photos/@eaDir/img.jpg");
  session().settings().txtType = "*.*";
  ScanFolder("C:\\Photos");
  EXPECT_EQ(main().session().catalog().FileCount(), 1);
  EXPECT_EQ(ui().Status(1), " Ready  - 1 folders and 1 files left out by the rules");
  EXPECT_TRUE(ui().Messages().empty());
}

TEST_F(ScanBatchTest, RemovableEntryAmongOthersIsRefusedAlone) {
  ui().AnswerFolder("C:\\").AnswerFolder("F:\\").AnswerFolder("E:\\");
  for (int i = 0; i < 3; ++i) main().Run(MainCommand::kCmdAdd);
  main().Run(MainCommand::kScan);
  EXPECT_EQ(Shown(), Texts{"Please add removable disk seperately.|Tallymere|information|OK"});
  EXPECT_EQ(main().lstBox(), (Texts{"C:\\", "E:\\"}));
  EXPECT_EQ(main().session().catalog().CatalogEnd(), 1);
}

TEST_F(ScanBatchTest, ACancelledOrFailedNewScanKeepsTheCatalogAndItsTree) {
  File("c", "Music/a.mp3");
  ScanFolder("C:\\Music");
  const CatalogTable before = main().session().catalog();
  const Texts tree = NodeKeys();
  // Cancel at the question to save empties the batch.
  ui().AnswerFolder("C:\\").AnswerMessage(Answer::kCancel);
  main().Run(MainCommand::kCmdAdd);
  main().Run(MainCommand::kScan);
  EXPECT_EQ(ui().Messages().back().text, "Save current file?");
  EXPECT_TRUE(main().session().catalog() == before);
  EXPECT_TRUE(main().lstBox().empty());

  // The batch entry is listable when checked, then vanishes before the scan.
  File("d", "Later/b.mp3");
  ui().AnswerFolder("D:\\Later").AnswerMessage(Answer::kNo);
  main().Run(MainCommand::kCmdAdd);
  bool removed = false;
  ui().set_on_yield([&] {
    if (!removed) removed = std::filesystem::remove_all(folder().Path("d/Later")) > 0;
  });
  main().Run(MainCommand::kScan);
  ui().set_on_yield(nullptr);
  EXPECT_TRUE(main().session().catalog() == before);
  EXPECT_EQ(NodeKeys(), tree);
  EXPECT_EQ(ui().busy_depth(), 0);
  EXPECT_FALSE(ui().animation_running());
}

TEST_F(ScanBatchTest, EntryThatCannotBeListedEndsWithItsDescription) {
  ui().AnswerFolder("C:\\Gone");
  main().Run(MainCommand::kCmdAdd);
  main().Run(MainCommand::kScan);
  ASSERT_EQ(ui().Messages().size(), 1u);
  EXPECT_NE(ui().Messages()[0].text.find("C:\\Gone\\"), std::string::npos);
  EXPECT_EQ(ui().Messages()[0].icon, Icon::kNone);
  EXPECT_EQ(ui().Messages()[0].title, "Tallymere");
  EXPECT_TRUE(main().lstBox().empty());
  EXPECT_EQ(ui().busy_depth(), 0);
}

TEST_F(ScanBatchTest, SkippedSubfoldersAndNamesWithABackslashAreLeftOutAndSaidAfterTheScan) {
  File("c", "M/ok/a.mp3");
  File("c", "M/locked1/b.mp3");
  File("c", "M/locked2/c.mp3");
  faults().Fail(testing::PlatformCall::kListFolder, StatusCode::kNoAccess, 0, "C:\\M\\locked");
  ScanFolder("C:\\M");
  EXPECT_EQ(main().session().catalog().FileCount(), 1);
  EXPECT_EQ(Shown(), Texts{"2 folders could not be read and were left out of the catalog:\n\n"
                           "C:\\M\\locked1\\\nC:\\M\\locked2\\\n\nCheck the permissions of these "
                           "folders and scan again to include them.|Tallymere|warning|OK"});

  File("c", "N/good.mp3");
  File("c", "N/bad\\name.mp3");
  ui().ClearCalls();
  ui().AnswerFolder("C:\\N").AnswerMessage(Answer::kNo);  // "Save current file?"
  main().Run(MainCommand::kCmdAdd);
  main().Run(MainCommand::kScan);
  EXPECT_EQ(main().session().catalog().FileCount(), 1);
  EXPECT_EQ(ui().MessageTexts().back(),
            "1 file or folder was left out because the name contains \"\\\". Rename them to "
            "include them.");
}

TEST_F(ScanBatchTest, CommandsAreRefusedWhileAScanYields) {
  File("c", "Music/a.mp3");
  ui().AnswerFolder("C:\\Music");
  main().Run(MainCommand::kCmdAdd);
  int refused = 0;
  ui().set_on_yield([&] {
    EXPECT_TRUE(main().busy());
    main().Run(MainCommand::kNew);  // would erase the catalog being built
    main().Run(MainCommand::kCmdRemove);
    main().Handle([] { ADD_FAILURE() << "an event ran while the scan yields"; });
    ++refused;
  });
  main().Run(MainCommand::kScan);
  ui().set_on_yield(nullptr);
  EXPECT_GT(refused, 0);
  EXPECT_EQ(main().session().catalog().FileCount(), 1);
  EXPECT_FALSE(main().busy());
}

}  // namespace
}  // namespace tallymere
