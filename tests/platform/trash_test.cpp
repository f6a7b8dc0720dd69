#include "platform/trash.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "support/temp_folder.h"

namespace tallymere {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempFolder;

// Sets or clears an environment variable for one test and puts it back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : m_name(name) {
    if (const char* old = getenv(name)) m_old = old;
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (m_old) {
      setenv(m_name, m_old->c_str(), 1);
    } else {
      unsetenv(m_name);
    }
  }

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

mode_t ModeOf(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}

bool Exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
  struct tm local {};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  return mktime(&local);
}

// Removes the DeletionDate line, which depends on the clock.
std::string PathLineOf(const std::string& info_text) {
  const size_t start = info_text.find("Path=");
  if (start == std::string::npos) return "";
  return info_text.substr(start, info_text.find('\n', start) - start);
}

TEST(TrashTest, EncodesPathBytesLikeAUrlPath) {
  EXPECT_EQ(EncodeTrashPath("/home/ann/My Song 100%.mp3"), "/home/ann/My%20Song%20100%25.mp3");
  EXPECT_EQ(EncodeTrashPath("/m/Caf\xC3\xA9 \xE2\x82\xAC.txt"), "/m/Caf%C3%A9%20%E2%82%AC.txt");
  EXPECT_EQ(EncodeTrashPath("a-b_c.d~e/F9"), "a-b_c.d~e/F9");
  EXPECT_EQ(EncodeTrashPath("#?&=+;\n\\"), "%23%3F%26%3D%2B%3B%0A%5C");
}

TEST(TrashTest, InfoTextHoldsPathAndLocalDeletionDate) {
  EXPECT_EQ(TrashInfoText("/a/b%20c", LocalTime(2024, 3, 5, 7, 8, 9)),
            "[Trash Info]\nPath=/a/b%20c\nDeletionDate=2024-03-05T07:08:09\n");
}

TEST(TrashTest, MovesFileToHomeTrashWithEncodedAbsolutePath) {
  TempFolder temp;
  ScopedEnv data_home("XDG_DATA_HOME", temp.Path("data"));
  const std::string file = temp.WriteFile("music/My Song 100% Caf\xC3\xA9.mp3", "abc");
  TrashFailure failure = TrashFailure::kError;

  ASSERT_TRUE(MoveToTrash(file, &failure).ok());
  EXPECT_EQ(failure, TrashFailure::kNone);

  const std::string trash = temp.Path("data/Trash");
  const std::string name = "My Song 100% Caf\xC3\xA9.mp3";
  EXPECT_FALSE(Exists(file));
  EXPECT_EQ(ReadFileBytes(trash + "/files/" + name), "abc");
  const std::string info = ReadFileBytes(trash + "/info/" + name + ".trashinfo");
  const std::string canonical_folder = fs::canonical(temp.path()).string();
  EXPECT_EQ(PathLineOf(info), "Path=" + EncodeTrashPath(canonical_folder) +
                                  "/music/My%20Song%20100%25%20Caf%C3%A9.mp3");
  EXPECT_EQ(info.rfind("[Trash Info]\n", 0), 0u);
  EXPECT_NE(info.find("\nDeletionDate=20"), std::string::npos);
  // The data folder was missing: it and the trash folders are private.
  EXPECT_EQ(ModeOf(temp.Path("data")) & 0777, 0700u);
  EXPECT_EQ(ModeOf(trash) & 0777, 0700u);
  EXPECT_EQ(ModeOf(trash + "/files") & 0777, 0700u);
  EXPECT_EQ(ModeOf(trash + "/info") & 0777, 0700u);
}

TEST(TrashTest, CollidingNamesGetCountersAndSkipLeftovers) {
  TempFolder temp;
  ScopedEnv data_home("XDG_DATA_HOME", temp.Path("data"));
  const std::string trash = temp.Path("data/Trash");
  for (const char* content : {"one", "two"}) {
    ASSERT_TRUE(MoveToTrash(temp.WriteFile("a b.txt", content)).ok());
  }
  // A file left in files/ without its info file must not be overwritten.
  temp.WriteFile("data/Trash/files/a b.txt.3", "leftover");
  ASSERT_TRUE(MoveToTrash(temp.WriteFile("a b.txt", "three")).ok());

  EXPECT_EQ(ReadFileBytes(trash + "/files/a b.txt"), "one");
  EXPECT_EQ(ReadFileBytes(trash + "/files/a b.txt.2"), "two");
  EXPECT_EQ(ReadFileBytes(trash + "/files/a b.txt.3"), "leftover");
  EXPECT_FALSE(Exists(trash + "/info/a b.txt.3.trashinfo"));
  EXPECT_EQ(ReadFileBytes(trash + "/files/a b.txt.4"), "three");
  EXPECT_TRUE(Exists(trash + "/info/a b.txt.4.trashinfo"));
}

