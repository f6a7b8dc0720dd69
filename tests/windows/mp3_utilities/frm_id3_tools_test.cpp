// MP3 Utilities: the text tools on column New, their scope, their snapshots
// and Auto. The string rules themselves are in search_and_replace_test.cpp.

#include <gtest/gtest.h>

#include "windows/mp3_utilities/frm_id3_fixture.h"

namespace tallymere {
namespace {

using namespace testing;  // NOLINT: fixture builders

class FrmId3ToolsTest : public FrmId3Test {
 protected:
  // A batch n0, n1, ... whose New names are the given texts.
  void Names(const Texts& names) {
    for (std::size_t i = 0; i < names.size(); ++i) Song("n" + std::to_string(i) + ".mp3");
    LoadFolder();
    for (std::size_t i = 0; i < names.size(); ++i) SetNew("n" + std::to_string(i), names[i]);
  }
  Texts New() const { return Column(kBatchNew); }
};

TEST_F(FrmId3ToolsTest, TrimsTheCurrentEntryOrEveryEntry) {
  Names({"my_song_name", "your_song"});
  Click("n0");
  id3().set_txtText("_");
  id3().cmdTrim_Click();
  EXPECT_EQ(New(), (Texts{"my song name", "your_song"}));
  EXPECT_EQ(id3().txtText() + "|" + id3().focus_request(), "|txtText");
  EXPECT_EQ(id3().CurNames()[0] + "|" + id3().PrevNames()[0], "my song name|n0");
  EXPECT_EQ(Enabled(), kOopsReady);

  SetNew("n0", "my_song_name");
  id3().set_optAll(true);
  id3().set_txtText("_");
  id3().cmdTrim2_Click();
  EXPECT_EQ(New(), (Texts{"mysongname", "yoursong"}));
  id3().cmdTrimNum_Click();  // other tools take the same frame
  id3().cmdSwap_Click();
  id3().cmdUpper_Click();
  EXPECT_EQ(New(), (Texts{"Mysongname", "Yoursong"}));

  // A lone space is no text to trim: nothing happens, not even a snapshot.
  const Texts before = id3().PrevNames();
  id3().set_txtText(" ");
  id3().cmdTrim_Click();
  EXPECT_EQ(id3().PrevNames(), before);
}

TEST_F(FrmId3ToolsTest, ReplacesAndRefusesAnEmptyReplacement) {
  Names({"banana", "cab"});
  id3().set_optAll(true);
  id3().set_txtReplace("a");
  id3().set_txtWith("aa");
  id3().cmdReplace_Click();
  EXPECT_EQ(New(), (Texts{"baanaanaa", "caab"}));
  id3().set_txtReplace("");
  id3().set_txtWith("The ");
  id3().cmdReplace1_Click();
  EXPECT_EQ(New(), (Texts{"The baanaanaa", "The caab"}));

  id3().mnuOops_Click();
  const Texts previous = id3().PrevNames();
  id3().set_txtWith("");
  id3().cmdReplace_Click();
  EXPECT_EQ(Message(0), "MP3 Utilities/information/ok: Can not replace with nothing.");
  EXPECT_EQ(id3().PrevNames(), previous);
  EXPECT_EQ(Enabled(), kRenameReady);
}

TEST_F(FrmId3ToolsTest, InsertsTextAtTheClickedPlace) {
  Names({"Song", "", "Tune"});
  id3().set_optAll(true);
  id3().set_txtText("01 ");
  id3().txtDisplay_Click(0);
  id3().cmdInsert_Click();
  EXPECT_EQ(New(), (Texts{"01 Song", "", "01 Tune"}));
  id3().txtDisplay_Click(4);
  id3().set_txtText("!");
  id3().cmdInsert_Click();
  EXPECT_EQ(New(), (Texts{"01 S!ong", "", "01 T!une"}));

  // With optSelect the current entry takes txtDisplay with the text inserted.
  id3().set_optAll(false);
  Click("n1");
  id3().set_txtDisplay("Blank");
  id3().txtDisplay_Click(5);
  id3().set_txtText(" Space");
  id3().cmdInsert_Click();
  EXPECT_EQ(New()[1], "Blank Space");
}

TEST_F(FrmId3ToolsTest, AutoCleansUpAndOopsTakesBackOnlyItsLastStep) {
  Names({"Artist_-_Song.(live)", "a  b{c}"});
  id3().set_optAll(true);
  id3().set_txtText("left over");
  id3().cmdAuto_Click();
  EXPECT_EQ(New(), (Texts{"Artist - Song (Live)", "A Bc"}));
  EXPECT_EQ(id3().txtText(), "");
  id3().mnuOops_Click();
  EXPECT_EQ(New(), (Texts{"Artist - Song (Live)", "A Bc"}));

  // With optSelect and no current entry nothing changes.
  id3().set_optAll(false);
  SetNew("n0", "x_y");
  id3().cmdAuto_Click();
  EXPECT_EQ(New()[0], "x_y");
}

}  // namespace
}  // namespace tallymere
