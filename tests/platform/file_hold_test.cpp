// Holding a data file against other programs, and the version of a file a
// path names.

#include "platform/file_hold.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <future>
#include <string>
#include <thread>

#include "platform/atomic_file.h"
#include "support/temp_folder.h"

namespace tallymere {
namespace {

using testing::TempFolder;

// A hold that never waits: false when another holds the file.
bool HoldsAtOnce(const std::string& path) {
  return HoldFileExclusively(path, [] { return false; }).ok();
}

TEST(FileHoldTest, AHeldFileIsRefusedOrWaitedForAndFreedWhenTheHoldEnds) {
  TempFolder folder;
  const std::string path = folder.WriteFile("cat.mpd", "records");
  Result<std::unique_ptr<FileHold>> held = HoldFileExclusively(path, [] { return true; });
  ASSERT_TRUE(held.ok());

  int asked = 0;
  const Result<std::unique_ptr<FileHold>> refused = HoldFileExclusively(path, [&] {
    ++asked;
    return false;
  });
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(refused.code(), StatusCode::kNoAccess);
  EXPECT_EQ(refused.status().message(), "\"" + path + "\" is being changed by another program.");

  held->reset();
  EXPECT_TRUE(HoldsAtOnce(path));

  // Nothing to hold: a file not made yet, a folder, a pipe (never waited for).
  const std::string pipe = folder.Path("pipe");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  for (const std::string& nothing : {folder.Path("new.mpd"), folder.path(), pipe}) {
    Result<std::unique_ptr<FileHold>> hold = HoldFileExclusively(nothing, [&] {
      ADD_FAILURE() << nothing << " counted as held";
      return false;
    });
    EXPECT_TRUE(hold.ok()) << nothing;
  }
}

// The holder saves by renaming a new file over the old one: a program that
// waited on the old file must end up holding the new one, or a third could
// hold the new file beside it.
TEST(FileHoldTest, AWaiterHoldsTheFileThatReplacedTheOneItWaitedFor) {
  TempFolder folder;
  const std::string path = folder.WriteFile("cat.mpd", "old");
  Result<std::unique_ptr<FileHold>> first = HoldFileExclusively(path, [] { return true; });
  ASSERT_TRUE(first.ok());

  std::promise<void> waiting;
  std::promise<void> done;
  std::promise<void> may_end;
  std::thread second([&] {
    Result<std::unique_ptr<FileHold>> hold = HoldFileExclusively(path, [&] {
      waiting.set_value();
      return true;
    });
    EXPECT_TRUE(hold.ok());
    done.set_value();
    may_end.get_future().wait();
  });
  waiting.get_future().wait();
  ASSERT_TRUE(WriteFileAtomically(path, "new").ok());
  first->reset();
  done.get_future().wait();
  EXPECT_FALSE(HoldsAtOnce(path));
  may_end.set_value();
  second.join();
  EXPECT_TRUE(HoldsAtOnce(path));
}

TEST(FileHoldTest, TheVersionChangesWithEveryReplaceAndWriteAndIsNoneForNoFile) {
  TempFolder folder;
  const std::string path = folder.WriteFile("cat.mpd", "12345");
  const std::optional<FileVersion> first = NativeFileVersion(path);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->size, 5);
  EXPECT_EQ(NativeFileVersion(path), first);

  // The same size and bytes, but another file in its place.
  ASSERT_TRUE(WriteFileAtomically(path, "12345").ok());
  const std::optional<FileVersion> replaced = NativeFileVersion(path);
  ASSERT_TRUE(replaced.has_value());
  EXPECT_NE(replaced->inode, first->inode);
  EXPECT_NE(replaced, first);

  // Written in place, as a program that does not replace files would.
  const int fd = open(path.c_str(), O_WRONLY | O_APPEND);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, "6", 1), 1);
  close(fd);
  const std::optional<FileVersion> appended = NativeFileVersion(path);
  ASSERT_TRUE(appended.has_value());
  EXPECT_EQ(appended->inode, replaced->inode);
  EXPECT_NE(appended, replaced);

  EXPECT_FALSE(NativeFileVersion(folder.Path("missing.mpd")).has_value());
  EXPECT_FALSE(NativeFileVersion(folder.path()).has_value());
}

}  // namespace
}  // namespace tallymere
