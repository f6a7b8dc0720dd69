#include "platform/folder_listing.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "platform_fixture.h"

namespace tallymere {
namespace {

std::vector<std::string> Names(const FolderListing& listing) {
  std::vector<std::string> names;
  for (const FolderEntry& entry : listing.entries) {
    names.push_back(entry.name + (entry.is_folder ? "\\" : ""));
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(FolderListingTest, ListsOnlyVisibleFilesAndFolders) {
  testing::DrivesFixture fixture(
      "C: fixed %ROOT%/c\n"
      "M: removable %ROOT%/c/mounted Stick\n"
      "X: ignore %ROOT%/c/skip\n");
  const testing::TempFolder& root = fixture.folder();
  root.WriteFile("c/song.mp3", "abc");
  root.WriteFile("c/.hidden.mp3", "abc");
  root.WriteFile("c/.hidden_folder/in.mp3", "abc");
  root.WriteFile("c/sub/in.mp3", "abc");
  root.WriteFile("c/back\\slash.mp3", "abc");
  root.MakeFolder("c/back\\folder");
  root.WriteFile("c/mounted/on_stick.mp3", "abc");
  root.MakeFolder("c/skip");
  ASSERT_EQ(symlink("loop", root.Path("c/loop").c_str()), 0);
  ASSERT_EQ(symlink("sub", root.Path("c/link_to_sub").c_str()), 0);
  ASSERT_EQ(symlink("song.mp3", root.Path("c/link_to_song.mp3").c_str()), 0);
  ASSERT_EQ(mkfifo(root.Path("c/fifo").c_str(), 0600), 0);

  for (bool facts : {false, true}) {
    SCOPED_TRACE(facts);
    const Result<FolderListing> listing = fixture.platform().ListFolder("C:\\", facts);
    ASSERT_TRUE(listing.ok()) << listing.status().message();
    EXPECT_EQ(Names(*listing), (std::vector<std::string>{"song.mp3", "sub\\"}));
    EXPECT_EQ(listing->skipped_names, 2);
  }
  // The mount point is another drive's root, and listable as that drive.
  const Result<FolderListing> stick = fixture.platform().ListFolder("m:\\", false);
  ASSERT_TRUE(stick.ok());
  EXPECT_EQ(Names(*stick), std::vector<std::string>{"on_stick.mp3"});
}

TEST(FolderListingTest, FileFactsAreSixtyFourBitAndFailuresNameTheFolderAndCause) {
  testing::DrivesFixture fixture("C: fixed %ROOT%/c\n");
  const std::string path = fixture.folder().WriteFile("c/big.avi", "");
  constexpr int64_t kSize = (int64_t{5} << 30) + 7;  // beyond 32 bits
  ASSERT_EQ(truncate(path.c_str(), kSize), 0);
  const timespec times[2] = {{1234567890, 0}, {1234567890, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  fixture.folder().MakeFolder("c/folder");

  const Result<FolderListing> listing = fixture.platform().ListFolder("C:\\", true);
  ASSERT_TRUE(listing.ok());
  EXPECT_EQ(Names(*listing), (std::vector<std::string>{"big.avi", "folder\\"}));
  for (const FolderEntry& file : listing->entries) {
    if (file.is_folder) continue;
    EXPECT_EQ(file.size, kSize);
    EXPECT_EQ(file.modified, 1234567890);
    EXPECT_TRUE(file.read_only);
  }
  EXPECT_EQ(fixture.platform().FileLength("C:\\big.avi").value(), kSize);

  EXPECT_EQ(fixture.platform().ListFolder("C:\\Music\\", false).status().message(),
            "Cannot list \"C:\\Music\\\": No such file or directory");
  EXPECT_EQ(fixture.platform().ListFolder("C:\\big.avi", false).status().message(),
            "Cannot list \"C:\\big.avi\": Not a directory");
}

TEST(FolderListingTest, ListsFoldersLargerThanOneReadOfTheKernel) {
  testing::DrivesFixture fixture("C: fixed %ROOT%/c\n");
  fixture.folder().MakeFolder("c");
  // 3,000 long names take several times the room of one read of entries.
  std::vector<std::string> expected;
  for (int i = 0; i < 3000; ++i) {
    const std::string name = std::string(90, 'x') + std::to_string(i) + ".mp3";
    const int fd = open(fixture.folder().Path("c/" + name).c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    close(fd);
    expected.push_back(name);
  }
  std::sort(expected.begin(), expected.end());
  for (bool facts : {false, true}) {
    const Result<FolderListing> listing = fixture.platform().ListFolder("C:\\", facts);
    ASSERT_TRUE(listing.ok());
    EXPECT_EQ(Names(*listing), expected);
  }
}

TEST(FolderListingTest, NeverReturnsTheKernelsFolders) {
  testing::DrivesFixture fixture("C: fixed /\n");
  const Result<FolderListing> top = fixture.platform().ListFolder("C:\\", false);
  ASSERT_TRUE(top.ok());
  const std::vector<std::string> names = Names(*top);
  for (const char* hidden : {"proc\\", "sys\\", "dev\\", "run\\"}) {
    EXPECT_EQ(std::count(names.begin(), names.end(), hidden), 0) << hidden;
  }
  EXPECT_EQ(std::count(names.begin(), names.end(), "etc\\"), 1);
  const Result<FolderListing> proc = fixture.platform().ListFolder("C:\\proc\\", false);
  ASSERT_TRUE(proc.ok());
  EXPECT_TRUE(proc->entries.empty());
  const Result<FolderListing> run = fixture.platform().ListFolder("C:\\run\\", true);
  ASSERT_TRUE(run.ok());
  for (const FolderEntry& entry : run->entries) EXPECT_EQ(entry.name, "media");
}

}  // namespace
}  // namespace tallymere
