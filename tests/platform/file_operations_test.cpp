#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/format.h"
#include "platform/rename_file.h"
#include "platform_fixture.h"

namespace tallymere {
namespace {

using testing::ReadFileBytes;

TEST(FileOperationsTest, ReadOnlyIsTheOwnersWriteBitAndResetGivesItBack) {
  testing::DrivesFixture fixture("C: fixed %ROOT%/c\n");
  const std::string path = fixture.folder().WriteFile("c/a.mp3", "x");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  EXPECT_TRUE(fixture.platform().IsReadOnly("C:\\a.mp3").value());
  ASSERT_TRUE(fixture.platform().ResetAttributes("C:\\a.mp3").ok());
  EXPECT_FALSE(fixture.platform().IsReadOnly("C:\\a.mp3").value());
  struct stat info;
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
  // Group and others do not count.
  ASSERT_EQ(chmod(path.c_str(), 0200), 0);
  EXPECT_FALSE(fixture.platform().IsReadOnly("C:\\a.mp3").value());

  EXPECT_NE(
      fixture.platform().IsReadOnly("C:\\none.mp3").status().message().find("\"C:\\none.mp3\""),
      std::string::npos);
}

TEST(FileOperationsTest, RenameRefusesToReplaceAnExistingFile) {
  testing::DrivesFixture fixture("C: fixed %ROOT%/c\n");
  const std::string a = fixture.folder().WriteFile("c/a.mp3", "first");
  const std::string b = fixture.folder().WriteFile("c/b.mp3", "second");
  EXPECT_EQ(fixture.platform().RenameFile("C:\\a.mp3", "C:\\b.mp3").message(),
            "Cannot rename \"C:\\a.mp3\" to \"C:\\b.mp3\": \"C:\\b.mp3\" already exists");
  EXPECT_EQ(ReadFileBytes(a), "first");
  EXPECT_EQ(ReadFileBytes(b), "second");

  ASSERT_TRUE(fixture.platform().RenameFile("C:\\a.mp3", "c:\\A.mp3").ok());
  EXPECT_FALSE(fixture.platform().FileExists("C:\\a.mp3"));
  EXPECT_EQ(ReadFileBytes(fixture.folder().Path("c/A.mp3")), "first");

  EXPECT_NE(fixture.platform()
                .RenameFile("C:\\gone.mp3", "C:\\new.mp3")
                .message()
                .find("No such file or directory"),
            std::string::npos);
}

TEST(FileOperationsTest, RenameOntoAHardLinkOfItselfKeepsBothNames) {
  testing::TempFolder folder;
  const std::string a = folder.WriteFile("a", "same");
  const std::string b = folder.Path("b");
  ASSERT_EQ(link(a.c_str(), b.c_str()), 0);
  EXPECT_EQ(RenameWithoutReplacing(a, b), EEXIST);
  EXPECT_EQ(ReadFileBytes(a), "same");
  EXPECT_EQ(ReadFileBytes(b), "same");
  EXPECT_EQ(RenameWithoutReplacing(a, a), 0);
}

TEST(FileOperationsTest, ExistenceLengthTimeDeleteAndCreate) {
  testing::DrivesFixture fixture("C: fixed %ROOT%/c\n");
  LinuxPlatform& platform = fixture.platform();
  const std::string path = fixture.folder().WriteFile("c/Music/a.mp3", "12345");
  const timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);

  EXPECT_TRUE(platform.FileExists("C:\\Music\\a.mp3"));
  EXPECT_FALSE(platform.FileExists("C:\\Music"));
  EXPECT_TRUE(platform.FolderExists("C:\\Music"));
  EXPECT_TRUE(platform.FolderExists("C:\\Music\\"));
  EXPECT_FALSE(platform.FolderExists("C:\\Music\\a.mp3"));
  EXPECT_EQ(platform.FileLength("C:\\Music\\a.mp3").value(), 5);
  EXPECT_FALSE(platform.FileLength("C:\\Music").ok());
  EXPECT_EQ(platform.ModifiedText("C:\\Music\\a.mp3").value(), FormatDateTime(1000000000));

  ASSERT_TRUE(platform.DeleteFile("C:\\Music\\a.mp3").ok());
  EXPECT_FALSE(platform.FileExists("C:\\Music\\a.mp3"));
  EXPECT_EQ(platform.DeleteFile("C:\\Music\\a.mp3").message(),
            "Cannot delete \"C:\\Music\\a.mp3\": No such file or directory");

  ASSERT_TRUE(platform.CreateFolder("C:\\Music\\New").ok());
  EXPECT_TRUE(platform.FolderExists("C:\\Music\\New"));
  EXPECT_FALSE(platform.CreateFolder("C:\\Music\\New").ok());
  EXPECT_FALSE(platform.CreateFolder("Q:\\x").ok());
}

}  // namespace
}  // namespace tallymere
