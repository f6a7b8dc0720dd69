// The pictures of the drive nodes of the catalog tree.

#include "views/tree_builder.h"

#include <gtest/gtest.h>

#include "ports/platform.h"

namespace tallymere {
namespace {

TEST(TreeBuilderTest, AFloppyDriveKeepsTheFloppyPictureAndOtherRemovableDrivesGetTheirOwn) {
  EXPECT_EQ(DriveImage({"A:\\", kDriveRemovable, true}), "floppy");
  EXPECT_EQ(DriveImage({"E:\\", kDriveRemovable, false}), "removable");
  EXPECT_EQ(DriveImage({"C:\\", kDriveFixed, false}), "hard");
  EXPECT_EQ(DriveImage({"D:\\", kDriveCdRom, false}), "cdrom");
  EXPECT_EQ(DriveImage({"N:\\", kDriveRemote, false}), "");
  EXPECT_EQ(DriveImage({"R:\\", kDriveRamDisk, false}), "");

  // The tree's drive nodes take those pictures; drives it does not show stay out.
  TreeModel tree;
  StartCatalogTree(tree, "c.mpd", kDataFileImage,
                   {{"A:\\", kDriveRemovable, true},
                    {"C:\\", kDriveFixed, false},
                    {"E:\\", kDriveRemovable, false},
                    {"N:\\", kDriveRemote, false}});
  std::string images;
  for (int node : tree.Nodes()) images += tree.node(node).key + "=" + tree.node(node).image + " ";
  EXPECT_EQ(images, "c.mpd=datafile A:\\=floppy C:\\=hard E:\\=removable ");
  // The disk below a removable drive keeps the disk picture, floppy or not.
  BuildNode(tree, "E:\\Stick\\", {{"E:\\", kDriveRemovable, false}});
  EXPECT_EQ(tree.node(tree.Find("E:\\Stick\\")).image, "disk");
}

}  // namespace
}  // namespace tallymere
