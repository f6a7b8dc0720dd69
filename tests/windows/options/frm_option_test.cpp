// The Options dialog through the scripted desktop: OK applies for the run,
// Save also writes the settings file, Cancel drops the changes but for the
// table colour.

#include "windows/options/frm_option.h"

#include <gtest/gtest.h>

#include "mp3/mp3_fixtures.h"
#include "support/main_window_fixture.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

using testing::ReadFileBytes;

class FrmOptionTest : public testing::MainWindowTest {
 protected:
  std::string SettingsFile() const {
    return ReadFileBytes(folder().Path("program/Data/lists.dat"));
  }
  int closes = 0;
};

TEST_F(FrmOptionTest, OpensFromTheSettingsAndOkAppliesForTheRunOnly) {
  FrmOption options(session(), services().ui());
  options.close_window = [this] { ++closes; };
  EXPECT_FALSE(options.controls().optOne);
  EXPECT_EQ(
      options.controls().txtType + "|" + options.controls().cmbBW + "|" + options.controls().txtCol,
      "mp3|1|75");
  const std::string before = SettingsFile();

  options.controls().txtType = "MP3";  // typed in capitals, kept in lower case
  options.controls().chkSize = 0;
  options.controls().cmbBW = "x";      // no number: the width stays
  options.controls().txtCol = " 80 ";  // blanks around a number are fine
  options.cmdOK_Click();
  EXPECT_EQ(closes, 1);
  const Settings& applied = main().session().settings();
  EXPECT_EQ(applied.txtType, "mp3");
  EXPECT_EQ(std::vector<int>({applied.chkSize, applied.cmbBW, applied.txtCol}),
            std::vector<int>({0, 1, 80}));
  EXPECT_EQ(SettingsFile(), before);

  // Cancel drops the changes; the next opening starts from the settings.
  options.Form_Load();
  options.controls().chkSize = 1;
  options.controls().cmbAlign = "Right";
  options.cmdCancel_Click();
  EXPECT_EQ(std::to_string(applied.chkSize) + applied.cmbAlign, "0Left");
}

TEST_F(FrmOptionTest, SaveWritesTheSixteenLinesAndAFailedWriteKeepsTheDialog) {
  FrmOption options(session(), services().ui());
  options.close_window = [this] { ++closes; };
  options.controls().optOne = true;
  options.controls().optSeperate = false;
  options.controls().chkHtml = 1;
  options.controls().txtTW = "50";
  options.cmdSave_Click();
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(SettingsFile(),
            "True\r\nFalse\r\n0\r\n1\r\n1\r\n1\r\n1\r\nmp3\r\n1\r\n0\r\n11599871\r\n13828095\r\n"
            "50\r\n1\r\nLeft\r\n75\r\n");
  EXPECT_EQ(main().session().settings().chkHtml, 1);

  const std::string saved = SettingsFile();
  faults().Fail(testing::PlatformCall::kWriteFile, StatusCode::kNoSpace, 1, "lists.dat");
  options.controls().chkHtml = 0;
  options.cmdSave_Click();
  EXPECT_EQ(closes, 1);  // still open
  ASSERT_EQ(ui().Messages().size(), 1u);
  EXPECT_EQ(ui().Messages()[0].title, "Tallymere Options");
  EXPECT_NE(ui().Messages()[0].text.find("No space left on device"), std::string::npos);
  EXPECT_EQ(SettingsFile(), saved);
  EXPECT_EQ(main().session().settings().chkHtml, 1);
}

TEST_F(FrmOptionTest, TheTableColourStaysAfterCancelThePageColourDoesNot) {
  FrmOption options(session(), services().ui());
  ui().ClearCalls();
  ui().AnswerColor(0x00123456).AnswerColor(0x00654321);
  options.TBcolor_Click();
  options.PGcolor_Click();
  EXPECT_EQ(ui().calls()[0].title + "|" + ui().calls()[1].title,
            "Table Background Color|Page Background Color");
  EXPECT_EQ(std::vector<int32_t>({options.controls().TBcolor, options.controls().PGcolor}),
            std::vector<int32_t>({0x00123456, 0x00654321}));
  options.cmdCancel_Click();
  EXPECT_EQ(std::vector<int32_t>(
                {main().session().settings().TBcolor, main().session().settings().PGcolor}),
            std::vector<int32_t>({0x00123456, 13828095}));

  // Each dialog starts at its swatch's colour; Cancel leaves the swatch as it was.
  FrmOption again(session(), services().ui());
  again.Form_Load();
  ui().ClearCalls();
  ui().CancelColor().CancelColor();
  again.PGcolor_Click();
  again.TBcolor_Click();
  EXPECT_EQ(ui().calls()[0].text + "|" + ui().calls()[1].text,
            std::to_string(13828095) + "|" + std::to_string(0x00123456));
  EXPECT_EQ(std::vector<int32_t>({again.controls().TBcolor, again.controls().PGcolor}),
            std::vector<int32_t>({0x00123456, 13828095}));
}

