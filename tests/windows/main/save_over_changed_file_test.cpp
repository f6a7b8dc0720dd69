// Save when another program has the data file: one that changed it since the
// window read it is never overwritten without asking, and one that is
// writing it now makes the save wait for the user's next try.

#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include "catalog/data_file.h"
#include "windows/main/catalog_window_fixture.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

using testing::ReadFileBytes;

class SaveOverChangedFileTest : public testing::CatalogWindowTest {
 protected:
  // What another program saves: one file, under the window's feet.
  void OtherProgramSaves(const std::string& name) {
    CatalogTable table;
    table.SetRecord(1, Record("C:\\", "C:\\Other\\", name, 7));
    table.SetRecord(2, MakeTrailer("mp3", 1, "now"));
    ASSERT_TRUE(SaveDataFile(platform(), table, m_path).ok());
  }
  void ChangeAndSave() {
    main().session().set_changed(true);
    main().Run(MainCommand::kSaveFile);
  }
  std::string Question() const {
    return "The data file \"" + m_path +
           "\" was changed by another program since this catalog was opened or last saved.\n\n"
           "Save this catalog over it? The changes the other program made would be lost. No "
           "leaves the file as it is; Save A Copy As can keep this catalog under another "
           "name.|Tallymere|warning|YesNo";
  }

  const std::string m_path = folder().Path("c.mpd");
};

TEST_F(SaveOverChangedFileTest, AsksBeforeReplacingAFileAnotherProgramChanged) {
  OpenFiles({{"C:\\", "C:\\Music\\", "a.mp3", 10}});
  OtherProgramSaves("theirs.mp3");
  const std::string theirs = ReadFileBytes(m_path);

  // No: the other program's file stays, and so does the unsaved catalog.
  ui().AnswerMessage(Answer::kNo);
  ChangeAndSave();
  EXPECT_EQ(Shown(), (testing::Texts{Question()}));
  EXPECT_EQ(ReadFileBytes(m_path), theirs);
  EXPECT_TRUE(main().session().changed());

  // Closing asks the same, and No keeps the window open.
  ui().ClearCalls();
  ui().AnswerMessage(Answer::kYes).AnswerMessage(Answer::kNo);
  EXPECT_FALSE(main().Form_Unload());
  EXPECT_EQ(Shown(), (testing::Texts{"Save Change?|Tallymere|question|YesNoCancel", Question()}));
  EXPECT_EQ(ReadFileBytes(m_path), theirs);

  // Yes writes this catalog; after that the file is the window's own again.
  ui().ClearCalls();
  ui().AnswerMessage(Answer::kYes);
  ChangeAndSave();
  EXPECT_EQ(Shown(), (testing::Texts{Question()}));
  EXPECT_FALSE(main().session().changed());
  CatalogTable saved;
  ASSERT_TRUE(LoadDataFile(platform(), m_path, &saved).ok());
  EXPECT_EQ(saved.Record(1).file_name, "a.mp3");
  ui().ClearCalls();
  ChangeAndSave();
  EXPECT_TRUE(ui().Messages().empty());
  EXPECT_FALSE(main().session().changed());
}

TEST_F(SaveOverChangedFileTest, AFileAnotherProgramIsWritingIsNotSavedUntilItIsDone) {
  OpenFiles({{"C:\\", "C:\\Music\\", "a.mp3", 10}});
  const std::string before = ReadFileBytes(m_path);
  const int other = open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(other, 0);
  ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
  ChangeAndSave();
  EXPECT_EQ(Shown(), (testing::Texts{"\"" + m_path +
                                     "\" is being changed by another program.\n\nThe catalog was "
                                     "not saved. Save it again once that program has "
                                     "finished.|Tallymere|warning|OK"}));
  EXPECT_EQ(ReadFileBytes(m_path), before);
  EXPECT_TRUE(main().session().changed());

  // A copy elsewhere is no concern of the other program.
  ui().ClearCalls();
  const std::string copy = folder().Path("copy.mpd");
  ui().AnswerSaveFile(copy);
  main().Run(MainCommand::kSaveas);
  EXPECT_TRUE(ui().Messages().empty());
  EXPECT_FALSE(ReadFileBytes(copy).empty());

  close(other);
  ui().ClearCalls();
  main().Run(MainCommand::kSaveFile);
  EXPECT_TRUE(ui().Messages().empty());
  EXPECT_FALSE(main().session().changed());
}

}  // namespace
}  // namespace tallymere
