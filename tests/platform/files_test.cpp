#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <utility>

#include "platform/atomic_file.h"
#include "platform/mapped_file.h"
#include "platform/text_file.h"
#include "support/temp_folder.h"
#include "support/test_platform.h"
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

TEST(MappedFileTest, MapsARegularFileOutlivingItsReplacementAndReadsOthers) {
  testing::TempFolder folder;
  std::string bytes(300000, 'x');
  bytes[0] = '\0';
  bytes.back() = '\xFF';
  const std::string path = folder.WriteFile("catalog.mpd", bytes);
  Result<MappedFile> file = MappedFile::Open(path);
  ASSERT_TRUE(file.ok()) << file.status().message();
  EXPECT_TRUE(file->mapped());
  EXPECT_EQ(file->bytes(), bytes);

  // Saving replaces the file by a rename: the mapping keeps the old bytes.
  ASSERT_TRUE(WriteFileAtomically(path, "new").ok());
  EXPECT_EQ(file->bytes(), bytes);

  MappedFile moved = std::move(file).value();
  EXPECT_EQ(moved.bytes(), bytes);
  moved = MappedFile::Open(path).value();
  EXPECT_EQ(moved.bytes(), "new");

  // Files that cannot be mapped are read instead.
  Result<MappedFile> empty = MappedFile::Open(folder.WriteFile("empty.mpd", ""));
  ASSERT_TRUE(empty.ok());
  EXPECT_FALSE(empty->mapped());
  EXPECT_TRUE(empty->bytes().empty());

  // Files under /proc report no size.
  Result<MappedFile> status = MappedFile::Open("/proc/self/status");
  ASSERT_TRUE(status.ok());
  EXPECT_FALSE(status->mapped());
  EXPECT_NE(status->bytes().find("Name:"), std::string_view::npos);
}

TEST(MappedFileTest, AFileThatCannotBeReadGivesTheMessageOfReadWholeFile) {
  testing::TempFolder folder;
  const std::string missing = folder.Path("missing.mpd");
  const Result<MappedFile> file = MappedFile::Open(missing);
  ASSERT_FALSE(file.ok());
  EXPECT_EQ(file.code(), StatusCode::kNotFound);
  EXPECT_EQ(file.status().message(), ReadWholeFile(missing).status().message());

  const std::string locked = folder.WriteFile("locked.mpd", "bytes");
  ASSERT_EQ(chmod(locked.c_str(), 0), 0);
  testing::RunAsUnprivileged({folder.path()}, [&] {
    const Result<MappedFile> refused = MappedFile::Open(locked);
    EXPECT_EQ(refused.code(), StatusCode::kNoAccess);
    EXPECT_EQ(refused.status().message(), ReadWholeFile(locked).status().message());
  });
}

class TextFileTest : public ::testing::Test {
 protected:
  testing::TestPlatform m_platform;
};

TEST_F(TextFileTest, WritesWindows1252WhenEveryLineFitsElseUtf8WithByteOrderMark) {
  testing::TempFolder folder;
  const std::string header = folder.Path("Header.txt");
  const std::vector<std::string> fitting = {"Caf\xC3\xA9", "", "na\xC3\xAFve \xE2\x82\xAC"};
  ASSERT_TRUE(WriteTextFile(m_platform, header, fitting).ok());
  EXPECT_EQ(ReadFileBytes(header), "Caf\xE9\r\n\r\nna\xEFve \x80\r\n");
  EXPECT_EQ(ReadTextLines(m_platform, header).value(), fitting);

  const std::string path = folder.Path("list.txt");
  // Japanese does not fit Windows-1252; the raw byte is a file name that is
  // not UTF-8 and must come back unchanged.
  const std::vector<std::string> lines = {"\xE6\x97\xA5\xE6\x9C\xAC", "Caf\xC3\xA9", "raw\xE9"};
  ASSERT_TRUE(WriteTextFile(m_platform, path, lines).ok());
  EXPECT_EQ(ReadFileBytes(path),
            "\xEF\xBB\xBF\xE6\x97\xA5\xE6\x9C\xAC\r\nCaf\xC3\xA9\r\nraw\xE9\r\n");
  EXPECT_EQ(ReadTextLines(m_platform, path).value(), lines);
}

TEST_F(TextFileTest, ReadsEitherEncodingAndEitherLineEnd) {
  EXPECT_EQ(DecodeTextFile("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(DecodeTextFile("a\n\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(DecodeTextFile("a\r\r\n"), (std::vector<std::string>{"a\r"}));
  EXPECT_EQ(DecodeTextFile(""), std::vector<std::string>{});
  EXPECT_EQ(DecodeTextFile("\r\n"), std::vector<std::string>{""});
  EXPECT_EQ(DecodeTextFile("Caf\xE9\n"), std::vector<std::string>{"Caf\xC3\xA9"});
  EXPECT_EQ(DecodeTextFile("Caf\xC3\xA9"), std::vector<std::string>{"Caf\xC3\xA9"});
  EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBFx\r\n"), std::vector<std::string>{"x"});
  EXPECT_EQ(EncodeTextFile({}), "");

  testing::TempFolder folder;
  EXPECT_NE(ReadTextLines(m_platform, folder.Path("none.txt")).status().message().find("none.txt"),
            std::string::npos);
}

}  // namespace
}  // namespace tallymere
