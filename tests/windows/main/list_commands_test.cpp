// Create List and Create List from Search Result through the scripted
// desktop: the file written, the question after it and what Yes opens.

#include <gtest/gtest.h>

#include <filesystem>

#include "windows/main/catalog_window_fixture.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

using testing::PlatformCall;
using testing::ReadFileBytes;
using testing::Texts;
using testing::UiCall;

class ListCommandsTest : public testing::CatalogWindowTest {
 protected:
  // A catalog of two folders, opened as File > Open would.
  void OpenCatalog() {
    OpenRecords({Record("C:\\", "C:\\Music\\Rock\\", "b.mp3", 2048),
                 Record("C:\\", "C:\\Music\\Pop\\", "a.mp3", 1024),
                 Record("C:\\", "C:\\Music\\Rock\\", "c.mp3", 1024)},
                "*.*", 0);
    main().session().settings().optOne = "True";
    main().session().settings().chkPath = 1;
    main().session().settings().chkSize = 0;
    main().session().settings().chkBitRate = 0;
    main().session().settings().chkSum = 0;
    main().session().settings().chkHeader = 0;
  }
};

TEST_F(ListCommandsTest, CreateListWritesTheCatalogAndOpensItOnYes) {
  OpenCatalog();
  const std::string chosen = folder().Path("songs");
  ui().AnswerSaveFile(chosen).AnswerMessage(Answer::kYes);
  main().Run(MainCommand::kCreat);

  const std::vector<UiCall> dialogs = Calls("ChooseSaveFile");
  ASSERT_EQ(dialogs.size(), 1u);
  // The dialog starts beside the catalog's data file.
  EXPECT_EQ(dialogs[0].title + "|" + dialogs[0].extra + "|" + dialogs[0].text,
            "Save List As|*.*|" + folder().path() + "/untitled");
  // One sorted list of full paths, each line filled to the column width.
  const std::string fill(75 - 19 + 11, ' ');
  EXPECT_EQ(ReadFileBytes(chosen + ".txt"),
            "C:\\Music\\Pop\\a.mp3" + std::string(75 - 18 + 11, ' ') +
                "\r\nC:\\Music\\Rock\\b.mp3" + fill + "\r\nC:\\Music\\Rock\\c.mp3" + fill + "\r\n");
  EXPECT_EQ(Shown(), Texts{"List has been saved as: " + chosen +
                           ".txt Do you want to view it now?|Tallymere|question|YesNo"});
  const std::vector<UiCall> opened = Calls("ShellOpen");
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].extra + " " + opened[0].text, "open " + chosen + ".txt");
  EXPECT_EQ(ui().Status(1), "Ready");
  EXPECT_EQ(ui().busy_depth(), 0);

  // Cancel at the dialog writes nothing and asks nothing.
  ui().ClearCalls();
  ui().AnswerSaveFile(std::nullopt);
  main().Run(MainCommand::kCreat);
  EXPECT_TRUE(ui().Messages().empty());
  EXPECT_FALSE(std::filesystem::exists(folder().Path("untitled.txt")));
}

TEST_F(ListCommandsTest, SearchResultIsSortedByFolderAndListedByFolder) {
  OpenCatalog();
  main().session().settings().optOne = "False";
  main().find_panel().set_txtFind("mp3");
  main().find_panel().set_cmbType("*.*");
  main().Run(MainCommand::kCmdAll);
  ASSERT_TRUE(main().commands().Enabled(MainCommand::kReport));

  const std::string chosen = folder().Path("found.txt");  // ".txt" already there
  ui().AnswerSaveFile(chosen).AnswerMessage(Answer::kNo);
  main().Run(MainCommand::kReport);
  EXPECT_EQ(main().LV().sort_key(), kColPath);
  EXPECT_EQ(ListNames(), (Texts{"a.mp3", "b.mp3", "c.mp3"}));
  const std::string rule(75 + 14, '=');
  EXPECT_EQ(ReadFileBytes(chosen), "C:\\Music\\Pop\\\r\n" + rule +
                                       "\r\nC:\\Music\\Pop\\a.mp3\r\n\r\n" +
                                       "C:\\Music\\Rock\\\r\n" + rule +
                                       "\r\nC:\\Music\\Rock\\b.mp3\r\nC:\\Music\\Rock\\c.mp3\r\n");
  EXPECT_EQ(ui().Messages().back().text,
            "List has been saved as: " + chosen + " Do you want to view it now?");
  EXPECT_TRUE(Calls("ShellOpen").empty());
}

TEST_F(ListCommandsTest, PlaylistOptionsAreForcedAndAFailedWriteSaysWhy) {
  OpenCatalog();
  main().session().settings().chkM3U = 1;
  main().session().settings().chkSize = 1;
  main().session().settings().chkSum = 1;
  main().session().settings().optOne = "False";
  const std::string chosen = folder().Path("mix");
  ui().AnswerSaveFile(chosen).AnswerMessage(Answer::kYes);
  main().Run(MainCommand::kCreat);
  // The playlist needs one list of bare paths; the options stay so in memory.
  EXPECT_EQ(main().session().settings().optOne +
                std::to_string(main().session().settings().chkSize) +
                std::to_string(main().session().settings().chkSum),
            "True00");
  EXPECT_TRUE(std::filesystem::exists(chosen + ".m3u"));
  EXPECT_FALSE(std::filesystem::exists(chosen + ".txt"));
  EXPECT_EQ(ui().Messages().back().text,
            "List has been saved as: " + chosen + ".m3u Do you want to play it now?");
  EXPECT_EQ(Calls("ShellOpen").back().text, chosen + ".m3u");

  // A write that fails is reported with its cause and nothing is offered.
  const std::string before = ReadFileBytes(chosen + ".m3u");
  ui().ClearCalls();
  faults().Fail(PlatformCall::kWriteFile, StatusCode::kNoSpace, 0);
  ui().AnswerSaveFile(chosen);
  main().Run(MainCommand::kCreat);
  EXPECT_EQ(Shown(), Texts{"Cannot write \"" + chosen +
                           ".m3u\": No space left on device|Tallymere|stop|OK"});
  EXPECT_TRUE(Calls("ShellOpen").empty());
  EXPECT_EQ(ReadFileBytes(chosen + ".m3u"), before);
  EXPECT_EQ(ui().Status(1), "Ready");
}

}  // namespace
}  // namespace tallymere
