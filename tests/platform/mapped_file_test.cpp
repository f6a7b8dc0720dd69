#include "platform/mapped_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <utility>

#include "platform/atomic_file.h"
#include "support/temp_folder.h"
#include "support/unprivileged.h"

namespace tallymere {
namespace {

TEST(MappedFileTest, MapsARegularFileAndOutlivesItsReplacement) {
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
}

TEST(MappedFileTest, FilesThatCannotBeMappedAreReadInstead) {
  testing::TempFolder folder;
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

}  // namespace
}  // namespace tallymere
