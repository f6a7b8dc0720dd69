#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "common/format.h"
#include "platform/folder_listing.h"
#include "platform/open_folder.h"
#include "platform/rename_file.h"
#include "platform_fixture.h"
#include "support/temp_folder.h"

namespace tallymere {
namespace {

using testing::ReadFileBytes;

void SetModified(const std::string& path, std::time_t when) {
  const timespec times[2] = {{when, 0}, {when, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(FileOperationsTest, ReadOnlyRenameWithoutReplacingExistenceLengthDeleteAndCreate) {
  testing::DrivesFixture fixture("C: fixed %ROOT%/c\n");
  LinuxPlatform& platform = fixture.platform();
  const std::string path = fixture.folder().WriteFile("c/ro.mp3", "x");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  EXPECT_TRUE(platform.IsReadOnly("C:\\ro.mp3").value());
  ASSERT_TRUE(platform.ResetAttributes("C:\\ro.mp3").ok());
  EXPECT_FALSE(platform.IsReadOnly("C:\\ro.mp3").value());
  struct stat info;
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
  // Group and others do not count; a read-only check names the missing file.
  ASSERT_EQ(chmod(path.c_str(), 0200), 0);
  EXPECT_FALSE(platform.IsReadOnly("C:\\ro.mp3").value());
  EXPECT_NE(platform.IsReadOnly("C:\\none.mp3").status().message().find("\"C:\\none.mp3\""),
            std::string::npos);

  const std::string a = fixture.folder().WriteFile("c/a.mp3", "first");
  const std::string b = fixture.folder().WriteFile("c/b.mp3", "second");
  EXPECT_EQ(platform.RenameFile("C:\\a.mp3", "C:\\b.mp3").message(),
            "Cannot rename \"C:\\a.mp3\" to \"C:\\b.mp3\": \"C:\\b.mp3\" already exists");
  EXPECT_EQ(ReadFileBytes(a), "first");
  EXPECT_EQ(ReadFileBytes(b), "second");

  ASSERT_TRUE(platform.RenameFile("C:\\a.mp3", "c:\\A.mp3").ok());
  EXPECT_FALSE(platform.FileExists("C:\\a.mp3"));
  EXPECT_EQ(ReadFileBytes(fixture.folder().Path("c/A.mp3")), "first");

  const std::string gone = platform.RenameFile("C:\\gone.mp3", "C:\\new.mp3").message();
  EXPECT_NE(gone.find("No such file or directory"), std::string::npos);

  SetModified(fixture.folder().WriteFile("c/Music/a.mp3", "12345"), 1000000000);
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

TEST(OpenFolderTest, ReadsAndOpensRegularFilesOnlyNeverWaitsOnAFifoAndAMissingFolderHasNone) {
  testing::TempFolder temp;
  SetModified(temp.WriteFile("song.mp3", "0123456789"), 1234567890);
  temp.MakeFolder("sub");
  ASSERT_EQ(symlink("song.mp3", temp.Path("link.mp3").c_str()), 0);
  ASSERT_EQ(mkfifo(temp.Path("pipe.mp3").c_str(), 0600), 0);
  const OpenFolder folder(temp.path());
  ASSERT_TRUE(folder.ok());
  FolderEntry facts;
  ASSERT_TRUE(folder.ReadFacts("song.mp3", &facts));
  EXPECT_EQ(facts.size, 10);
  EXPECT_EQ(facts.modified, 1234567890);
  EXPECT_FALSE(facts.read_only);
  ASSERT_EQ(chmod(temp.Path("song.mp3").c_str(), 0444), 0);
  ASSERT_TRUE(folder.ReadFacts("song.mp3", &facts));
  EXPECT_TRUE(facts.read_only);

  // Only regular files, as a listing shows them.
  for (const char* name : {"missing.mp3", "sub", "link.mp3", "pipe.mp3"}) {
    EXPECT_FALSE(folder.ReadFacts(name, &facts)) << name;
  }
  Result<std::unique_ptr<RandomAccessFile>> file = folder.Open("song.mp3", &facts);
  ASSERT_TRUE(file.ok());
  EXPECT_EQ(facts.size, 10);
  EXPECT_EQ(facts.modified, 1234567890);
  std::string bytes;
  ASSERT_TRUE((*file)->ReadAt(4, 3, &bytes).ok());
  EXPECT_EQ(bytes, "456");

  EXPECT_EQ(folder.Open("missing.mp3", &facts).status().message(), "File not found");
  EXPECT_EQ(folder.Open("sub", &facts).code(), StatusCode::kNoAccess);
  EXPECT_FALSE(folder.Open("link.mp3", &facts).ok());
  // Without a writer a fifo would block an ordinary open for good.
  EXPECT_EQ(folder.Open("pipe.mp3", &facts).status().message(), "It is a pipe, not a file");

  // A folder that cannot be opened reads nothing.
  const OpenFolder missing(temp.Path("nowhere"));
  EXPECT_FALSE(missing.ok());
  EXPECT_FALSE(missing.ReadFacts("song.mp3", &facts));
  EXPECT_FALSE(missing.Open("song.mp3", &facts).ok());
  EXPECT_FALSE(OpenFolder(temp.Path("song.mp3")).ok());  // a file is no folder
}

using Texts = std::vector<std::string>;

// The sorted names of a listing, folders ending in "\", or its error.
Texts Names(const Result<FolderListing>& listing) {
  if (!listing.ok()) return {"error: " + listing.status().message()};
  Texts names;
  for (const FolderEntry& entry : listing->entries) {
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
    EXPECT_EQ(Names(listing), (Texts{"song.mp3", "sub\\"}));
    EXPECT_EQ(listing->skipped_names, 2);
  }
  // The mount point is another drive's root, and listable as that drive.
  EXPECT_EQ(Names(fixture.platform().ListFolder("m:\\", false)), Texts{"on_stick.mp3"});
}

TEST(FolderListingTest, FileFactsAreSixtyFourBitAndFailuresNameTheFolderAndCause) {
  testing::DrivesFixture fixture("C: fixed %ROOT%/c\n");
  const std::string path = fixture.folder().WriteFile("c/big.avi", "");
  constexpr int64_t kSize = (int64_t{5} << 30) + 7;  // beyond 32 bits
  ASSERT_EQ(truncate(path.c_str(), kSize), 0);
  SetModified(path, 1234567890);
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  fixture.folder().MakeFolder("c/folder");

  const Result<FolderListing> listing = fixture.platform().ListFolder("C:\\", true);
  ASSERT_EQ(Names(listing), (Texts{"big.avi", "folder\\"}));
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
  // 3,000 long names take several times the room of one read of entries.
  Texts expected;
  for (int i = 0; i < 3000; ++i) {
    expected.push_back(std::string(90, 'x') + std::to_string(i) + ".mp3");
    fixture.folder().WriteFile("c/" + expected.back(), "");
  }
  std::sort(expected.begin(), expected.end());
  for (bool facts : {false, true})
    EXPECT_EQ(Names(fixture.platform().ListFolder("C:\\", facts)), expected);
}

TEST(FolderListingTest, NeverReturnsTheKernelsFolders) {
  testing::DrivesFixture fixture("C: fixed /\n");
  const Texts names = Names(fixture.platform().ListFolder("C:\\", false));
  for (const char* hidden : {"proc\\", "sys\\", "dev\\", "run\\"}) {
    EXPECT_EQ(std::count(names.begin(), names.end(), hidden), 0) << hidden;
  }
  EXPECT_EQ(std::count(names.begin(), names.end(), "etc\\"), 1);
  EXPECT_EQ(Names(fixture.platform().ListFolder("C:\\proc\\", false)), Texts{});
  for (const std::string& name : Names(fixture.platform().ListFolder("C:\\run\\", true))) {
    EXPECT_TRUE(name == "media" || name == "media\\") << name;
  }
}

}  // namespace
}  // namespace tallymere
