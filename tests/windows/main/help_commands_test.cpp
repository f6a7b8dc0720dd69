// The header and footer texts, the help page and Check for Updates through
// the scripted desktop.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/main_window_fixture.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

class HelpCommandsTest : public testing::MainWindowTest {};

TEST_F(HelpCommandsTest, AFirstStartMakesEmptyHeaderAndFooterTextsAndKeepsTheUsersOwn) {
  // Made by the fixture's start-up: a list with the default settings needs them.
  EXPECT_EQ(testing::ReadFileBytes(folder().Path("program/Header.txt")), "");
  EXPECT_EQ(testing::ReadFileBytes(folder().Path("program/Footer.txt")), "");
  EXPECT_TRUE(ui().Messages().empty());

  File("program", "Header.txt", "My music\r\n");
  main().Form_Load();
  EXPECT_EQ(testing::ReadFileBytes(folder().Path("program/Header.txt")), "My music\r\n");
  EXPECT_EQ(testing::ReadFileBytes(folder().Path("program/Footer.txt")), "");
}

TEST_F(HelpCommandsTest, OpensTheProgramFolderFilesOrSaysTheyAreMissing) {
  // Taken away after start-up, they are missing when the commands run.
  std::filesystem::remove(folder().Path("program/Header.txt"));
  std::filesystem::remove(folder().Path("program/Footer.txt"));
  main().mnuEditHeader_Click();
  main().mnuEditFooter_Click();
  main().mnuHelpTopic_Click();
  ASSERT_EQ(ui().Messages().size(), 3u);
  EXPECT_EQ(ui().Messages()[0].text + "|" + ui().Messages()[0].title,
            "File not found.|Edit Header Text");
  EXPECT_EQ(ui().Messages()[1].text + "|" + ui().Messages()[1].title,
            "File not found.|Edit Footer Text");
  EXPECT_EQ(ui().Messages()[2].text + "|" + ui().Messages()[2].title,
            "TMRHelp.html not found.|Tallymere Help");
  EXPECT_EQ(ui().Messages()[2].icon, Icon::kStop);

  // Present, they open with their programs, in a normal window; nothing is created.
  const std::string header = File("program", "Header.txt", "My music\r\n");
  File("program", "TMRHelp.html", "<html></html>");
  ui().ClearCalls();
  main().mnuEditHeader_Click();
  main().mnuHelpTopic_Click();
  main().mnuLink_Click();
  std::vector<std::string> opened;
  for (const testing::UiCall& call : ui().calls()) {
    if (call.op == "ShellOpen") opened.push_back(call.extra + " " + call.text);
  }
  // The texts are opened as text ("edit"), by their name.
  EXPECT_EQ(opened, (std::vector<std::string>{
                        "edit " + header, "open " + folder().Path("program/TMRHelp.html"),
                        "open file://" + folder().Path("program") + "/TMRHelp.html#updates"}));
  EXPECT_TRUE(ui().Messages().empty());

  // A desktop with no program to open it says so, never ends in silence.
  File("program", "Footer.txt", "");
  ui().set_shell_result(ShellResult::kNoAssociation);
  main().mnuEditFooter_Click();
  ASSERT_EQ(ui().Messages().size(), 1u);
  EXPECT_EQ(ui().Messages()[0].text + "|" + ui().Messages()[0].title,
            "No application is associated with this file type.|Edit Footer Text");
}

}  // namespace
}  // namespace tallymere
