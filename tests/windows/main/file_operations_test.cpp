// Delete, Rename and Correct File through the scripted desktop, over real
// files and the real trash of a temporary home.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "catalog/data_file.h"
#include "platform/platform_fixture.h"
#include "windows/main/catalog_window_fixture.h"
#include "windows/main/frm_main.h"
#include "windows/main/recycle_conversation.h"

namespace tallymere {
namespace {

namespace fs = std::filesystem;
using Names = testing::Texts;
using testing::PlatformCall;
using testing::ReadFileBytes;

class FileOperationsTest : public testing::CatalogWindowTest {
 protected:
  void SetUp() override {
    // The desktop's trash, in a home of the test's.
    File("c", "Music/a.mp3", "a");
    File("c", "Music/b.mp3", "b");
    File("c", "Music/c.mp3", "c");
    File("e", "d.mp3", "d");
    ScanFolder("C:\\Music");
    AddDisk("E:\\", "MyCD");  // a disk on the CD drive, added as its own records
    ui().ClearCalls();
  }
  // Lists a node's files and selects the named rows.
  void Select(const std::string& key, const Names& names) {
    main().tvAlbum_NodeClick(Node(key));
    for (int row = 0; row < main().LV().row_count(); ++row) {
      const std::string& name = main().LV().row(row).text;
      main().LV().SetSelected(row, std::find(names.begin(), names.end(), name) != names.end());
    }
  }
  // The File names of the catalog, sorted: a scan keeps the order the disk
  // lists a folder in.
  Names CatalogNames() {
    Names names;
    main().session().catalog().Walk(
        [&](int, const CatalogRecord& record) { names.push_back(record.file_name); });
    std::sort(names.begin(), names.end());
    return names;
  }

