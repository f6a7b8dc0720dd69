#include "platform/open_folder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/temp_folder.h"

namespace tallymere {
namespace {

class OpenFolderTest : public ::testing::Test {
 protected:
  OpenFolderTest() {
    m_folder.WriteFile("song.mp3", "0123456789");
    const timespec times[2] = {{1234567890, 0}, {1234567890, 0}};
    utimensat(AT_FDCWD, m_folder.Path("song.mp3").c_str(), times, 0);
    m_folder.MakeFolder("sub");
    symlink("song.mp3", m_folder.Path("link.mp3").c_str());
    mkfifo(m_folder.Path("pipe.mp3").c_str(), 0600);
  }
  testing::TempFolder m_folder;
};

TEST_F(OpenFolderTest, ReadsTheFactsOfRegularFilesByName) {
  const OpenFolder folder(m_folder.path());
  ASSERT_TRUE(folder.ok());
  FolderEntry facts;
  ASSERT_TRUE(folder.ReadFacts("song.mp3", &facts));
  EXPECT_EQ(facts.size, 10);
  EXPECT_EQ(facts.modified, 1234567890);
  EXPECT_FALSE(facts.read_only);
  ASSERT_EQ(chmod(m_folder.Path("song.mp3").c_str(), 0444), 0);
  ASSERT_TRUE(folder.ReadFacts("song.mp3", &facts));
  EXPECT_TRUE(facts.read_only);

  // Only regular files, as a listing shows them.
  for (const char* name : {"missing.mp3", "sub", "link.mp3", "pipe.mp3"}) {
    EXPECT_FALSE(folder.ReadFacts(name, &facts)) << name;
  }
}

TEST_F(OpenFolderTest, OpensRegularFilesOnlyAndNeverWaitsOnAFifo) {
  const OpenFolder folder(m_folder.path());
  BinaryFile file;
  FolderEntry facts;
  ASSERT_TRUE(folder.OpenFile("song.mp3", &file, &facts).ok());
  EXPECT_EQ(facts.size, 10);
  EXPECT_EQ(facts.modified, 1234567890);
  std::string bytes;
  ASSERT_TRUE(file.ReadAt(4, 3, &bytes).ok());
  EXPECT_EQ(bytes, "456");

  EXPECT_EQ(folder.OpenFile("missing.mp3", &file, &facts).message(), "File not found");
  EXPECT_EQ(folder.OpenFile("sub", &file, &facts).code(), StatusCode::kNoAccess);
  EXPECT_FALSE(folder.OpenFile("link.mp3", &file, &facts).ok());
  // Without a writer a fifo would block an ordinary open for good.
  EXPECT_FALSE(folder.OpenFile("pipe.mp3", &file, &facts).ok());
}

TEST_F(OpenFolderTest, AFolderThatCannotBeOpenedReadsNothing) {
  const OpenFolder missing(m_folder.Path("nowhere"));
  EXPECT_FALSE(missing.ok());
  FolderEntry facts;
  EXPECT_FALSE(missing.ReadFacts("song.mp3", &facts));
  BinaryFile file;
  EXPECT_FALSE(missing.OpenFile("song.mp3", &file, &facts).ok());
  EXPECT_FALSE(OpenFolder(m_folder.Path("song.mp3")).ok());  // a file is no folder
}

}  // namespace
}  // namespace tallymere
