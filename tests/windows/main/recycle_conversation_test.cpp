// The questions around moving files to the trash, over the real trash of a
// temporary home: the platform moves and deletes, the window asks.

#include "windows/main/recycle_conversation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform_fixture.h"
#include "support/faulty_platform.h"
#include "support/scripted_ui.h"

namespace tallymere {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;

using testing::PlatformCall;

// C: is a folder of the test's; the home trash lies beside it.
class RecycleTest : public ::testing::Test {
 protected:
  std::string Music(const std::string& name) {
    return m_drives.folder().WriteFile("c/Music/" + name, name);
  }
  std::string Trashed(const std::string& name) const {
    return ReadFileBytes(m_drives.folder().Path("data/Trash/files/" + name));
  }
  // Each message as "title|icon|buttons|text".
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const testing::UiCall& c : m_ui.Messages())
      texts.push_back(Box(c.icon, c.buttons, c.text, c.title));
    return texts;
  }
  static std::string Box(Icon icon, Buttons buttons, const std::string& text,
                         const std::string& title = "Move to Trash") {
    return title + "|" + std::to_string(static_cast<int>(icon)) + "|" +
           std::to_string(static_cast<int>(buttons)) + "|" + text;
  }

  testing::DrivesFixture m_drives{"C: fixed %ROOT%/c\n"};
  testing::ScopedEnv m_data_home{"XDG_DATA_HOME", m_drives.folder().Path("data")};
  testing::FaultyPlatform m_platform{m_drives.platform()};
  testing::ScriptedUi m_ui;
};

TEST_F(RecycleTest, AsksOnceThenMovesEveryFileAndNoChangesNothing) {
  const std::string a = Music("a.mp3");
  Music("b.mp3");
  EXPECT_EQ(RecycleWithConfirmation(m_ui, m_platform, {}), RecycleOutcome::kAllMoved);
  EXPECT_TRUE(m_ui.Messages().empty());

  m_ui.AnswerMessage(Answer::kNo);
  EXPECT_EQ(RecycleWithConfirmation(m_ui, m_platform, {a}), RecycleOutcome::kKept);
  EXPECT_EQ(ReadFileBytes(a), "a.mp3");

  // Catalog paths are moved as the files they name.
  m_ui.AnswerMessage(Answer::kYes);
  EXPECT_EQ(RecycleWithConfirmation(m_ui, m_platform, {a, "C:\\Music\\b.mp3"}),
            RecycleOutcome::kAllMoved);
  EXPECT_FALSE(fs::exists(a));
  EXPECT_EQ(Trashed("a.mp3") + Trashed("b.mp3"), "a.mp3b.mp3");
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            Box(Icon::kQuestion, Buttons::kYesNo,
                                "Are you sure you want to move \"a.mp3\" to the trash?"),
                            Box(Icon::kQuestion, Buttons::kYesNo,
                                "Are you sure you want to move these 2 files to the trash?")}));
}

TEST_F(RecycleTest, AFileNoTrashCanTakeMayBeDeletedKeptOrStopEverything) {
  const std::string keep = Music("keep.mp3");
  const std::string drop = Music("drop.mp3");
  const std::string last = Music("last.mp3");
  m_platform.Fail(PlatformCall::kMoveToTrash, StatusCode::kUnsupported, 0, "keep.mp3");
  m_platform.Fail(PlatformCall::kMoveToTrash, StatusCode::kUnsupported, 0, "drop.mp3");
  m_ui.AnswerMessage(Answer::kYes).AnswerMessage(Answer::kNo).AnswerMessage(Answer::kYes);
  // One file was kept, so not everything went.
  EXPECT_EQ(RecycleWithConfirmation(m_ui, m_platform, {keep, drop, last}), RecycleOutcome::kKept);
  EXPECT_EQ(ReadFileBytes(keep), "keep.mp3");
  EXPECT_FALSE(fs::exists(drop));
  EXPECT_FALSE(fs::exists(m_drives.folder().Path("data/Trash/files/drop.mp3")));
  EXPECT_EQ(Trashed("last.mp3"), "last.mp3");
  const std::vector<std::string> messages = Messages();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[1],
            Box(Icon::kWarning, Buttons::kYesNoCancel,
                "Cannot move \"" + keep + "\": the disk has no usable trash\n\n" +
                    "Delete \"keep.mp3\" permanently instead? It cannot be recovered."));

  // Cancel stops before the files after it.
  const std::string after = Music("after.mp3");
  m_ui.ClearCalls();
  m_ui.AnswerMessage(Answer::kYes).AnswerMessage(Answer::kCancel);
  EXPECT_EQ(RecycleWithConfirmation(m_ui, m_platform, {keep, after}), RecycleOutcome::kKept);
  EXPECT_EQ(ReadFileBytes(keep) + ReadFileBytes(after), "keep.mp3after.mp3");

  // A delete that fails says why and stops.
  m_platform.Fail(PlatformCall::kDeletePermanently, StatusCode::kNoAccess);
  m_ui.ClearCalls();
  m_ui.AnswerMessage(Answer::kYes).AnswerMessage(Answer::kYes);
  EXPECT_EQ(RecycleWithConfirmation(m_ui, m_platform, {keep, after}), RecycleOutcome::kFailed);
  EXPECT_EQ(Messages().back(),
            Box(Icon::kStop, Buttons::kOk, "Cannot delete \"" + keep + "\": Permission denied"));
  EXPECT_EQ(ReadFileBytes(after), "after.mp3");
}

TEST_F(RecycleTest, AnyOtherFailureIsShownAndStopsTheRest) {
  const std::string gone = m_drives.folder().Path("c/Music/gone.mp3");
  const std::string locked = Music("locked.mp3");
  const std::string next = Music("next.mp3");
  m_platform.Fail(PlatformCall::kMoveToTrash, StatusCode::kNoAccess, 0, "locked.mp3");
  m_ui.AnswerMessage(Answer::kYes);
  EXPECT_EQ(RecycleWithConfirmation(m_ui, m_platform, {gone, next}), RecycleOutcome::kFailed);
  m_ui.AnswerMessage(Answer::kYes);
  EXPECT_EQ(RecycleWithConfirmation(m_ui, m_platform, {locked, next}), RecycleOutcome::kFailed);
  EXPECT_EQ(ReadFileBytes(locked) + ReadFileBytes(next), "locked.mp3next.mp3");
  const std::vector<std::string> messages = Messages();
  ASSERT_EQ(messages.size(), 4u);
  EXPECT_EQ(messages[1], Box(Icon::kStop, Buttons::kOk,
                             "Cannot move \"" + gone + "\" to the trash: it does not exist."));
  EXPECT_EQ(messages[3],
            Box(Icon::kStop, Buttons::kOk, "Cannot move \"" + locked + "\": Permission denied"));
}

}  // namespace
}  // namespace tallymere
