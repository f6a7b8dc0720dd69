#include "platform/catalog_path.h"

#include <gtest/gtest.h>

#include "platform_fixture.h"

namespace tallymere {
namespace {

TEST(CatalogPathTest, CatalogPathsBecomeNativePaths) {
  testing::DrivesFixture fixture(
      "C: fixed /\n"
      "D: fixed %ROOT%/d\n");
  const LinuxPlatform& platform = fixture.platform();
  const std::string d = fixture.folder().Path("d");
  EXPECT_EQ(platform.ToNative("C:\\Music\\Pop\\"), "/Music/Pop/");
  EXPECT_EQ(platform.ToNative("C:\\Music\\Pop"), "/Music/Pop");
  EXPECT_EQ(platform.ToNative("C:\\"), "/");
  EXPECT_EQ(platform.ToNative("C:"), "/");
  EXPECT_EQ(platform.ToNative("c:\\music"), "/music");
  EXPECT_EQ(platform.ToNative("D:\\a\\b.mp3"), d + "/a/b.mp3");
  EXPECT_EQ(platform.ToNative("d:\\a\\b.mp3"), d + "/a/b.mp3");
  EXPECT_EQ(platform.ToNative("D:\\"), d + "/");
  EXPECT_EQ(platform.ToNative("D:"), d);
  // Nothing climbs out of its drive.
  EXPECT_EQ(platform.ToNative("D:\\a\\..\\..\\..\\b"), d + "/b");
  EXPECT_EQ(platform.ToNative("D:\\a\\\\.\\b\\"), d + "/a/b/");
  EXPECT_EQ(platform.ToNative("Q:\\a"), std::nullopt);
  EXPECT_EQ(platform.ToNative("Music"), std::nullopt);
  EXPECT_EQ(platform.ToNative(""), std::nullopt);
}

TEST(CatalogPathTest, NativePathsTakeTheLongestDriveFolder) {
  testing::DrivesFixture fixture(
      "C: fixed /\n"
      "D: fixed %ROOT%/d\n"
      "E: removable %ROOT%/d/e\n");
  const LinuxPlatform& platform = fixture.platform();
  const std::string d = fixture.folder().Path("d");
  EXPECT_EQ(platform.ToCatalog(d + "/e/x.mp3"), "E:\\x.mp3");
  // Whole names only: "ef" is not inside "e".
  EXPECT_EQ(platform.ToCatalog(d + "/ef/x.mp3"), "D:\\ef\\x.mp3");
  EXPECT_EQ(platform.ToCatalog(d), "D:\\");
  EXPECT_EQ(platform.ToCatalog(d + "/"), "D:\\");
  EXPECT_EQ(platform.ToCatalog(d + "/e"), "E:\\");
  EXPECT_EQ(platform.ToCatalog(d + "/a/"), "D:\\a\\");
  EXPECT_EQ(platform.ToCatalog(d + "//a/./b"), "D:\\a\\b");
  EXPECT_EQ(platform.ToCatalog("/Music/Pop/"), "C:\\Music\\Pop\\");
  EXPECT_EQ(platform.ToCatalog("/"), "C:\\");
  EXPECT_EQ(platform.ToCatalog("relative/path"), std::nullopt);
  // A name holding the catalog's separator cannot be written as a catalog path.
  EXPECT_EQ(platform.ToCatalog(d + "/a\\b.mp3"), std::nullopt);
  // Both ways round.
  for (const std::string catalog : {"D:\\a\\b.mp3", "E:\\", "C:\\x\\y\\"}) {
    EXPECT_EQ(platform.ToCatalog(*platform.ToNative(catalog)), catalog);
  }
}

TEST(CatalogPathTest, NoDriveHoldsPathsOutsideTheMap) {
  testing::DrivesFixture fixture("D: fixed %ROOT%/d\n");
  EXPECT_EQ(fixture.platform().ToCatalog("/etc/passwd"), std::nullopt);
  EXPECT_EQ(fixture.platform().ToNative("C:\\"), std::nullopt);
  EXPECT_FALSE(fixture.platform().FolderExists("C:\\"));
  EXPECT_EQ(fixture.platform().ListFolder("C:\\Music\\", false).status().message(),
            "Cannot list \"C:\\Music\\\": no such drive");
}

}  // namespace
}  // namespace tallymere
