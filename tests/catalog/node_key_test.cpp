#include "catalog/node_key.h"

#include <gtest/gtest.h>

#include <string>

namespace tallymere {
namespace {

CatalogRecord Record(const std::string& path, const std::string& label) {
  CatalogRecord record;
  record.path = path;
  record.disk_label = label;
  record.file_name = "a.mp3";
  return record;
}

TEST(NodeKeyTest, ReadsEveryKindOfNodeOnceFromItsKey) {
  struct Case {
    const char* key;
    bool disks;
    NodeKey::Kind kind;
    const char* root;
    const char* label;
    const char* path;
  };
  using Kind = NodeKey::Kind;
  const Case kCases[] = {
      {"/home/me/music.mpd", false, Kind::kRoot, "", "", ""},
      {"Untitled.mpd", true, Kind::kRoot, "", "", ""},
      {"C:\\", false, Kind::kDrive, "C:\\", "", "C:\\"},
      {"E:\\", true, Kind::kDrive, "E:\\", "", "E:\\"},
      {"C:\\Music\\Pop\\", false, Kind::kDriveFolder, "C:\\", "", "C:\\Music\\Pop\\"},
      // Only the drive's kind tells a disk from a folder of the same name.
      {"E:\\MyCD\\", false, Kind::kDriveFolder, "E:\\", "", "E:\\MyCD\\"},
      {"E:\\MyCD\\", true, Kind::kDisk, "E:\\", "MyCD", "E:\\"},
      {"E:\\My CD [1]\\Sub\\Deep\\", true, Kind::kDiskFolder, "E:\\", "My CD [1]",
       "E:\\Sub\\Deep\\"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.key);
    const NodeKey node = NodeKey::Parse(c.key, c.disks);
    EXPECT_EQ(node.kind(), c.kind);
    EXPECT_EQ(node.key(), c.key);
    EXPECT_EQ(node.drive_root(), c.root);
    EXPECT_EQ(node.label(), c.label);
    EXPECT_EQ(node.path(), c.path);
  }
}

TEST(NodeKeyTest, AClickListsItsOwnFolderExactlyAndTheCommandsTakeAllBelowIt) {
  const CatalogRecord pop = Record("C:\\Music\\Pop\\", "C:\\");
  const CatalogRecord cd_root = Record("E:\\", "MyCD");
  const CatalogRecord cd_sub = Record("E:\\Sub\\", "MyCD");
  const CatalogRecord other_disk = Record("E:\\Sub\\", "Other");

  const NodeKey music = NodeKey::Parse("C:\\Music\\", false);
  EXPECT_FALSE(music.ListsDirectly(pop));
  EXPECT_TRUE(music.HoldsBelow(pop));
  EXPECT_TRUE(NodeKey::Parse("c:\\music\\pop\\", false).HoldsBelow(pop));
  EXPECT_FALSE(NodeKey::Parse("c:\\music\\pop\\", false).ListsDirectly(pop));
  EXPECT_TRUE(NodeKey::Parse("C:\\Music\\Pop\\", false).ListsDirectly(pop));

  const NodeKey disk = NodeKey::Parse("E:\\MyCD\\", true);
  EXPECT_TRUE(disk.ListsDirectly(cd_root));
  EXPECT_FALSE(disk.ListsDirectly(cd_sub));
  EXPECT_TRUE(disk.HoldsBelow(cd_sub));
  EXPECT_TRUE(NodeKey::Parse("E:\\mycd\\", true).HoldsBelow(cd_sub));
  EXPECT_FALSE(disk.HoldsBelow(other_disk));

  const NodeKey sub = NodeKey::Parse("E:\\MyCD\\Sub\\", true);
  EXPECT_TRUE(sub.ListsDirectly(cd_sub));
  EXPECT_FALSE(sub.ListsDirectly(other_disk));
  EXPECT_FALSE(sub.HoldsBelow(cd_root));

  // A drive that holds disks lists nothing of its own; a fixed one its root.
  EXPECT_FALSE(NodeKey::Parse("E:\\", true).ListsDirectly(Record("E:\\", "E:\\")));
  EXPECT_TRUE(NodeKey::Parse("C:\\", false).ListsDirectly(Record("C:\\", "C:\\")));
  EXPECT_FALSE(NodeKey::Parse("Untitled.mpd", false).ListsDirectly(pop));
}

TEST(NodeKeyTest, ARelabelledDiskKeepsTheFolderPartOfEveryKey) {
  EXPECT_EQ(NodeKey::Parse("E:\\MyCD\\", true).WithLabel("Music01"), "E:\\Music01\\");
  EXPECT_EQ(NodeKey::Parse("E:\\MyCD\\Sub\\Deep\\", true).WithLabel("X"), "E:\\X\\Sub\\Deep\\");
  EXPECT_EQ(NodeKey::Parse("C:\\MyCD\\", false).WithLabel("X"), "C:\\MyCD\\");
}

}  // namespace
}  // namespace tallymere