  testing::ScopedEnv m_data_home{"XDG_DATA_HOME", m_folder.Path("home")};
};

TEST_F(FileOperationsTest, DeletesToTheTrashRefusingFilesOfDisksAndKeepingWhatTheUserKeeps) {
  ASSERT_EQ(CatalogNames(), (Names{"a.mp3", "b.mp3", "c.mp3", "d.mp3"}));
  // Nothing selected: nothing happens.
  main().tvAlbum_NodeClick(Node("C:\\Music\\"));
  main().Run(MainCommand::kDelete);
  EXPECT_TRUE(ui().Messages().empty());

  // Cancelling the trash's question keeps every record and row.
  Select("C:\\Music\\", {"a.mp3", "b.mp3"});
  ui().AnswerMessage(Answer::kNo);
  main().Run(MainCommand::kDelete);
  EXPECT_EQ(ListNames(), (Names{"a.mp3", "b.mp3", "c.mp3"}));
  EXPECT_EQ(main().session().catalog().FileCount(), 4);

  // Two files of the hard disk go in one trash operation, the Delete key
  // runs the command; a row of the CD is refused.
  main().LV().SetSelected(0, true);
  main().LV().SetSelected(1, true);
  ui().ClearCalls();
  ui().AnswerMessage(Answer::kYes);
  main().LV_KeyDown(kKeyDelete);
  EXPECT_EQ(ui().MessageTexts(),
            (Names{"Are you sure you want to move these 2 files to the trash?"}));
  EXPECT_EQ(ListNames(), (Names{"c.mp3"}));
  EXPECT_EQ(CatalogNames(), (Names{"c.mp3", "d.mp3"}));
  EXPECT_EQ(main().session().catalog().FileCount(), 2);
  EXPECT_TRUE(main().session().changed());
  EXPECT_EQ(ReadFileBytes(m_folder.Path("home/Trash/files/a.mp3")), "a");
  EXPECT_FALSE(fs::exists(m_folder.Path("c/Music/b.mp3")));

  Select("E:\\MyCD\\", {"d.mp3"});
  ui().ClearCalls();
  main().Run(MainCommand::kDelete);
  EXPECT_EQ(Shown(), Names{"E:\\d.mp3 is either on a removable disk or dose not exist and will "
                           "not be deleted.|Tallymere|warning|OK"});
  EXPECT_FALSE(main().LV().row(0).selected);
  EXPECT_EQ(ReadFileBytes(m_folder.Path("e/d.mp3")), "d");

  // A read-only file goes only after Yes to its own question.
  Select("C:\\Music\\", {"c.mp3"});
  fs::permissions(m_folder.Path("c/Music/c.mp3"), fs::perms::owner_write, fs::perm_options::remove);
  ui().ClearCalls();
  ui().AnswerMessage(Answer::kNo);
  main().Run(MainCommand::kDelete);
  EXPECT_EQ(ui().MessageTexts(), (Names{"C:\\Music\\c.mp3 is read only, delete it any way?."}));
  EXPECT_EQ(ListNames(), (Names{"c.mp3"}));
  main().LV().SetSelected(0, true);
  ui().AnswerMessage(Answer::kYes).AnswerMessage(Answer::kYes);
  main().Run(MainCommand::kDelete);
  EXPECT_EQ(ListNames(), Names{});
  EXPECT_EQ(CatalogNames(), (Names{"d.mp3"}));
}

TEST_F(FileOperationsTest, RenamesOnDiskAndInTheRecordRefusingIllegalNames) {
  Select("C:\\Music\\", {"a.mp3"});
  // ":" and "\\" are refused before anything is touched, and end the command.
  for (const char* bad : {"x:y.mp3", "x\\y.mp3"}) {
    ui().AnswerMessage(Answer::kYes).AnswerText(bad);
    main().Run(MainCommand::kRename);
    EXPECT_EQ(Said(ui().Messages().back()),
              "File name can not contain illegal characters.|Rename File");
  }
  EXPECT_EQ(ui().Messages()[0].text, "Are you sure to rename \"C:\\Music\\a.mp3\" ?");
  const testing::UiCall asked = Calls("AskText").at(0);
  // The present name to start from.
  EXPECT_EQ(asked.text + "|" + asked.title + "|" + asked.extra,
            "Enter new name. Legal characters only!|Rename File|a.mp3");
  EXPECT_EQ(ReadFileBytes(m_folder.Path("c/Music/a.mp3")), "a");

  ui().AnswerMessage(Answer::kYes).AnswerText("new.mp3");
  main().Run(MainCommand::kRename);
  EXPECT_EQ(ReadFileBytes(m_folder.Path("c/Music/new.mp3")), "a");
  EXPECT_EQ(main().LV().Cell(main().LV().FirstSelected(), kColFileName), "new.mp3");
  EXPECT_EQ(CatalogNames(), (Names{"b.mp3", "c.mp3", "d.mp3", "new.mp3"}));
  EXPECT_EQ(ui().Status(1), "File on disk has been renamed, data updated.");
  EXPECT_TRUE(main().session().changed());

  // Onto an existing name: asked first, then replaced in one step.
  ui().ClearCalls();
  ui().AnswerMessage(Answer::kYes).AnswerText("b.mp3").AnswerMessage(Answer::kNo);
  main().Run(MainCommand::kRename);
  EXPECT_EQ(ui().Messages().back().text,
            "The file with the same name exist. Do you want to replace it?");
  EXPECT_EQ(ReadFileBytes(m_folder.Path("c/Music/b.mp3")), "b");
  // A rename the disk refuses loses neither file.
  faults().Fail(PlatformCall::kRenameFile, StatusCode::kNoAccess);
  ui().AnswerMessage(Answer::kYes).AnswerText("b.mp3").AnswerMessage(Answer::kYes);
  main().Run(MainCommand::kRename);
  EXPECT_EQ(ui().Messages().back().text,
            "An error has occured. It has the following possibilities: you are trying to write to "
            "a read only drive, you are trying to access an unavailable device.");
  EXPECT_EQ(ReadFileBytes(m_folder.Path("c/Music/b.mp3")) +
                ReadFileBytes(m_folder.Path("c/Music/new.mp3")),
            "ba");
  EXPECT_EQ(CatalogNames(), (Names{"b.mp3", "c.mp3", "d.mp3", "new.mp3"}));
  ui().AnswerMessage(Answer::kYes).AnswerText("b.mp3").AnswerMessage(Answer::kYes);
  main().Run(MainCommand::kRename);
  EXPECT_EQ(ReadFileBytes(m_folder.Path("c/Music/b.mp3")), "a");
  EXPECT_FALSE(fs::exists(m_folder.Path("c/Music/new.mp3")));

  // A file gone from the disk cannot be renamed.
  fs::remove(m_folder.Path("c/Music/c.mp3"));
  Select("C:\\Music\\", {"c.mp3"});
  main().Run(MainCommand::kRename);
  EXPECT_EQ(ui().Messages().back().text, "File does not exist on path specified.");
}

TEST_F(FileOperationsTest, CorrectChangesTheRecordAloneAndAsksAgainAfterAnIllegalName) {
  Select("E:\\MyCD\\", {"d.mp3"});
  ui().AnswerMessage(Answer::kYes).AnswerText("a|b.mp3").AnswerText("right.mp3");
  main().Run(MainCommand::kCorrect);
  EXPECT_EQ(Shown(), (Names{"Are you sure to correct \"E:\\d.mp3\" ?|Tallymere|question|YesNo",
                            "File name can not contain illegal characters.|Tallymere|stop|OK"}));
  EXPECT_EQ(main().session().catalog().Record(1).file_name, "right.mp3");
  EXPECT_EQ(ListNames(), (Names{"right.mp3"}));
  EXPECT_EQ(ReadFileBytes(m_folder.Path("e/d.mp3")), "d");  // the disk is not touched
  EXPECT_EQ(ui().Status(1), "File name has been changed, data updated.");

  // No answers the question: nothing changes.
  ui().AnswerMessage(Answer::kNo);
  main().Run(MainCommand::kCorrect);
  EXPECT_EQ(main().session().catalog().Record(1).file_name, "right.mp3");
}

}  // namespace
}  // namespace tallymere
