#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "support/temp_folder.h"
#include "support/unprivileged.h"

namespace tallymere {
namespace {

using testing::ReadFileBytes;

int FileCount(const std::string& folder) {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

TEST(AtomicFileTest, ReplacesTheFileOrTheFileBehindALinkAndKeepsItsPermissions) {
  testing::TempFolder folder;
  const std::string path = folder.Path("catalog.mpd");
  ASSERT_TRUE(WriteFileAtomically(path, "old bytes").ok());
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(WriteFileAtomically(path, std::string("new\0bytes", 9)).ok());
  EXPECT_EQ(ReadWholeFile(path).value(), std::string("new\0bytes", 9));
  struct stat info;
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(FileCount(folder.path()), 1);  // no temporary file left behind

  ASSERT_EQ(symlink("catalog.mpd", folder.Path("link.dat").c_str()), 0);
  ASSERT_TRUE(WriteFileAtomically(folder.Path("link.dat"), "new").ok());
  EXPECT_EQ(ReadFileBytes(path), "new");
  ASSERT_EQ(lstat(folder.Path("link.dat").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));

  const std::string missing = folder.Path("no/such/folder/file.dat");
  EXPECT_EQ(WriteFileAtomically(missing, "x").message(),
            "Cannot write \"" + missing + "\": No such file or directory");
  EXPECT_EQ(ReadWholeFile(missing).status().message(),
            "Cannot read \"" + missing + "\": No such file or directory");
}

TEST(AtomicFileTest, FailedWriteLeavesTheOldFileByteIdentical) {
  testing::TempFolder folder;
  const std::string old_bytes(10000, 'o');
  const std::string path = folder.WriteFile("catalog.mpd", old_bytes);

  // A file-size limit makes the write itself fail, whoever runs the test.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    const Status status = WriteFileAtomically(path, std::string(100000, 'n'));
    const bool good =
        !status.ok() && status.message() == "Cannot write \"" + path + "\": File too large";
    _exit(good ? 0 : 1);
  }
  int child_status = 0;
  ASSERT_EQ(waitpid(child, &child_status, 0), child);
  ASSERT_TRUE(WIFEXITED(child_status));
  EXPECT_EQ(WEXITSTATUS(child_status), 0) << "the write did not fail as expected";
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

}  // namespace
}  // namespace tallymere
