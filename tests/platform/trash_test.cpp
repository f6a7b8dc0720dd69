#include "platform/trash.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform_fixture.h"
#include "support/faulty_platform.h"
#include "support/scripted_ui.h"
#include "support/unprivileged.h"

namespace tallymere {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::ScopedEnv;
using testing::TempFolder;

// The permission bits of a path (not followed when a link), 0 when missing.
mode_t ModeOf(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}
bool Exists(const std::string& path) { return ModeOf(path) != 0; }

// The local time a text "YYYY-MM-DDTHH:MM:SS" names.
std::time_t LocalTime(const char* text) {
  struct tm local {};
  strptime(text, "%Y-%m-%dT%H:%M:%S", &local);
  local.tm_isdst = -1;
  return mktime(&local);
}

// The Path= line alone: DeletionDate depends on the clock.
std::string PathLineOf(const std::string& info_text) {
  const size_t start = info_text.find("Path=");
  if (start == std::string::npos) return "";
  return info_text.substr(start, info_text.find('\n', start) - start);
}

// A home trash under the test's own data folder.
class TrashTest : public ::testing::Test {
 protected:
  TempFolder m_temp;
  ScopedEnv m_data_home{"XDG_DATA_HOME", m_temp.Path("data")};
  const std::string m_trash = m_temp.Path("data/Trash");
};

TEST_F(TrashTest, MovesFileToHomeTrashWithItsPathEncodedLikeAUrlAndLocalDeletionDate) {
  EXPECT_EQ(EncodeTrashPath("/home/ann/My Song 100%.mp3"), "/home/ann/My%20Song%20100%25.mp3");
  EXPECT_EQ(EncodeTrashPath("/m/Caf\xC3\xA9 \xE2\x82\xAC.txt"), "/m/Caf%C3%A9%20%E2%82%AC.txt");
  EXPECT_EQ(EncodeTrashPath("a-b_c.d~e/F9"), "a-b_c.d~e/F9");
  EXPECT_EQ(EncodeTrashPath("#?&=+;\n\\"), "%23%3F%26%3D%2B%3B%0A%5C");
  EXPECT_EQ(TrashInfoText("/a/b%20c", LocalTime("2024-03-05T07:08:09")),
            "[Trash Info]\nPath=/a/b%20c\nDeletionDate=2024-03-05T07:08:09\n");

  const std::string file = m_temp.WriteFile("music/My Song 100% Caf\xC3\xA9.mp3", "abc");
  ASSERT_TRUE(MoveToTrash(file).ok());

  const std::string name = "My Song 100% Caf\xC3\xA9.mp3";
  EXPECT_FALSE(Exists(file));
  EXPECT_EQ(ReadFileBytes(m_trash + "/files/" + name), "abc");
  const std::string info = ReadFileBytes(m_trash + "/info/" + name + ".trashinfo");
  EXPECT_EQ(PathLineOf(info), "Path=" + EncodeTrashPath(fs::canonical(m_temp.path()).string()) +
                                  "/music/My%20Song%20100%25%20Caf%C3%A9.mp3");
  EXPECT_EQ(info.rfind("[Trash Info]\n", 0), 0u);
  EXPECT_NE(info.find("\nDeletionDate=20"), std::string::npos);
  // The data folder was missing: it and the trash folders are private.
  for (const std::string& folder :
       {m_temp.Path("data"), m_trash, m_trash + "/files", m_trash + "/info"}) {
    EXPECT_EQ(ModeOf(folder) & 0777, 0700u) << folder;
  }

  // A link goes as the link, its target stays.
  const std::string target = m_temp.WriteFile("target.txt", "keep");
  ASSERT_EQ(symlink(target.c_str(), m_temp.Path("link").c_str()), 0);
  ASSERT_TRUE(MoveToTrash(m_temp.Path("link")).ok());
  EXPECT_TRUE(S_ISLNK(ModeOf(m_trash + "/files/link")));
  EXPECT_EQ(ReadFileBytes(target), "keep");
}

TEST_F(TrashTest, CollidingNamesGetCountersSkippingLeftoversAndLongNamesAreCutWhole) {
  for (const char* content : {"one", "two"}) {
    ASSERT_TRUE(MoveToTrash(m_temp.WriteFile("a b.txt", content)).ok());
  }
  // A file left in files/ without its info file must not be overwritten.
  m_temp.WriteFile("data/Trash/files/a b.txt.3", "leftover");
  ASSERT_TRUE(MoveToTrash(m_temp.WriteFile("a b.txt", "three")).ok());

  EXPECT_EQ(
      ReadFileBytes(m_trash + "/files/a b.txt") + ReadFileBytes(m_trash + "/files/a b.txt.2") +
          ReadFileBytes(m_trash + "/files/a b.txt.3") + ReadFileBytes(m_trash + "/files/a b.txt.4"),
      "onetwoleftoverthree");
  EXPECT_FALSE(Exists(m_trash + "/info/a b.txt.3.trashinfo"));
  EXPECT_TRUE(Exists(m_trash + "/info/a b.txt.4.trashinfo"));

  std::string name;
  for (int i = 0; i < 125; ++i) name += "\xC3\xA9";  // 250 bytes, the most a name may hold
  ASSERT_TRUE(MoveToTrash(m_temp.WriteFile(name, "x")).ok());
  int entries = 0;
  for (const auto& entry : fs::directory_iterator(m_trash + "/info")) {
    const std::string info_name = entry.path().filename().string();
    if (info_name.starts_with("a b.txt")) continue;
    EXPECT_LE(info_name.size(), 255u);
    const std::string stem = info_name.substr(0, info_name.size() - 10);
    EXPECT_EQ(stem.size() % 2, 0u);  // whole two-byte characters only
    EXPECT_EQ(ReadFileBytes(m_trash + "/files/" + stem), "x");
    EXPECT_NE(ReadFileBytes(entry.path().string()).find(EncodeTrashPath(name)), std::string::npos);
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST_F(TrashTest, DataFolderIsBelowHomeWhenUnsetOrRelativeNeverInTheCurrentFolder) {
  TempFolder cwd;
  ScopedEnv home("HOME", m_temp.Path("home"));
  // The fixture puts XDG_DATA_HOME back.
  setenv("XDG_DATA_HOME", "relative/data", 1);
  EXPECT_EQ(HomeTrashFolder().value(), m_temp.Path("home/.local/share/Trash"));
  setenv("XDG_DATA_HOME", m_temp.Path("xdg/").c_str(), 1);
  EXPECT_EQ(HomeTrashFolder().value(), m_temp.Path("xdg/Trash"));
  unsetenv("XDG_DATA_HOME");
  const std::string file = m_temp.WriteFile("a.txt", "x");
  const fs::path old_cwd = fs::current_path();
  fs::current_path(cwd.path());
  const Status status = MoveToTrash(file);
  fs::current_path(old_cwd);
  ASSERT_TRUE(status.ok()) << status.message();
  EXPECT_EQ(ReadFileBytes(m_temp.Path("home/.local/share/Trash/files/a.txt")), "x");
  EXPECT_EQ(ModeOf(m_temp.Path("home/.local")) & 0777, 0700u);
  EXPECT_TRUE(fs::is_empty(cwd.path()));
}

TEST_F(TrashTest, FailuresNameTheFileAndLeaveItAndNoInfoFileTakingBackOneWritten) {
  const std::string file = m_temp.WriteFile("a.txt", "x");
  // None of these may offer deleting instead: that is for files no trash can take.
  const auto expect_error = [&](const std::string& path, StatusCode code,
                                const std::string& words) {
    const Status status = MoveToTrash(path);
    EXPECT_EQ(status.code(), code) << status.message();
    EXPECT_NE(status.message().find(fs::path(path).filename().string()), std::string::npos);
    EXPECT_NE(status.message().find(words), std::string::npos) << status.message();
  };
  expect_error(m_temp.Path("gone.txt"), StatusCode::kNotFound, "does not exist");
  EXPECT_FALSE(Exists(m_trash + "/info/gone.txt.trashinfo"));

  // A damaged trash: info is a file.
  m_temp.WriteFile("data/Trash/info", "not a folder");
  expect_error(file, StatusCode::kNotFound, "Not a directory");
  EXPECT_EQ(ReadFileBytes(file), "x");
  EXPECT_TRUE(fs::is_empty(m_trash + "/files"));

  // An info folder the user may not write in.
  fs::remove(m_trash + "/info");
  m_temp.MakeFolder("data/Trash/info");
  testing::RunAsUnprivileged({m_temp.path()}, [&] {
    chmod((m_trash + "/info").c_str(), 0500);
    expect_error(file, StatusCode::kNoAccess, "Permission denied");
    EXPECT_EQ(ReadFileBytes(file), "x");
  });

  // A failed move takes back the info file: here the trash lies inside the
  // folder being trashed.
  ScopedEnv data_home("XDG_DATA_HOME", m_temp.Path("victim/data"));
  m_temp.WriteFile("victim/a.txt", "x");
  const Status status = MoveToTrash(m_temp.Path("victim"));
  EXPECT_FALSE(status.ok());
  EXPECT_NE(status.code(), StatusCode::kUnsupported);
  EXPECT_TRUE(fs::is_empty(m_temp.Path("victim/data/Trash/info")));
  EXPECT_EQ(ReadFileBytes(m_temp.Path("victim/a.txt")), "x");
}

TEST_F(TrashTest, DiskTrashIsTheStickySharedFolderOrAnOwnOneAndEntriesAreRelativeToTheTop) {
  const unsigned uid = getuid();
  const std::string own = ".Trash-" + std::to_string(uid);
  const std::string shared = ".Trash/" + std::to_string(uid);
  TempFolder bare, sticky, unsticky, linked, blocked;
  const Result<std::string> trash = MountTrashFolder(bare.path(), uid);
  ASSERT_TRUE(trash.ok()) << trash.status().message();
  EXPECT_EQ(*trash, bare.Path(own));
  EXPECT_EQ(ModeOf(*trash) & 0777, 0700u);

  chmod(sticky.MakeFolder(".Trash").c_str(), 01777);
  EXPECT_EQ(MountTrashFolder(sticky.path(), uid).value(), sticky.Path(shared));
  EXPECT_EQ(ModeOf(sticky.Path(shared)) & 0777, 0700u);

  unsticky.MakeFolder(".Trash");  // no sticky bit: not to be trusted
  EXPECT_EQ(MountTrashFolder(unsticky.path(), uid).value(), unsticky.Path(own));
  EXPECT_FALSE(Exists(unsticky.Path(shared)));

  const std::string elsewhere = linked.MakeFolder("elsewhere");
  chmod(elsewhere.c_str(), 01777);
  ASSERT_EQ(symlink(elsewhere.c_str(), linked.Path(".Trash").c_str()), 0);  // a link: never
  EXPECT_EQ(MountTrashFolder(linked.path(), uid).value(), linked.Path(own));
  EXPECT_TRUE(fs::is_empty(elsewhere));

  blocked.WriteFile(own, "a file in the way");
  EXPECT_NE(MountTrashFolder(blocked.path(), uid).status().message().find("no usable trash"),
            std::string::npos);

  // An entry's path is relative to the top folder; a file outside it is refused.
  const TrashLocation location{*trash, bare.path()};
  const std::string file = bare.WriteFile("Music/My Song.mp3", "x");
  ASSERT_TRUE(MoveToTrashAt(file, location, LocalTime("2023-12-31T23:59:58")).ok());
  EXPECT_EQ(ReadFileBytes(*trash + "/info/My Song.mp3.trashinfo"),
            "[Trash Info]\nPath=Music/My%20Song.mp3\nDeletionDate=2023-12-31T23:59:58\n");
  EXPECT_EQ(ReadFileBytes(*trash + "/files/My Song.mp3"), "x");
  const std::string outside = sticky.WriteFile("b.txt", "y");
  EXPECT_FALSE(MoveToTrashAt(outside, location, 0).ok());
  EXPECT_EQ(ReadFileBytes(outside), "y");
}

TEST_F(TrashTest, FileOnAnotherDiskGoesToThatDisksTrashOrCannotBeTrashed) {
  // The folder "disk" stands for a second disk mounted there: its paths report
  // a device of their own.
  const std::string disk = m_temp.MakeFolder("disk");
  const DeviceOf device_of = [&](const std::string& path) -> std::optional<uint64_t> {
    const std::optional<uint64_t> real = DeviceOfPath(path);
    if (!real) return std::nullopt;
    return path.rfind(disk, 0) == 0 ? *real + 1 : *real;
  };
  ASSERT_EQ(MountTopFolder(m_temp.MakeFolder("disk/Music"), device_of).value(), disk);

  ASSERT_TRUE(MoveToTrash(m_temp.WriteFile("disk/Music/a b.mp3", "x"), device_of).ok());
  const std::string trash = disk + "/.Trash-" + std::to_string(getuid());
  EXPECT_EQ(ReadFileBytes(trash + "/files/a b.mp3"), "x");
  EXPECT_EQ(PathLineOf(ReadFileBytes(trash + "/info/a b.mp3.trashinfo")), "Path=Music/a%20b.mp3");
  EXPECT_FALSE(Exists(m_trash));

  // A disk whose trash cannot be made: only deleting is left, which the
  // caller may offer.
  fs::remove_all(trash);
  m_temp.WriteFile("disk/.Trash-" + std::to_string(getuid()), "in the way");
  const std::string file = m_temp.WriteFile("disk/a.mp3", "x");
  const Status status = MoveToTrash(file, device_of);
  EXPECT_EQ(status.code(), StatusCode::kUnsupported);
  EXPECT_NE(status.message().find("a.mp3"), std::string::npos);
  EXPECT_NE(status.message().find("no usable trash"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(file), "x");
}

}  // namespace
}  // namespace tallymere
