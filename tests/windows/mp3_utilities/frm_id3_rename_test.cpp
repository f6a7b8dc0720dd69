// MP3 Utilities: names from tags and by hand, Rename with its checks, log
// and report, and Undo.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "common/format.h"
#include "windows/mp3_utilities/frm_id3_fixture.h"

namespace tallymere {
namespace {

namespace fs = std::filesystem;
using testing::PlatformCall;
using namespace testing;  // NOLINT: fixture builders

class FrmId3RenameTest : public FrmId3Test {
 protected:
  // The names in C:\Music, sorted.
  Texts Files() const {
    Texts names;
    for (const auto& entry : fs::directory_iterator(MusicPath(""))) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  // Yes to "Are you sure?", then the given answer to the report.
  void Rename(Answer report = Answer::kNo) {
    ui().AnswerMessage(Answer::kYes).AnswerMessage(report);
    id3().mnuRen_Click();
  }
  void MakeReadOnly(const std::string& name) {
    fs::permissions(MusicPath(name), fs::perms::owner_write, fs::perm_options::remove);
  }
  bool Writable(const std::string& name) const {
    return (fs::status(MusicPath(name)).permissions() & fs::perms::owner_write) != fs::perms::none;
  }
};

TEST_F(FrmId3RenameTest, ExtractsNamesFromTagsAndRefusesEmptyOrIllegalOnesBeforeTouchingAFile) {
  Song("a.mp3", TaggedAudio({.title = "Title", .artist = "Artist"}));
  Song("b.mp3", TaggedAudio({"Song", "Band", "Album", "", "Com"}));
  Song("c.mp3");
  Song("d.mp3", TaggedAudio({.title = "Short", .artist = "Nul", .pad = '\0'}));
  MakeReadOnly("d.mp3");
  LoadFolder();
  id3().set_optAll(true);
  id3().Tbr_ButtonClick(10);  // Extract ID3 Tag
  EXPECT_EQ(Column(kBatchNew), (Texts{"Artist - Title", "Band - Song", "", "Nul - Short"}));
  EXPECT_EQ(Enabled(), kRenameReady);
  EXPECT_EQ(id3().CurNames()[0], "a");  // no snapshot: Oops! does not take it back
  id3().mnuAlbum_Click();
  id3().mnuIDrenam_Click();
  EXPECT_EQ(batch().Cell(1, kBatchNew), "Band - Album - Song");
  id3().mnuCom_Click();
  id3().mnuIDrenam_Click();
  EXPECT_EQ(batch().Cell(1, kBatchNew), "Band - Album - Com - Song");

  // The untagged file's empty name stops Rename, and so does an illegal one.
  id3().mnuRen_Click();
  SetNew("c", "AC/DC - Back");
  id3().mnuRen_Click();
  EXPECT_EQ((Texts{Message(0), Message(1)}),
            (Texts{"Tallymere/stop/ok: File name can not be empty! Please correct the problem "
                   "first.",
                   "Rename File/stop/ok: File name can not contain illegal characters."}));
  EXPECT_EQ(Files(), (Texts{"a.mp3", "b.mp3", "c.mp3", "d.mp3"}));
  EXPECT_FALSE(Writable("d.mp3"));  // not even an attribute was reset
}

TEST_F(FrmId3RenameTest, RefusesANewNameThatIsALaterEntrysOldName) {
  Song("A.mp3", "first");
  Song("B.mp3", "second");
  LoadFolder();
  SetNew({{"A", "B"}, {"B", "C"}});
  id3().mnuRen_Click();
  EXPECT_EQ(Message(0),
            "Rename File/stop/ok: Duplicate name found, please correct the problem first.");
  EXPECT_EQ(Files(), (Texts{"A.mp3", "B.mp3"}));

  // An earlier entry's old name is free by the time a later entry takes it.
  SetNew({{"A", "C"}, {"B", "A"}});
  Rename();
  EXPECT_EQ(Message(1), "Confirm Rename/question/yesno: Are you sure?");
  EXPECT_EQ(ReadFileBytes(MusicPath("C.mp3")) + ReadFileBytes(MusicPath("A.mp3")), "firstsecond");
  EXPECT_EQ(Message(2),
            "Tallymere/question/yesno: Files have been renamed successfully. Do you want to see "
            "the log file now?");
}

TEST_F(FrmId3RenameTest, UndoRestoresTheNamesAndRenameRunsAgain) {
  Song("a.mp3", "A");
  Song("b.mp3", "B");
  LoadFolder();
  id3().mnuLog_Click();
  SetNew({{"a", "x"}, {"b", "y"}});
  ui().AnswerMessage(Answer::kYes);
  id3().mnuRen_Click();
  EXPECT_EQ(Message(1), "Tallymere/question/ok: Files have been renamed successfully. ");
  EXPECT_EQ(Files(), (Texts{"x.mp3", "y.mp3"}));  // no log

  id3().Tbr_ButtonClick(15);  // Undo
  EXPECT_EQ(ReadFileBytes(MusicPath("a.mp3")) + ReadFileBytes(MusicPath("b.mp3")), "AB");
  EXPECT_EQ(Column(kBatchOriginal), (Texts{"a", "b"}));
  EXPECT_EQ(Column(kBatchNew), (Texts{"x", "y"}));
  EXPECT_EQ(Message(2), "Tallymere/information/ok: Undo successful!");
  EXPECT_EQ(Enabled(), kRenameReady);

  ui().AnswerMessage(Answer::kYes);
  id3().mnuRen_Click();
  EXPECT_EQ(ReadFileBytes(MusicPath("x.mp3")) + ReadFileBytes(MusicPath("y.mp3")), "AB");
}

TEST_F(FrmId3RenameTest, UndoTakesBackAChainOfRenamesLastFirst) {
  Song("a.mp3", "A");
  Song("b.mp3", "B");
  LoadFolder();
  id3().mnuLog_Click();
  // a takes the name c, then b the name a has just left.
  SetNew({{"a", "c"}, {"b", "a"}});
  ui().AnswerMessage(Answer::kYes);
  id3().mnuRen_Click();
  EXPECT_EQ(ReadFileBytes(MusicPath("c.mp3")) + ReadFileBytes(MusicPath("a.mp3")), "AB");
  id3().mnuUndo_Click();
  EXPECT_EQ(Files(), (Texts{"a.mp3", "b.mp3"}));
  EXPECT_EQ(ReadFileBytes(MusicPath("a.mp3")) + ReadFileBytes(MusicPath("b.mp3")), "AB");
  EXPECT_EQ(Message(2), "Tallymere/information/ok: Undo successful!");
}

TEST_F(FrmId3RenameTest, ARefusedRenameAndALogOnAFullDiskAreEachReported) {
  LoadSongs({"one.mp3", "two.mp3"});
  SetNew({{"one", "1"}, {"two", "2"}});
  faults().Fail(PlatformCall::kRenameFile, StatusCode::kNoAccess, 1, "two.mp3");
  faults().Fail(PlatformCall::kWriteFile, StatusCode::kNoSpace, 1, "rename.log");
  ui().AnswerMessage(Answer::kYes);
  id3().mnuRen_Click();
  EXPECT_EQ(Message(1),
            "Tallymere/stop/ok: Cannot rename \"C:\\Music\\two.mp3\": Permission "
            "denied , while renaming: C:\\Music\\two.mp3");
  EXPECT_EQ(Message(2), "Tallymere/stop/ok: Cannot write \"" + MusicPath("rename.log") +
                            "\": No space left on device");
  EXPECT_EQ(ui().Messages().size(), 3u);  // no offer to show a log that is not there
  EXPECT_EQ(Files(), (Texts{"1.mp3", "two.mp3"}));
  EXPECT_EQ(Column(kBatchOriginal), (Texts{"1", "two"}));
  EXPECT_EQ(Enabled(), kUndoReady);
}

TEST_F(FrmId3RenameTest, LogsEveryRenameAndTheOneThatFailed) {
  LoadSongs({"one.mp3", "two.mp3", "three.mp3"});
  SetNew({{"one", "1"}, {"two", "2"}, {"three", "3"}});
  Song("2.mp3", "in the way");  // not in the batch: the checks cannot see it
  Rename(Answer::kYes);

  const std::string failure = ui().Messages().at(1).text;
  const std::string suffix = " , while renaming: C:\\Music\\two.mp3";
  ASSERT_GT(failure.size(), suffix.size());
  EXPECT_EQ(failure.substr(failure.size() - suffix.size()), suffix);
  EXPECT_EQ(Message(1).substr(0, 15), "Tallymere/stop/");
  EXPECT_EQ(Message(2),
            "Tallymere/question/yesno: Error occured during rename. Do you want to see the log "
            "file now?");
  const std::string rule(64, '=');
  const std::string log =
      std::string(18, ' ') + "Tallymere Rename Log\r\n" + std::string(22, ' ') +
      FormatDateTime(kFixedNow) + "\r\n\r\nLog file: C:\\Music\\rename.log\r\n" + rule +
      "\r\n\r\nOld: C:\\Music\\   one.mp3\r\nNew: C:\\Music\\   1.mp3\r\n"
      "\r\nOld: C:\\Music\\   three.mp3\r\nNew: C:\\Music\\   3.mp3\r\n"
      "\r\nOld: C:\\Music\\   two.mp3\r\nNew: ---------> " +
      failure.substr(0, failure.size() - suffix.size()) + " <----------\r\n\r\n" + rule +
      "\r\nTotal number of file(s) renamed: 2\r\n\r\n1 error(s).\r\n";
  EXPECT_EQ(ReadFileBytes(MusicPath("rename.log")), log);
  const auto opened = std::find_if(ui().calls().begin(), ui().calls().end(),
                                   [](const UiCall& call) { return call.op == "ShellOpen"; });
  ASSERT_NE(opened, ui().calls().end());
  EXPECT_EQ(opened->extra + " " + opened->text, "open " + MusicPath("rename.log"));

  // The failed entry still names its file; Rename waits for Undo or a new name.
  EXPECT_EQ(Column(kBatchOriginal), (Texts{"1", "3", "two"}));
  EXPECT_EQ(Column(kBatchOldName), (Texts{"one", "three", "two"}));
  EXPECT_EQ(Enabled(), kUndoReady);
  EXPECT_EQ(ui().busy_depth(), 0);

  id3().mnuUndo_Click();
  EXPECT_EQ(Files(), (Texts{"2.mp3", "one.mp3", "rename.log", "three.mp3", "two.mp3"}));
  EXPECT_EQ(Column(kBatchOriginal), (Texts{"one", "three", "two"}));
}

TEST_F(FrmId3RenameTest, ARenameOfFilesFromTheCatalogRenamesTheirRecordsAndUndoTakesItBack) {
  Song("a.mp3", "A");
  Song("b.mp3", "B");
  CatalogSong("a.mp3", true);
  CatalogSong("b.mp3", false);  // not sent: keeps its name
  main().Run(MainCommand::kId3);
  main().session().set_changed(false);
  SetNew("a", "Artist - Title");
  Rename();
  EXPECT_EQ(Files(), (Texts{"Artist - Title.mp3", "b.mp3", "rename.log"}));
  EXPECT_TRUE(id3().LinkedToCatalog());
  EXPECT_EQ(main().session().catalog().Record(1).file_name, "Artist - Title.mp3");
  EXPECT_EQ(main().session().catalog().Record(2).file_name, "b.mp3");
  EXPECT_EQ(main().LV().Cell(0, kColFileName), "Artist - Title.mp3");
  EXPECT_TRUE(main().session().changed());

  id3().mnuUndo_Click();
  EXPECT_EQ(Files(), (Texts{"a.mp3", "b.mp3", "rename.log"}));
  EXPECT_EQ(main().session().catalog().Record(1).file_name, "a.mp3");
  EXPECT_EQ(main().LV().Cell(0, kColFileName), "a.mp3");
}

TEST_F(FrmId3RenameTest, AsksAboutReadOnlyFilesAndStopsAtMissingOnes) {
  Song("a.mp3");
  MakeReadOnly("a.mp3");
  LoadSongs({"b.mp3"});
  SetNew({{"a", "x"}, {"b", "y"}});
  ui().AnswerMessage(Answer::kNo);  // leave the read-only file out
  Rename();
  EXPECT_EQ(Message(0), "Confirm/question/yesno: C:\\Music\\a.mp3 is read only. Rename it anyway?");
  EXPECT_EQ(Files(), (Texts{"a.mp3", "rename.log", "y.mp3"}));
  EXPECT_EQ(Column(kBatchOriginal), (Texts{"y"}));

  LoadFolder();
  SetNew("a", "x");
  ui().AnswerMessage(Answer::kYes);  // rename it anyway: its attribute is reset
  Rename();
  EXPECT_TRUE(Writable("x.mp3"));

  LoadFolder();
  fs::remove(MusicPath("y.mp3"));
  ui().ClearCalls();
  id3().mnuRen_Click();
  EXPECT_EQ(Message(0), "Tallymere/stop/ok: C:\\Music\\y.mp3 not found. Can not continue.");
}

TEST_F(FrmId3RenameTest, PreparesNamesByHandAndTakesThemBack) {
  LoadSongs({"a.mp3", "b.mp3"});
  Click("b");
  id3().set_txtDisplay("Typed");
  id3().Tbr_ButtonClick(9);  // Manual
  EXPECT_EQ(Column(kBatchNew), (Texts{"a", "Typed"}));
  EXPECT_EQ(Enabled(), kOopsReady);
  id3().mnuOops_Click();
  EXPECT_EQ(Column(kBatchNew), (Texts{"a", "b"}));
  EXPECT_EQ(id3().txtDisplay(), "b");  // the New Name box follows its entry
  EXPECT_EQ(Enabled(), kRenameReady);

  id3().set_txtDisplay("Typed");
  id3().mnuMan_Click();
  id3().mnuStartOver_Click();
  EXPECT_EQ(Column(kBatchNew), (Texts{"a", "b"}));
  EXPECT_EQ(id3().txtDisplay(), "b");
  EXPECT_EQ(Enabled(), kRenameReady);
  // After Start Over a step still leaves the names before it for Oops!.
  id3().mnuMan_Click();
  id3().mnuOops_Click();
  EXPECT_EQ(Column(kBatchNew), (Texts{"a", "b"}));

  // Enter in the New Name box is Manual; Ctrl+A selects every entry and says so.
  id3().set_txtDisplay("Entered");
  id3().txtDisplay_KeyPress(kKeyEnter);
  EXPECT_EQ(Column(kBatchNew), (Texts{"a", "Entered"}));
  id3().LvOld_SelectAll();
  EXPECT_EQ(batch().SelectedCount(), 2);
  EXPECT_EQ(id3().status(2), "2 selected");
}

}  // namespace
}  // namespace tallymere
