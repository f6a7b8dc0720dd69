#include "platform/shell_open.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <map>
#include <thread>

#include "support/temp_folder.h"
#include "support/unprivileged.h"

namespace tallymere {
namespace {

using Texts = std::vector<std::string>;
using testing::TempFolder;

// The desktop as the tests script it: xdg-mime answers by command line (by
// default with nothing), launches are recorded instead of run.
struct FakeDesktop {
  std::map<std::string, CommandOutput> answers;
  bool mime_missing = false;
  bool opener_missing = false;
  Texts queries;
  std::vector<Texts> launches;
  Texts folders;

  ShellTools Tools(Texts mime_folders = {}) {
    ShellTools tools;
    tools.run = [this](const Texts& argv) {
      std::string command;
      for (const std::string& part : argv) command += (command.empty() ? "" : " ") + part;
      queries.push_back(command);
      if (mime_missing) return CommandOutput{};
      const auto found = answers.find(command);
      return found != answers.end() ? found->second : CommandOutput{true, 0, ""};
    };
    tools.launch = [this](const Texts& argv, const std::string& folder, OpenFailed) {
      if (opener_missing) return Status::Error("Cannot start xdg-open");
      launches.push_back(argv);
      folders.push_back(folder);
      return Status::Ok();
    };
    tools.mime_folders = std::move(mime_folders);
    return tools;
  }
};

CommandOutput Says(std::string text) { return CommandOutput{true, 0, std::move(text)}; }

TEST(ShellOpenTest, MissingOrUnreadablePathsAreRefusedBeforeAskingAnything) {
  TempFolder temp;
  const std::string file = temp.WriteFile("a.txt", "x");
  FakeDesktop desktop;
  const ShellTools tools = desktop.Tools();
  const auto open = [&](const std::string& path) {
    return ShellOpenPath(path, "", tools, nullptr);
  };
  EXPECT_EQ(open(temp.Path("gone.txt")), ShellResult::kFileNotFound);
  EXPECT_EQ(open(temp.Path("no folder/gone.txt")), ShellResult::kPathNotFound);
  EXPECT_EQ(open(file + "/inside.txt"), ShellResult::kPathNotFound);
  EXPECT_EQ(open(""), ShellResult::kFileNotFound);
  const std::string locked = temp.MakeFolder("locked");
  temp.WriteFile("locked/a.txt", "x");
  testing::RunAsUnprivileged({temp.path()}, [&] {
    chmod(file.c_str(), 0);
    chmod(locked.c_str(), 0);
    EXPECT_EQ(open(file), ShellResult::kAccessDenied);
    EXPECT_EQ(open(locked + "/a.txt"), ShellResult::kAccessDenied);
  });
  EXPECT_TRUE(desktop.queries.empty());
  EXPECT_TRUE(desktop.launches.empty());
}

TEST(ShellOpenTest, NoApplicationForTypeOrAnyAncestorIs31ElseItOpensDetached) {
  TempFolder temp;
  const std::string file = temp.WriteFile("list.foo", "x");
  const std::string work = temp.MakeFolder("work");
  temp.WriteFile("share/mime/subclasses", "text/x-foo text/x-bar\ntext/x-bar text/x-foo\n");
  FakeDesktop desktop;
  desktop.answers["xdg-mime query filetype " + file] = Says("text/x-foo; charset=us-ascii\n");

  EXPECT_EQ(ShellOpenPath(file, "", desktop.Tools({temp.Path("share")}), nullptr),
            ShellResult::kNoAssociation);
  EXPECT_EQ(desktop.queries,
            (Texts{"xdg-mime query filetype " + file, "xdg-mime query default text/x-foo",
                   "xdg-mime query default text/x-bar", "xdg-mime query default text/plain",
                   "xdg-mime query default application/octet-stream"}));
  EXPECT_TRUE(desktop.launches.empty());

  // An application for an ancestor is enough; a folder that does not exist is
  // not handed on.
  desktop.answers["xdg-mime query default text/plain"] = Says("editor.desktop\n");
  EXPECT_EQ(ShellOpenPath(file, work, desktop.Tools(), nullptr), ShellResult::kStarted);
  EXPECT_EQ(ShellOpenPath(file, temp.Path("nowhere"), desktop.Tools(), nullptr),
            ShellResult::kStarted);
  EXPECT_EQ(desktop.launches, (std::vector<Texts>{{"xdg-open", file}, {"xdg-open", file}}));
  EXPECT_EQ(desktop.folders, (Texts{work, ""}));
}

TEST(ShellOpenTest, AFileWithoutAProgramOpensAsTheTypeItsCallerNamesByItsDesktopEntry) {
  TempFolder temp;
  const std::string header = temp.WriteFile("Header.txt", "");
  temp.WriteFile("share/applications/editor.desktop",
                 "[Desktop Entry]\nName=Editor\nExec=my-editor --new-window %U\n"
                 "[Desktop Action New]\nExec=my-editor --other\n");
  temp.WriteFile("share/applications/quoted.desktop",
                 "[Desktop Entry]\nExec=\"/opt/My Editor/run\" -x \"a\\\"b\" 100%%\n");
  FakeDesktop desktop;
  desktop.answers["xdg-mime query filetype " + header] = Says("application/x-zerosize\n");
  desktop.answers["xdg-mime query default text/plain"] = Says("editor.desktop\n");
  const ShellTools tools = desktop.Tools({temp.Path("share")});
  EXPECT_EQ(ShellOpenPath(header, "", tools, nullptr), ShellResult::kNoAssociation);
  EXPECT_EQ(ShellOpenPath(header, "", tools, nullptr, "text/plain"), ShellResult::kStarted);
  EXPECT_EQ(desktop.launches, (std::vector<Texts>{{"my-editor", "--new-window", header}}));
  EXPECT_EQ(DesktopEntryCommand("quoted.desktop", "/f", {temp.Path("share")}),
            (Texts{"/opt/My Editor/run", "-x", "a\"b", "100%", "/f"}));
  EXPECT_TRUE(DesktopEntryCommand("gone.desktop", "/f", {temp.Path("share")}).empty());
}

TEST(ShellOpenTest, UnknownDesktopLetsTheOpenerTryAndAddressesGoStraightToIt) {
  TempFolder temp;
  const std::string file = temp.WriteFile("a.txt", "x");
  FakeDesktop missing;
  missing.mime_missing = true;
  EXPECT_EQ(ShellOpenPath(file, "", missing.Tools(), nullptr), ShellResult::kStarted);
  EXPECT_EQ(missing.launches.size(), 1u);
  FakeDesktop failing;
  failing.answers["xdg-mime query filetype " + file] = CommandOutput{true, 4, ""};
  EXPECT_EQ(ShellOpenPath(file, "", failing.Tools(), nullptr), ShellResult::kStarted);
  FakeDesktop no_opener;
  no_opener.mime_missing = no_opener.opener_missing = true;
  EXPECT_EQ(ShellOpenPath(file, "", no_opener.Tools(), nullptr), ShellResult::kNoAssociation);

  FakeDesktop desktop;
  EXPECT_EQ(ShellOpenPath("https://example.org/tallymere", "", desktop.Tools(), nullptr),
            ShellResult::kStarted);
  EXPECT_TRUE(desktop.queries.empty());
  EXPECT_EQ(desktop.launches, (std::vector<Texts>{{"xdg-open", "https://example.org/tallymere"}}));
  EXPECT_TRUE(HasUrlScheme("mailto:someone@example.org"));
  EXPECT_TRUE(HasUrlScheme("x-scheme.handler+1:thing"));
  EXPECT_FALSE(HasUrlScheme("C:\\Music\\a.mp3"));
  EXPECT_FALSE(HasUrlScheme("notes 1:2.txt"));
}

TEST(ShellOpenTest, AncestorsComeNearestFirstWithoutRepeats) {
  TempFolder one;
  TempFolder two;
  one.WriteFile("mime/subclasses",
                "application/x-a application/x-b\napplication/x-b application/xml\n");
  two.WriteFile("mime/subclasses", "application/xml text/plain\napplication/x-a application/xml\n");
  const Texts folders = {one.path(), two.path(), one.Path("missing")};
  EXPECT_EQ(
      MimeAncestors("application/x-a", folders),
      (Texts{"application/x-b", "application/xml", "text/plain", "application/octet-stream"}));
  EXPECT_EQ(MimeAncestors("text/html", {}), (Texts{"text/plain", "application/octet-stream"}));
  EXPECT_TRUE(MimeAncestors("inode/directory", folders).empty());
  EXPECT_TRUE(MimeAncestors("application/octet-stream", {}).empty());
}

TEST(ShellOpenTest, RunCommandCollectsOutputStopsAHungCommandAndDetachedProgramsRunApart) {
  const CommandOutput done = RunCommand({"sh", "-c", "printf 'text/plain'; echo oops >&2; exit 3"});
  EXPECT_TRUE(done.started);
  EXPECT_EQ(done.exit_code, 3);
  EXPECT_EQ(done.output, "text/plain");
  EXPECT_FALSE(RunCommand({"tallymere-no-such-program"}).started);
  const CommandOutput hung = RunCommand({"sleep", "30"}, 100);
  EXPECT_TRUE(hung.started);
  EXPECT_EQ(hung.exit_code, -1);

  // A detached program runs in its own session and folder and reports how it ended.
  TempFolder temp;
  const std::string work = temp.MakeFolder("work");
  std::promise<std::pair<int, std::thread::id>> reported;
  // Exits 7 only when it leads its own session (field 6 of /proc/PID/stat)
  // and runs in the folder it was given.
  const Status started = StartDetached(
      {"sh", "-c",
       "sleep 0.2; [ \"$(cut -d' ' -f6 /proc/$$/stat)\" = \"$$\" ] && [ \"$(pwd)\" = \"$1\" ] "
       "&& exit 7; exit 9",
       "sh", work},
      work, [&reported](int exit_code) {
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

}  // namespace
}  // namespace tallymere