TEST_F(FrmOptionTest, TheId3v1EncodingIsKeptApartFromListsDatAndScansReadWithIt) {
  // "Кино" as a player set to Windows-1251 wrote it.
  File("c", "Music/film.mp3",
       testing::Frame() + testing::Id3v1Block({.title = "\xCA\xE8\xED\xEE"}));
  FrmOption options(session(), services().ui());
  EXPECT_EQ(options.controls().cmbId3v1Encoding, "Automatic");
  const std::string lists_dat = SettingsFile();
  options.controls().cmbId3v1Encoding = "Windows-1251";
  options.cmdSave_Click();
  EXPECT_EQ(ReadFileBytes(folder().Path("config/settings.conf")),
            "Id3v1Encoding=Windows-1251\nShelfSubfolders=0\nShowDiskLabels=0\n");
  EXPECT_EQ(SettingsFile(), lists_dat);  // still its sixteen lines

  ui().AnswerFolder("C:\\Music");
  main().Run(MainCommand::kCmdAdd);
  main().Run(MainCommand::kScan);
  EXPECT_EQ(main().session().catalog().Record(1).title, "Кино");

  // The next start reads it back; a name it does not know is said once.
  WriteDrives("C: fixed %ROOT%/c\n");
  EXPECT_EQ(main().session().program_settings().id3v1_code_page.name(), "Windows-1251");
  folder().WriteFile("config/settings.conf", "Id3v1Encoding=Latin-9\n");
  ui().ClearCalls();
  WriteDrives("C: fixed %ROOT%/c\n");
  EXPECT_EQ(ui().MessageTexts(),
            std::vector<std::string>{folder().Path("config/settings.conf") +
                                     " could not be used in full:\n\nThe ID3v1 text encoding "
                                     "\"Latin-9\" is not one Tallymere knows; Automatic is used."});
  EXPECT_TRUE(main().session().program_settings().id3v1_code_page.automatic());

  // A settings file that cannot be written keeps the dialog open with its values.
  faults().Fail(testing::PlatformCall::kWriteFile, StatusCode::kNoAccess, 1, "settings.conf");
  FrmOption again(session(), services().ui());
  again.close_window = [this] { ++closes; };
  again.controls().cmbId3v1Encoding = "GBK";
  again.cmdSave_Click();
  EXPECT_EQ(closes, 0);
  EXPECT_NE(ui().Messages().back().text.find("The options were not saved."), std::string::npos);
  EXPECT_TRUE(main().session().program_settings().id3v1_code_page.automatic());
}

TEST_F(FrmOptionTest, LeaveOutRulesAreEditedRestoredAndARuleThatCannotBeUsedIsNamed) {
  FrmOption options(session(), services().ui());
  options.close_window = [this] { ++closes; };
  const std::string defaults = options.controls().txtLeaveOut;
  EXPECT_EQ(defaults.substr(0, defaults.find('\n')), "node_modules/");
  EXPECT_EQ(options.controls().chkHidden, 0);

  // A rule that cannot be used: said, and No keeps the dialog open.
  options.controls().txtLeaveOut = "*.tmp\r\n\n[oops\n";
  options.controls().chkHidden = 1;
  ui().AnswerMessage(Answer::kNo);
  options.Run(OptionCommand::kOK);
  ASSERT_EQ(ui().Messages().size(), 1u);
  EXPECT_EQ(ui().Messages()[0].text,
            "Leave-out rule 2 \"[oops\" has a \"[\" that does not close and is not used; the "
            "other rules are used.\n\nKeep the options anyway?");
  EXPECT_EQ(closes, 0);
  EXPECT_EQ(session().program_settings().leave_out, DefaultLeaveOutRules());
  // Yes keeps them as typed; the scans then use the rules that can be used.
  ui().AnswerMessage(Answer::kYes);
  options.Run(OptionCommand::kOK);
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(session().program_settings().leave_out, (std::vector<std::string>{"*.tmp", "[oops"}));
  EXPECT_TRUE(session().program_settings().include_hidden);
  EXPECT_TRUE(session().CurrentScanSettings().include_hidden);

  options.Form_Load();
  options.Run(OptionCommand::kDefaults);
  EXPECT_EQ(options.controls().txtLeaveOut, defaults);
  options.controls().txtLeaveOut = "";  // an empty box leaves nothing out
  options.Run(OptionCommand::kSave);
  EXPECT_TRUE(session().program_settings().leave_out.empty());
  std::vector<std::string> problems;
  EXPECT_TRUE(ReadProgramSettings(platform(), &problems).leave_out.empty());
}

}  // namespace
}  // namespace tallymere