TEST(TrashTest, MissingDataFolderIsMadeBelowHomeNeverInTheCurrentFolder) {
  TempFolder temp;
  TempFolder cwd;
  ScopedEnv data_home("XDG_DATA_HOME", std::nullopt);
  ScopedEnv home("HOME", temp.Path("home"));
  const std::string file = temp.WriteFile("a.txt", "x");
  const fs::path old_cwd = fs::current_path();
  fs::current_path(cwd.path());

  const Status status = MoveToTrash(file);
  fs::current_path(old_cwd);

  ASSERT_TRUE(status.ok()) << status.message();
  EXPECT_EQ(ReadFileBytes(temp.Path("home/.local/share/Trash/files/a.txt")), "x");
  EXPECT_EQ(ModeOf(temp.Path("home/.local")) & 0777, 0700u);
  EXPECT_TRUE(fs::is_empty(cwd.path()));
}

TEST(TrashTest, RelativeDataHomeIsIgnored) {
  TempFolder temp;
  ScopedEnv data_home("XDG_DATA_HOME", "relative/data");
  ScopedEnv home("HOME", temp.Path("home"));
  Result<std::string> folder = HomeTrashFolder();
  ASSERT_TRUE(folder.ok());
  EXPECT_EQ(*folder, temp.Path("home/.local/share/Trash"));

  ScopedEnv absolute("XDG_DATA_HOME", temp.Path("xdg/"));
  EXPECT_EQ(*HomeTrashFolder(), temp.Path("xdg/Trash"));
}

TEST(TrashTest, DamagedInfoFolderFailsCleanlyAndLeavesTheFile) {
  TempFolder temp;
  ScopedEnv data_home("XDG_DATA_HOME", temp.Path("data"));
  temp.WriteFile("data/Trash/info", "not a folder");
  const std::string file = temp.WriteFile("a.txt", "x");
  TrashFailure failure = TrashFailure::kNone;

  const Status status = MoveToTrash(file, &failure);

  EXPECT_FALSE(status.ok());
  EXPECT_EQ(failure, TrashFailure::kError);
  EXPECT_NE(status.message().find("a.txt"), std::string::npos) << status.message();
  EXPECT_EQ(ReadFileBytes(file), "x");
  EXPECT_TRUE(fs::is_empty(temp.Path("data/Trash/files")));
}

TEST(TrashTest, UnwritableInfoFolderFailsAtOnce) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  TempFolder temp;
  ScopedEnv data_home("XDG_DATA_HOME", temp.Path("data"));
  temp.MakeFolder("data/Trash/files");
  const std::string info = temp.MakeFolder("data/Trash/info");
  chmod(info.c_str(), 0500);
  const std::string file = temp.WriteFile("a.txt", "x");
  TrashFailure failure = TrashFailure::kNone;

  EXPECT_FALSE(MoveToTrash(file, &failure).ok());
  EXPECT_EQ(failure, TrashFailure::kError);
  EXPECT_EQ(ReadFileBytes(file), "x");
}

TEST(TrashTest, FailedMoveTakesBackTheInfoFile) {
  TempFolder temp;
  // The trash lies inside the folder being trashed, so the move must fail.
  ScopedEnv data_home("XDG_DATA_HOME", temp.Path("victim/data"));
  temp.WriteFile("victim/a.txt", "x");
  TrashFailure failure = TrashFailure::kNone;

  EXPECT_FALSE(MoveToTrash(temp.Path("victim"), &failure).ok());
  EXPECT_EQ(failure, TrashFailure::kError);
  EXPECT_TRUE(fs::is_empty(temp.Path("victim/data/Trash/info")));
  EXPECT_EQ(ReadFileBytes(temp.Path("victim/a.txt")), "x");
}

