#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <utility>

#include "catalog/text_file.h"
#include "platform/atomic_file.h"
#include "platform/binary_file.h"
#include "platform/read_file.h"
#include "support/temp_folder.h"
#include "support/test_platform.h"
#include "support/unprivileged.h"

namespace tallymere {
namespace {

using testing::ReadFileBytes;
using Lines = std::vector<std::string>;

int FileCount(const std::string& folder) {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

mode_t LinkModeOf(const std::string& path) {
  struct stat info {};
  lstat(path.c_str(), &info);
  return info.st_mode;
}

// A child process that runs `work` and exits with what it returns.
pid_t Fork(const std::function<int()>& work) {
  const pid_t child = fork();
  if (child == 0) _exit(work());
  return child;
}
int WaitFor(pid_t child) {
  int status = -1;
  return waitpid(child, &status, 0) == child ? status : -1;
}

TEST(AtomicFileTest, ReplacesTheFileOrTheFileBehindALinkKeepingItsPermissionsRefusingNoFiles) {
  testing::TempFolder folder;
  const std::string path = folder.Path("catalog.mpd");
  ASSERT_TRUE(WriteFileAtomically(path, "old bytes").ok());
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(WriteFileAtomically(path, std::string("new\0bytes", 9)).ok());
  EXPECT_EQ(ReadWholeFile(path, 100).value(), std::string("new\0bytes", 9));
  EXPECT_EQ(LinkModeOf(path) & 07777, 0640u);
  EXPECT_EQ(FileCount(folder.path()), 1);  // no temporary file left behind

  ASSERT_EQ(symlink("catalog.mpd", folder.Path("link.dat").c_str()), 0);
  ASSERT_TRUE(WriteFileAtomically(folder.Path("link.dat"), "new").ok());
  EXPECT_EQ(ReadFileBytes(path), "new");
  EXPECT_TRUE(S_ISLNK(LinkModeOf(folder.Path("link.dat"))));

  const std::string missing = folder.Path("no/such/folder/file.dat");
  EXPECT_EQ(WriteFileAtomically(missing, "x").message(),
            "Cannot write \"" + missing + "\": No such file or directory");
  EXPECT_EQ(ReadWholeFile(missing, 100).status().message(),
            "Cannot read \"" + missing + "\": No such file or directory");

  // Targets that are no file are refused and stay what they are; a link to
  // a device is followed to the device.
  const std::string pipe = folder.Path("out.mpd");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
  const std::string sub = folder.MakeFolder("sub");
  const std::string to_null = folder.Path("null.lnk");
  ASSERT_EQ(symlink("/dev/null", to_null.c_str()), 0);
  for (const auto& [target, kind] :
       {std::pair{pipe, "a pipe"}, std::pair{sub, "a folder"}, std::pair{to_null, "a device"}}) {
    EXPECT_EQ(WriteFileAtomically(target, "x").message(),
              "Cannot write \"" + target + "\": it is " + kind + ", not a file");
  }
  EXPECT_TRUE(S_ISFIFO(LinkModeOf(pipe)));
  EXPECT_TRUE(S_ISCHR(LinkModeOf("/dev/null")));

  // A dangling link names the file to make; the link stays a link, and a
  // relative link counts from its own folder.
  ASSERT_EQ(symlink("sub/new.mpd", folder.Path("new.lnk").c_str()), 0);
  ASSERT_TRUE(WriteFileAtomically(folder.Path("new.lnk"), "made").ok());
  EXPECT_EQ(ReadFileBytes(folder.Path("sub/new.mpd")), "made");
  EXPECT_TRUE(S_ISLNK(LinkModeOf(folder.Path("new.lnk"))));
  ASSERT_EQ(symlink("loop.lnk", folder.Path("loop.lnk").c_str()), 0);
  EXPECT_EQ(WriteFileAtomically(folder.Path("loop.lnk"), "x").message(),
            "Cannot write \"" + folder.Path("loop.lnk") + "\": Too many levels of symbolic links");
}

TEST(AtomicFileTest, FailedWriteLeavesTheOldFileByteIdentical) {
  testing::TempFolder folder;
  const std::string old_bytes(10000, 'o');
  const std::string path = folder.WriteFile("catalog.mpd", old_bytes);
  // A file-size limit makes the write itself fail, whoever runs the test.
  const pid_t child = Fork([&] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    const std::string message = WriteFileAtomically(path, std::string(100000, 'n')).message();
    return int{message != "Cannot write \"" + path + "\": File too large"};
  });
  ASSERT_EQ(WaitFor(child), 0) << "the write did not fail as expected";
  EXPECT_EQ(ReadFileBytes(path), old_bytes);
  EXPECT_EQ(FileCount(folder.path()), 1);

  // A folder the user may not write in.
  testing::RunAsUnprivileged({folder.path()}, [&] {
    ASSERT_EQ(chmod(folder.path().c_str(), 0555), 0);
    const Status status = WriteFileAtomically(path, "new");
    EXPECT_EQ(status.code(), StatusCode::kNoAccess);
    EXPECT_EQ(status.message(), "Cannot write \"" + path + "\": Permission denied");
    ASSERT_EQ(chmod(folder.path().c_str(), 0755), 0);
    EXPECT_EQ(ReadFileBytes(path), old_bytes);
  });
}

TEST(AtomicFileTest, AKilledWriteLeavesNothingAndStaleTemporaryFilesAreRemoved) {
  testing::TempFolder folder;
  const std::string path = folder.WriteFile("list.txt", "old");
  // The child is killed while it writes 64 MB; whether it got to the rename
  // or not, no temporary file may stay.
  const pid_t child = Fork([&] {
    WriteFileAtomically(path, std::string(std::size_t{64} << 20, 'n')).IgnoreError();
    return 0;
  });
  usleep(20000);
  kill(child, SIGKILL);
  ASSERT_NE(WaitFor(child), -1);
  EXPECT_EQ(FileCount(folder.path()), 1);
  const std::string after = ReadFileBytes(path);
  EXPECT_TRUE(after == "old" || after.size() == std::size_t{64} << 20);

  // Where nameless files cannot be made, a named one is used; one that a
  // killed writer (a process that no longer runs) left before this program
  // started goes, one of a running writer and files of other names stay.
  const pid_t gone = Fork([] { return 0; });
  ASSERT_EQ(WaitFor(gone), 0);
  const std::string stale = ".list.txt.tmp-" + std::to_string(gone) + "-0-1234";
  const std::string running = ".list.txt.tmp-" + std::to_string(getpid()) + "-7-1";
  for (const std::string& name : {stale, running, std::string(".list.txt.tmp-x")}) {
    folder.WriteFile(name, "left");
    const timespec old_times[2] = {{1000, 0}, {1000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, folder.Path(name).c_str(), old_times, 0), 0);
  }
  RemoveStaleTemporaryFiles(folder.path());
  EXPECT_FALSE(std::filesystem::exists(folder.Path(stale)));
  EXPECT_TRUE(std::filesystem::exists(folder.Path(running)));
  EXPECT_TRUE(std::filesystem::exists(folder.Path(".list.txt.tmp-x")));
}

TEST(ReadWholeFileTest, ReadsRegularFilesAndFilesWithoutASizeUpToTheLimit) {
  testing::TempFolder folder;
  std::string bytes(300000, 'x');
  bytes[0] = '\0';
  bytes.back() = '\xFF';
  const std::string path = folder.WriteFile("catalog.mpd", bytes);
  EXPECT_EQ(ReadWholeFile(path, bytes.size()).value(), bytes);
  EXPECT_EQ(ReadWholeFile(folder.WriteFile("empty.mpd", ""), 10).value(), "");
  // Files under /proc report no size and are read to their end.
  EXPECT_NE(ReadWholeFile("/proc/self/status", kSmallTextFileLimit)->find("Name:"),
            std::string::npos);

  const std::string too_large = " bytes, more than a file of its kind ever holds";
  EXPECT_EQ(ReadWholeFile(path, bytes.size() - 1).status().message(),
            "Cannot read \"" + path + "\": it is larger than 299999" + too_large);
  EXPECT_EQ(ReadWholeFile("/proc/self/status", 16).status().message(),
            "Cannot read \"/proc/self/status\": it is larger than 16" + too_large);
}

TEST(ReadWholeFileTest, RefusesPipesDevicesAndFoldersWithoutWaiting) {
  testing::TempFolder folder;
  const std::string pipe = folder.Path("lists.dat");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
  // A pipe nobody writes to: a blocking open would wait here for ever.
  EXPECT_EQ(ReadWholeFile(pipe, kSmallTextFileLimit).status().message(),
            "Cannot read \"" + pipe + "\": it is a pipe, not a file");
  EXPECT_EQ(ReadWholeFile("/dev/zero", kDataFileLimit).status().message(),
            "Cannot read \"/dev/zero\": it is a device, not a file");
  EXPECT_EQ(ReadWholeFile(folder.path(), kDataFileLimit).status().message(),
            "Cannot read \"" + folder.path() + "\": it is a folder, not a file");

  // The binary reader refuses them too: an MP3 file that is a pipe.
  BinaryFile file;
  EXPECT_EQ(file.Open(pipe, OpenMode::kRead).message(), "It is a pipe, not a file");
  EXPECT_EQ(file.Open(pipe, OpenMode::kReadWrite).message(), "It is a pipe, not a file");
  EXPECT_EQ(file.Open("/dev/null", OpenMode::kRead).message(), "It is a device, not a file");

  EXPECT_EQ(ReadWholeFile(folder.Path("missing.mpd"), 1).code(), StatusCode::kNotFound);
  const std::string locked = folder.WriteFile("locked.mpd", "bytes");
  ASSERT_EQ(chmod(locked.c_str(), 0), 0);
  testing::RunAsUnprivileged({folder.path()}, [&] {
    const Result<std::string> refused = ReadWholeFile(locked, 100);
    EXPECT_EQ(refused.code(), StatusCode::kNoAccess);
    EXPECT_EQ(refused.status().message(), "Cannot read \"" + locked + "\": Permission denied");
  });
}

TEST(TextFileTest, WritesWindows1252WhenEveryLineFitsElseUtf8WithByteOrderMark) {
  const testing::TestPlatform platform;
  testing::TempFolder folder;
  const std::string header = folder.Path("Header.txt");
  const Lines fitting = {"Caf\xC3\xA9", "", "na\xC3\xAFve \xE2\x82\xAC"};
  ASSERT_TRUE(WriteTextFile(platform, header, fitting).ok());
  EXPECT_EQ(ReadFileBytes(header), "Caf\xE9\r\n\r\nna\xEFve \x80\r\n");
  EXPECT_EQ(ReadTextLines(platform, header).value(), fitting);

  // Japanese does not fit Windows-1252; the raw byte is a file name that is
  // not UTF-8 and must come back unchanged.
  const std::string path = folder.Path("list.txt");
  const Lines lines = {"\xE6\x97\xA5\xE6\x9C\xAC", "Caf\xC3\xA9", "raw\xE9"};
  ASSERT_TRUE(WriteTextFile(platform, path, lines).ok());
  EXPECT_EQ(ReadFileBytes(path),
            "\xEF\xBB\xBF\xE6\x97\xA5\xE6\x9C\xAC\r\nCaf\xC3\xA9\r\nraw\xE9\r\n");
  EXPECT_EQ(ReadTextLines(platform, path).value(), lines);
  EXPECT_NE(ReadTextLines(platform, folder.Path("none.txt")).status().message().find("none.txt"),
            std::string::npos);
}

TEST(TextFileTest, ReadsEitherEncodingAndEitherLineEnd) {
  EXPECT_EQ(DecodeTextFile("a\r\nb\nc"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(DecodeTextFile("a\n\nb\r\n"), (Lines{"a", "", "b"}));
  EXPECT_EQ(DecodeTextFile("a\r\r\n"), (Lines{"a\r"}));
  EXPECT_EQ(DecodeTextFile(""), Lines{});
  EXPECT_EQ(DecodeTextFile("\r\n"), Lines{""});
  EXPECT_EQ(DecodeTextFile("Caf\xE9\n"), Lines{"Caf\xC3\xA9"});
  EXPECT_EQ(DecodeTextFile("Caf\xC3\xA9"), Lines{"Caf\xC3\xA9"});
  EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBFx\r\n"), Lines{"x"});
  EXPECT_EQ(EncodeTextFile({}), "");
}

}  // namespace
}  // namespace tallymere
