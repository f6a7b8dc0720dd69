#include "lists/gshell.h"

#include <errno.h>
#include <gtest/gtest.h>

#include "support/scripted_ui.h"

namespace tallymere {
namespace {

using testing::ScriptedUi;

const std::string kSource = std::string(program_invocation_short_name) + ".GShell";

TEST(GShellTest, ErrorTableGivesNumbersAndTexts) {
  struct Row {
    int result;
    int32_t number;
    const char* text;
  };
  const Row rows[] = {
      {0, 7, "Out of memory"},
      {8, 7, "Out of memory"},
      {2, 53, "File not found"},
      {3, 76, "Path not found"},
      {5, 75, "Path/file access error"},
      {11, -2147220456 + 11, "The executable file is invalid or corrupt"},
      {26, 75, "A sharing violation occurred."},
      {27, -2147220456 + 27, "This file type does not have a valid file association."},
      {28, 286, "The file could not be opened due to time out.  Please try again in a moment."},
      {29, 285,
       "The file could not be opened because the DDE transaction failed.  Please try again in a "
       "moment."},
      {30, 285,
       "The file could not be opened because the target application is busy.  Please try again "
       "in a moment."},
      {31, -2147220456 + 31, "No application is associated with this file type."},
      {32, 48, "The specified dynamic-link library was not found."},
      {1, -2147220456 + 1,
       "An error occurred occurred whilst trying to open or print the selected file."},
      {25, -2147220456 + 25,
       "An error occurred occurred whilst trying to open or print the selected file."},
  };
  for (const Row& row : rows) {
    const ShellError error = ShellErrorFor(static_cast<ShellResult>(row.result));
    EXPECT_EQ(error.number, row.number) << row.result;
    EXPECT_EQ(error.description, row.text) << row.result;
    EXPECT_EQ(error.source, kSource);
  }
}

TEST(GShellTest, SuccessAboveThirtyTwoAndFailureReported) {
  ScriptedUi ui;
  ui.set_shell_result(static_cast<ShellResult>(33));
  ShellError error{1, "untouched", ""};
  EXPECT_TRUE(GShell(ui, "/lists/music.htm", kShowDefault, "", "", "open", &error));
  EXPECT_EQ(error.description, "untouched");

  ui.set_shell_result(ShellResult::kNoAssociation);
  EXPECT_FALSE(GShell(ui, "/lists/music.htm", kShowDefault, "", "", "open", &error));
  EXPECT_EQ(error.number, kShellErrorBase + 31);
  EXPECT_EQ(error.description, "No application is associated with this file type.");
  EXPECT_EQ(error.source, kSource);
  // Callers may ignore the report, and nothing is ever shown.
  EXPECT_FALSE(GShell(ui, "/lists/music.htm", kShowDefault, "", "", "open"));
  EXPECT_TRUE(ui.Messages().empty());
}

TEST(GShellTest, ShowStateIsNormalWithoutParametersAndHiddenForExeWithThem) {
  ScriptedUi ui;
  GShell(ui, "/apps/Setup.exe", kShowDefault, "", "", "open");
  GShell(ui, "/apps/setup.ExE.txt", kShowDefault, "/quiet", "", "open");
  GShell(ui, "/apps/readme.txt", kShowDefault, "", "/apps", "open");
  GShell(ui, "/apps/readme.txt", kShowDefault, "", "", "edit");
  ASSERT_EQ(ui.calls().size(), 4u);
  EXPECT_EQ(ui.calls()[0].panel, kShowNormal);
  EXPECT_EQ(ui.calls()[0].text, "/apps/Setup.exe");
  EXPECT_EQ(ui.calls()[1].panel, kShowHidden);
  EXPECT_EQ(ui.calls()[2].panel, kShowDefault);
  EXPECT_EQ(ui.calls()[2].title, "/apps");  // the folder goes through
  EXPECT_EQ(ui.calls()[3].extra, "edit");   // and so does the verb
}

}  // namespace
}  // namespace tallymere