TEST(TrashTest, MissingFileIsAnErrorNamingIt) {
  TempFolder temp;
  ScopedEnv data_home("XDG_DATA_HOME", temp.Path("data"));
  TrashFailure failure = TrashFailure::kNone;
  const Status status = MoveToTrash(temp.Path("gone.txt"), &failure);
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(failure, TrashFailure::kError);
  EXPECT_NE(status.message().find("gone.txt"), std::string::npos);
  EXPECT_NE(status.message().find("does not exist"), std::string::npos);
  EXPECT_FALSE(Exists(temp.Path("data/Trash/info/gone.txt.trashinfo")));
}

TEST(TrashTest, LinkIsTrashedAsALink) {
  TempFolder temp;
  ScopedEnv data_home("XDG_DATA_HOME", temp.Path("data"));
  const std::string target = temp.WriteFile("target.txt", "keep");
  ASSERT_EQ(symlink(target.c_str(), temp.Path("link").c_str()), 0);

  ASSERT_TRUE(MoveToTrash(temp.Path("link")).ok());
  EXPECT_TRUE(S_ISLNK(ModeOf(temp.Path("data/Trash/files/link"))));
  EXPECT_EQ(ReadFileBytes(target), "keep");
}

TEST(TrashTest, LongNameIsCutWithoutSplittingCharacters) {
  TempFolder temp;
  ScopedEnv data_home("XDG_DATA_HOME", temp.Path("data"));
  std::string name;
  for (int i = 0; i < 125; ++i) name += "\xC3\xA9";  // 250 bytes, the most a name may hold
  const std::string file = temp.WriteFile(name, "x");

  ASSERT_TRUE(MoveToTrash(file).ok());
  int entries = 0;
  for (const auto& entry : fs::directory_iterator(temp.Path("data/Trash/info"))) {
    const std::string info_name = entry.path().filename().string();
    EXPECT_LE(info_name.size(), 255u);
    const std::string stem = info_name.substr(0, info_name.size() - 10);
    EXPECT_EQ(stem.size() % 2, 0u);  // whole two-byte characters only
    EXPECT_EQ(ReadFileBytes(temp.Path("data/Trash/files/") + stem), "x");
    EXPECT_NE(ReadFileBytes(entry.path().string()).find(EncodeTrashPath(name)), std::string::npos);
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST(TrashTest, DiskTrashUsesStickySharedFolderOrOwnFolder) {
  const unsigned uid = getuid();
  const std::string uid_text = std::to_string(uid);
  {
    TempFolder top;
    Result<std::string> trash = MountTrashFolder(top.path(), uid);
    ASSERT_TRUE(trash.ok()) << trash.status().message();
    EXPECT_EQ(*trash, top.Path(".Trash-" + uid_text));
    EXPECT_EQ(ModeOf(*trash) & 0777, 0700u);
  }
  {
    TempFolder top;
    const std::string shared = top.MakeFolder(".Trash");
    chmod(shared.c_str(), 01777);
    Result<std::string> trash = MountTrashFolder(top.path(), uid);
    ASSERT_TRUE(trash.ok());
    EXPECT_EQ(*trash, top.Path(".Trash/" + uid_text));
    EXPECT_EQ(ModeOf(*trash) & 0777, 0700u);
  }
  {
    TempFolder top;
    top.MakeFolder(".Trash");  // no sticky bit: not to be trusted
    EXPECT_EQ(*MountTrashFolder(top.path(), uid), top.Path(".Trash-" + uid_text));
    EXPECT_FALSE(Exists(top.Path(".Trash/" + uid_text)));
  }
  {
    TempFolder top;
    const std::string elsewhere = top.MakeFolder("elsewhere");
    chmod(elsewhere.c_str(), 01777);
    ASSERT_EQ(symlink(elsewhere.c_str(), top.Path(".Trash").c_str()), 0);
    EXPECT_EQ(*MountTrashFolder(top.path(), uid), top.Path(".Trash-" + uid_text));
    EXPECT_TRUE(fs::is_empty(elsewhere));
  }
  {
    TempFolder top;
    top.WriteFile(".Trash-" + uid_text, "a file in the way");
    Result<std::string> trash = MountTrashFolder(top.path(), uid);
    ASSERT_FALSE(trash.ok());
    EXPECT_NE(trash.status().message().find("no usable trash"), std::string::npos);
  }
}

TEST(TrashTest, DiskTrashEntryPathIsRelativeToTheTopFolder) {
  TempFolder top;
  const std::string file = top.WriteFile("Music/My Song.mp3", "x");
  const std::string trash = *MountTrashFolder(top.path(), getuid());
  TrashFailure failure = TrashFailure::kError;

  ASSERT_TRUE(MoveToTrashAt(file, TrashLocation{trash, top.path()},
                            LocalTime(2023, 12, 31, 23, 59, 58), &failure)
                  .ok());
  EXPECT_EQ(failure, TrashFailure::kNone);
  EXPECT_EQ(ReadFileBytes(trash + "/info/My Song.mp3.trashinfo"),
            "[Trash Info]\nPath=Music/My%20Song.mp3\nDeletionDate=2023-12-31T23:59:58\n");
  EXPECT_EQ(ReadFileBytes(trash + "/files/My Song.mp3"), "x");

  TempFolder other;
  const std::string outside = other.WriteFile("b.txt", "y");
  EXPECT_FALSE(MoveToTrashAt(outside, TrashLocation{trash, top.path()}, 0).ok());
  EXPECT_EQ(ReadFileBytes(outside), "y");
}

// A small tmpfs, so a test has a second device; tests skip where mounting is
// not allowed.
class ScopedTmpfs {
 public:
  explicit ScopedTmpfs(std::string folder) : m_folder(std::move(folder)) {
    m_mounted = mount("tallymere-test", m_folder.c_str(), "tmpfs", 0, "size=1m,mode=0755") == 0;
  }
  ~ScopedTmpfs() {
    if (m_mounted) umount2(m_folder.c_str(), MNT_DETACH);
  }
  bool mounted() const { return m_mounted; }
  bool MakeReadOnly() {
    return mount(nullptr, m_folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }

 private:
  std::string m_folder;
  bool m_mounted = false;
};

TEST(TrashTest, FileOnAnotherDiskGoesToThatDisksTrash) {
  TempFolder temp;
  ScopedEnv data_home("XDG_DATA_HOME", temp.Path("data"));
  ScopedTmpfs disk(temp.MakeFolder("disk"));
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a second device here";
  const std::string file = temp.WriteFile("disk/Music/a b.mp3", "x");
  TrashFailure failure = TrashFailure::kError;

  ASSERT_TRUE(MoveToTrash(file, &failure).ok());
  EXPECT_EQ(failure, TrashFailure::kNone);
  const std::string trash = temp.Path("disk/.Trash-" + std::to_string(getuid()));
  EXPECT_EQ(ReadFileBytes(trash + "/files/a b.mp3"), "x");
  EXPECT_EQ(PathLineOf(ReadFileBytes(trash + "/info/a b.mp3.trashinfo")), "Path=Music/a%20b.mp3");
  EXPECT_FALSE(Exists(temp.Path("data/Trash")));
}

TEST(TrashTest, FileOnReadOnlyDiskCannotBeTrashed) {
  TempFolder temp;
  ScopedEnv data_home("XDG_DATA_HOME", temp.Path("data"));
  ScopedTmpfs disk(temp.MakeFolder("disk"));
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a second device here";
  const std::string file = temp.WriteFile("disk/a.mp3", "x");
  ASSERT_TRUE(disk.MakeReadOnly());
  TrashFailure failure = TrashFailure::kNone;

  const Status status = MoveToTrash(file, &failure);
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(failure, TrashFailure::kCannotTrash);
  EXPECT_NE(status.message().find("a.mp3"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(file), "x");
}

TEST(TrashTest, TopFolderIsTheLastFolderOnTheSameDevice) {
  TempFolder temp;
  const std::string deep = temp.MakeFolder("a/b");
  Result<std::string> top = MountTopFolder(deep);
  ASSERT_TRUE(top.ok());
  struct stat deep_info, top_info;
  ASSERT_EQ(stat(deep.c_str(), &deep_info), 0);
  ASSERT_EQ(stat(top->c_str(), &top_info), 0);
  EXPECT_EQ(deep_info.st_dev, top_info.st_dev);
  EXPECT_EQ(deep.rfind(*top == "/" ? "/" : *top + "/", 0), 0u);
  if (*top != "/") {
    struct stat parent_info;
    ASSERT_EQ(stat(fs::path(*top).parent_path().c_str(), &parent_info), 0);
    EXPECT_NE(parent_info.st_dev, top_info.st_dev);
  }
}

}  // namespace
}  // namespace tallymere
