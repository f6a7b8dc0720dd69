// The header and footer texts, the help page and Check for Updates through
// the scripted desktop.

#include <gtest/gtest.h>

#include <filesystem>

#include "windows/main/catalog_window_fixture.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

using testing::ReadFileBytes;
using testing::Texts;

class HelpCommandsTest : public testing::CatalogWindowTest {};

TEST_F(HelpCommandsTest, AFirstStartMakesEmptyHeaderAndFooterTextsAndKeepsTheUsersOwn) {
  // Made by the fixture's start-up: a list with the default settings needs them.
  const auto texts = [&] {
    return ReadFileBytes(folder().Path("program/Header.txt")) + "|" +
           ReadFileBytes(folder().Path("program/Footer.txt"));
  };
  EXPECT_EQ(texts(), "|");
  EXPECT_TRUE(ui().Messages().empty());
  File("program", "Header.txt", "My music\r\n");
  main().Form_Load();
  EXPECT_EQ(texts(), "My music\r\n|");
}

TEST_F(HelpCommandsTest, OpensTheProgramFolderFilesOrSaysTheyAreMissing) {
  // Taken away after start-up, they are missing when the commands run.
  std::filesystem::remove(folder().Path("program/Header.txt"));
  std::filesystem::remove(folder().Path("program/Footer.txt"));
  main().Run(MainCommand::kEditHeader);
  main().Run(MainCommand::kEditFooter);
  main().Run(MainCommand::kHelpTopic);
  EXPECT_EQ(Shown(), (Texts{"File not found.|Edit Header Text|stop|OK",
                            "File not found.|Edit Footer Text|stop|OK",
                            "TMRHelp.html not found.|Tallymere Help|stop|OK"}));

  // Present, they open with their programs, in a normal window; nothing is created.
  const std::string header = File("program", "Header.txt", "My music\r\n");
  File("program", "TMRHelp.html", "<html></html>");
  ui().ClearCalls();
  main().Run(MainCommand::kEditHeader);
  main().Run(MainCommand::kHelpTopic);
  main().Run(MainCommand::kLink);
  Texts opened;
  for (const testing::UiCall& call : Calls("ShellOpen"))
    opened.push_back(call.extra + " " + call.text);
  // The texts are opened as text ("edit"), by their name.
  EXPECT_EQ(opened, (Texts{"edit " + header, "open " + folder().Path("program/TMRHelp.html"),
                           "open file://" + folder().Path("program") + "/TMRHelp.html#updates"}));
  EXPECT_TRUE(ui().Messages().empty());

  // A desktop with no program to open it says so, never ends in silence.
  File("program", "Footer.txt", "");
  ui().set_shell_result(ShellResult::kNoAssociation);
  main().Run(MainCommand::kEditFooter);
  EXPECT_EQ(Shown(),
            Texts{"No application is associated with this file type.|Edit Footer Text|stop|OK"});
}

TEST_F(HelpCommandsTest, AHelpPageNoProgramCanOpenShowsInTheProgramsOwnViewer) {
  const std::string page = File("program", "TMRHelp.html", "<html></html>");
  std::vector<std::string> viewed;
  main().show_help_viewer = [&](const std::string& shown) { viewed.push_back(shown); };

  // Refused at once: no program for web pages.
  ui().set_shell_result(ShellResult::kNoAssociation);
  main().Run(MainCommand::kHelpTopic);
  EXPECT_EQ(viewed, Texts{page});
  EXPECT_TRUE(ui().Messages().empty());

  // Taken, then given up by the opener: the help page goes to the viewer,
  // any other file stays the desktop's to report.
  ui().set_shell_result(ShellResult::kStarted);
  main().Run(MainCommand::kHelpTopic);
  EXPECT_EQ(viewed.size(), 1u);
  EXPECT_TRUE(main().OpenerFailed(page));
  EXPECT_FALSE(main().OpenerFailed(folder().Path("program/Header.txt")));
  EXPECT_EQ(viewed, (Texts{page, page}));

  // Other program files keep their message; without a viewer so does help.
  ui().set_shell_result(ShellResult::kNoAssociation);
  main().Run(MainCommand::kEditHeader);
  main().show_help_viewer = nullptr;
  main().Run(MainCommand::kHelpTopic);
  EXPECT_FALSE(main().OpenerFailed(page));
  EXPECT_EQ(Shown(),
            (Texts{"No application is associated with this file type.|Edit Header Text|stop|OK",
                   "No application is associated with this file type.|Tallymere Help|stop|OK"}));
  EXPECT_EQ(viewed.size(), 2u);
}

}  // namespace
}  // namespace tallymere
