#include "platform/shell_open.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <map>
#include <thread>

#include "support/temp_folder.h"

namespace tallymere {
namespace {

using testing::TempFolder;

// The desktop as the tests script it: xdg-mime answers by command line,
// launches are recorded instead of run.
class FakeDesktop {
 public:
  void Answer(const std::string& command, CommandOutput output) { m_answers[command] = output; }
  void set_mime_missing(bool missing) { m_mime_missing = missing; }
  void set_opener_missing(bool missing) { m_opener_missing = missing; }

  ShellTools Tools(std::vector<std::string> mime_folders = {}) {
    ShellTools tools;
    tools.run = [this](const std::vector<std::string>& argv) {
      std::string command;
      for (const std::string& part : argv) command += (command.empty() ? "" : " ") + part;
      m_queries.push_back(command);
      if (m_mime_missing) return CommandOutput{};
      const auto found = m_answers.find(command);
      return found != m_answers.end() ? found->second : CommandOutput{true, 0, ""};
    };
    tools.launch = [this](const std::vector<std::string>& argv, const std::string& folder,
                          OpenFailed) {
      if (m_opener_missing) return Status::Error("Cannot start xdg-open");
      m_launches.push_back(argv);
      m_folders.push_back(folder);
      return Status::Ok();
    };
    tools.mime_folders = std::move(mime_folders);
    return tools;
  }

  const std::vector<std::string>& queries() const { return m_queries; }
  const std::vector<std::vector<std::string>>& launches() const { return m_launches; }
  const std::vector<std::string>& folders() const { return m_folders; }

