#include "platform/legacy_names.h"

#include <gtest/gtest.h>

#include "platform_fixture.h"

namespace tallymere {
namespace {

TEST(LegacyNamesTest, NamesStoredInWindows1252OnDiskStayReachableByTheirUtf8Texts) {
  testing::DrivesFixture drives("C: fixed %ROOT%/c\n");
  const testing::TempFolder& folder = drives.folder();
  // A folder named in Windows-1252 holding one file named so and one in UTF-8.
  const std::string legacy_file = folder.WriteFile("c/Caf\xE9/Song \xE9t\xE9.mp3", "legacy");
  const std::string utf8_file = folder.WriteFile("c/Caf\xE9/na\xC3\xAFve.mp3", "utf8");
  const LinuxPlatform& platform = drives.platform();

  EXPECT_EQ(platform.ToNative("C:\\Caf\xC3\xA9\\Song \xC3\xA9t\xC3\xA9.mp3"), legacy_file);
  EXPECT_EQ(platform.ToNative("C:\\Caf\xC3\xA9\\na\xC3\xAFve.mp3"), utf8_file);
  EXPECT_EQ(platform.ToNative("C:\\Caf\xC3\xA9\\"), folder.Path("c/Caf\xE9/"));
  EXPECT_TRUE(platform.FileExists("C:\\Caf\xC3\xA9\\Song \xC3\xA9t\xC3\xA9.mp3"));
  EXPECT_EQ(platform.FileLength("C:\\Caf\xC3\xA9\\Song \xC3\xA9t\xC3\xA9.mp3").value(), 6);
  const Result<FolderListing> listing = platform.ListFolder("C:\\Caf\xC3\xA9\\", false);
  ASSERT_TRUE(listing.ok()) << listing.status().message();
  EXPECT_EQ(listing->entries.size(), 2u);

  // A name found in neither form is named as the catalog names it.
  EXPECT_EQ(platform.ToNative("C:\\Caf\xC3\xA9\\gone \xC3\xA9.mp3"),
            folder.Path("c/Caf\xE9/gone \xC3\xA9.mp3"));
  EXPECT_FALSE(platform.FileExists("C:\\Caf\xC3\xA9\\gone \xC3\xA9.mp3"));
  // A text that has no Windows-1252 form is only ever looked for as it is.
  EXPECT_EQ(ReachableNativePath(folder.Path("c"), folder.Path("c/\xE6\x97\xA5.mp3")),
            folder.Path("c/\xE6\x97\xA5.mp3"));
}

}  // namespace
}  // namespace tallymere
