// Where the file and folder dialogs start, as the windows hand it to the
// desktop: the open catalog's folder, else the folder last chosen, else home.

#include <gtest/gtest.h>

#include <cstdlib>

#include "windows/main/catalog_window_fixture.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

using testing::Texts;

class DialogStartTest : public testing::CatalogWindowTest {
 protected:
  // Where the last dialog of this kind started: a file dialog's initial name,
  // a folder dialog's start folder.
  std::string Started(const std::string& op) const {
    const std::vector<testing::UiCall> calls = Calls(op);
    if (calls.empty()) return "(none)";
    return op.find("Folder") != std::string::npos ? calls.back().extra : calls.back().text;
  }
};

TEST_F(DialogStartTest, DialogsStartInTheCatalogsFolderElseTheLastFolderUsedElseHome) {
  const char* home = std::getenv("HOME");
  ASSERT_NE(home, nullptr);
  EXPECT_EQ(platform().HomeFolder(), home);

  // Nothing open, nothing chosen yet: home, never the program's folder.
  ui().AnswerOpenFile(std::nullopt).AnswerFolder("");
  main().Run(MainCommand::kLoad);
  main().Run(MainCommand::kCmdAdd);
  EXPECT_EQ(Started("ChooseOpenFile"), std::string(home) + "/*.mpd");
  EXPECT_EQ(Started("BrowseForFolder"), home);

  // A scanned catalog is not saved yet: the folder chosen for the batch is
  // the last one used; a copy goes there under the untitled catalog's name.
  File("c", "Music/a.mp3");
  ScanFolder("C:\\Music");
  ui().AnswerSaveFile(std::nullopt).AnswerSaveFile(std::nullopt);
  main().Run(MainCommand::kSaveas);
  main().Run(MainCommand::kSaveFile);
  const std::string music = folder().Path("c/Music");
  EXPECT_EQ(Calls("ChooseSaveFile")[0].text, music + "/Untitledcopy.mpd");
  EXPECT_EQ(Calls("ChooseSaveFile")[1].text, music + "/*.mpd");

  // Once saved, every dialog starts beside the data file.
  folder().MakeFolder("catalogs");
  const std::string saved = folder().Path("catalogs/music.mpd");
  ui().AnswerSaveFile(saved);
  main().Run(MainCommand::kSaveFile);
  ASSERT_EQ(main().session().data_file_path(), saved);
  const std::string beside = folder().Path("catalogs");
  ui().AnswerSaveFile(std::nullopt).AnswerSaveFile(std::nullopt).AnswerOpenFile(std::nullopt);
  ui().AnswerFolder("");
  main().Run(MainCommand::kCreat);
  const std::string list_start = Started("ChooseSaveFile");
  main().Run(MainCommand::kSaveas);
  main().playlist().cmdOpenPlay_Click();
  main().Run(MainCommand::kCmdAdd);
  EXPECT_EQ((Texts{list_start, Started("ChooseSaveFile"), Started("ChooseOpenFile"),
                   Started("BrowseForFolder")}),
            (Texts{beside + "/untitled", beside + "/musiccopy.mpd", beside + "/*.m3u", beside}));

  // After New the folder last chosen (where a list went) is where they start.
  folder().MakeFolder("lists");
  ui().AnswerSaveFile(folder().Path("lists/songs")).AnswerMessage(Answer::kNo);
  main().Run(MainCommand::kCreat);
  main().Run(MainCommand::kNew);
  ui().AnswerOpenFile(std::nullopt);
  main().Run(MainCommand::kLoad);
  EXPECT_EQ(Started("ChooseOpenFile"), folder().Path("lists") + "/*.mpd");
  EXPECT_FALSE(ui().has_pending_answers());
}

}  // namespace
}  // namespace tallymere