 private:
  std::map<std::string, CommandOutput> m_answers;
  bool m_mime_missing = false;
  bool m_opener_missing = false;
  std::vector<std::string> m_queries;
  std::vector<std::vector<std::string>> m_launches;
  std::vector<std::string> m_folders;
};

CommandOutput Says(std::string text) { return CommandOutput{true, 0, std::move(text)}; }

TEST(ShellOpenTest, MissingFileAndMissingFolderAreRefusedBeforeLaunching) {
  TempFolder temp;
  const std::string file = temp.WriteFile("a.txt", "x");
  FakeDesktop desktop;
  const ShellTools tools = desktop.Tools();

  EXPECT_EQ(ShellOpenPath(temp.Path("gone.txt"), "", tools, nullptr), kShellFileNotFound);
  EXPECT_EQ(ShellOpenPath(temp.Path("no folder/gone.txt"), "", tools, nullptr), kShellPathNotFound);
  EXPECT_EQ(ShellOpenPath(file + "/inside.txt", "", tools, nullptr), kShellPathNotFound);
  EXPECT_EQ(ShellOpenPath("", "", tools, nullptr), kShellFileNotFound);
  EXPECT_TRUE(desktop.queries().empty());
  EXPECT_TRUE(desktop.launches().empty());
}

TEST(ShellOpenTest, UnreadableFileIsNoAccess) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  TempFolder temp;
  const std::string file = temp.WriteFile("secret.txt", "x");
  chmod(file.c_str(), 0);
  const std::string locked = temp.MakeFolder("locked");
  temp.WriteFile("locked/a.txt", "x");
  chmod(locked.c_str(), 0);
  FakeDesktop desktop;
  EXPECT_EQ(ShellOpenPath(file, "", desktop.Tools(), nullptr), kShellAccessDenied);
  EXPECT_EQ(ShellOpenPath(locked + "/a.txt", "", desktop.Tools(), nullptr), kShellAccessDenied);
  EXPECT_TRUE(desktop.launches().empty());
}

TEST(ShellOpenTest, NoApplicationForTypeOrAnyAncestorIs31) {
  TempFolder temp;
  const std::string file = temp.WriteFile("list.foo", "x");
  temp.WriteFile("share/mime/subclasses", "text/x-foo text/x-bar\ntext/x-bar text/x-foo\n");
  FakeDesktop desktop;
  desktop.Answer("xdg-mime query filetype " + file, Says("text/x-foo; charset=us-ascii\n"));

  EXPECT_EQ(ShellOpenPath(file, "", desktop.Tools({temp.Path("share")}), nullptr),
            kShellNoAssociation);
  EXPECT_EQ(desktop.queries(), (std::vector<std::string>{
                                   "xdg-mime query filetype " + file,
                                   "xdg-mime query default text/x-foo",
                                   "xdg-mime query default text/x-bar",
                                   "xdg-mime query default text/plain",
                                   "xdg-mime query default application/octet-stream",
                               }));
  EXPECT_TRUE(desktop.launches().empty());
}

TEST(ShellOpenTest, ApplicationForAnAncestorOpensDetached) {
  TempFolder temp;
  const std::string file = temp.WriteFile("list.foo", "x");
  const std::string work = temp.MakeFolder("work");
  FakeDesktop desktop;
  desktop.Answer("xdg-mime query filetype " + file, Says("text/x-foo\n"));
  desktop.Answer("xdg-mime query default text/plain", Says("editor.desktop\n"));

  EXPECT_EQ(ShellOpenPath(file, work, desktop.Tools(), nullptr), kShellStarted);
  ASSERT_EQ(desktop.launches().size(), 1u);
  EXPECT_EQ(desktop.launches()[0], (std::vector<std::string>{"xdg-open", file}));
  EXPECT_EQ(desktop.folders()[0], work);
  EXPECT_EQ(desktop.queries().back(), "xdg-mime query default text/plain");

  // A folder that does not exist is not handed on.
  EXPECT_EQ(ShellOpenPath(file, temp.Path("nowhere"), desktop.Tools(), nullptr), kShellStarted);
  EXPECT_EQ(desktop.folders()[1], "");
}

TEST(ShellOpenTest, UnknownDesktopLetsTheOpenerTry) {
  TempFolder temp;
  const std::string file = temp.WriteFile("a.txt", "x");
  FakeDesktop missing;
  missing.set_mime_missing(true);
  EXPECT_EQ(ShellOpenPath(file, "", missing.Tools(), nullptr), kShellStarted);
  EXPECT_EQ(missing.launches().size(), 1u);

  FakeDesktop failing;
  failing.Answer("xdg-mime query filetype " + file, CommandOutput{true, 4, ""});
  EXPECT_EQ(ShellOpenPath(file, "", failing.Tools(), nullptr), kShellStarted);

  FakeDesktop no_opener;
  no_opener.set_mime_missing(true);
  no_opener.set_opener_missing(true);
  EXPECT_EQ(ShellOpenPath(file, "", no_opener.Tools(), nullptr), kShellNoAssociation);
}

TEST(ShellOpenTest, AddressesGoStraightToTheOpener) {
  FakeDesktop desktop;
  EXPECT_EQ(ShellOpenPath("https://example.org/tallymere", "", desktop.Tools(), nullptr),
            kShellStarted);
  EXPECT_TRUE(desktop.queries().empty());
  ASSERT_EQ(desktop.launches().size(), 1u);
  EXPECT_EQ(desktop.launches()[0][1], "https://example.org/tallymere");

  EXPECT_TRUE(HasUrlScheme("mailto:someone@example.org"));
  EXPECT_TRUE(HasUrlScheme("x-scheme.handler+1:thing"));
  EXPECT_FALSE(HasUrlScheme("C:\\Music\\a.mp3"));
  EXPECT_FALSE(HasUrlScheme("notes 1:2.txt"));
  EXPECT_FALSE(HasUrlScheme("plain.txt"));
}

TEST(ShellOpenTest, AncestorsComeNearestFirstWithoutRepeats) {
  TempFolder one;
  TempFolder two;
  one.WriteFile("mime/subclasses",
                "application/x-a application/x-b\napplication/x-b application/xml\n");
  two.WriteFile("mime/subclasses", "application/xml text/plain\napplication/x-a application/xml\n");
  const std::vector<std::string> folders = {one.path(), two.path(), one.Path("missing")};

  EXPECT_EQ(MimeAncestors("application/x-a", folders),
            (std::vector<std::string>{"application/x-b", "application/xml", "text/plain",
                                      "application/octet-stream"}));
  EXPECT_EQ(MimeAncestors("text/html", {}),
            (std::vector<std::string>{"text/plain", "application/octet-stream"}));
  EXPECT_TRUE(MimeAncestors("inode/directory", folders).empty());
  EXPECT_TRUE(MimeAncestors("application/octet-stream", {}).empty());
}

TEST(ShellOpenTest, RunCommandCollectsOutputAndExitCode) {
  const CommandOutput done = RunCommand({"sh", "-c", "printf 'text/plain'; echo oops >&2; exit 3"});
  EXPECT_TRUE(done.started);
  EXPECT_EQ(done.exit_code, 3);
  EXPECT_EQ(done.output, "text/plain");

  EXPECT_FALSE(RunCommand({"tallymere-no-such-program"}).started);

  const CommandOutput hung = RunCommand({"sleep", "30"}, 100);
  EXPECT_TRUE(hung.started);
  EXPECT_EQ(hung.exit_code, -1);
}

TEST(ShellOpenTest, DetachedProgramRunsInItsOwnSessionAndReportsFailure) {
  std::promise<std::pair<int, std::thread::id>> reported;
  // Exits 7 only when it leads its own session (field 6 of /proc/PID/stat).
  const Status started = StartDetached(
      {"sh", "-c", "sleep 0.2; [ \"$(cut -d' ' -f6 /proc/$$/stat)\" = \"$$\" ] && exit 7; exit 9"},
      "", [&reported](int exit_code) {
        reported.set_value({exit_code, std::this_thread::get_id()});
      });
  ASSERT_TRUE(started.ok()) << started.message();
  std::future<std::pair<int, std::thread::id>> result = reported.get_future();
  ASSERT_EQ(result.wait_for(std::chrono::seconds(30)), std::future_status::ready);
  const auto [exit_code, thread] = result.get();
  EXPECT_EQ(exit_code, 7);
  EXPECT_NE(thread, std::this_thread::get_id());

  const Status missing = StartDetached({"tallymere-no-such-program"}, "", nullptr);
  EXPECT_FALSE(missing.ok());
  EXPECT_NE(missing.message().find("tallymere-no-such-program"), std::string::npos);
}

TEST(ShellOpenTest, DetachedProgramStartsInTheGivenFolder) {
  TempFolder temp;
  const std::string work = temp.MakeFolder("work");
  std::promise<int> reported;
  ASSERT_TRUE(StartDetached({"sh", "-c", "[ \"$(pwd)\" = \"$1\" ] && exit 5; exit 6", "sh", work},
                            work, [&reported](int exit_code) { reported.set_value(exit_code); })
                  .ok());
  std::future<int> result = reported.get_future();
  ASSERT_EQ(result.wait_for(std::chrono::seconds(30)), std::future_status::ready);
  EXPECT_EQ(result.get(), 5);
}

}  // namespace
}  // namespace tallymere
