#pragma once
// The catalog tree tvAlbum built from a catalog, as Open, a scan, Add a Disk,
// Update and Delete Disk or Folder show it: the data file's node, a node for
// each floppy, hard and CD-ROM drive, and below them the folders and
// labelled disks of the catalog's folder keys (FolderKey), one node per
// level, their texts without the closing "\". A drive node left without
// children goes, unless files lie in its root folder.

#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog_drives.h"
#include "catalog/catalog_table.h"
#include "views/tree_model.h"

namespace tallymere {

// The top node's image: the computer while no catalog is open, the data
// file once one is.
inline constexpr std::string_view kComputerImage = "mycomp";
inline constexpr std::string_view kDataFileImage = "datafile";

// The image of a drive's node ("floppy", "removable", "hard", "cdrom"), or
// empty for a type the tree does not show (network drives, RAM disks). A
// removable drive is drawn as a floppy drive only when it is one; a USB stick
// or card reader gets the removable drive's picture.
std::string_view DriveImage(const CatalogDrive& drive);

// Clears the tree and adds the data file's node, expanded, and a node for
// each drive the tree shows, in the order given.
void StartCatalogTree(TreeModel& tree, const std::string& data_file, std::string_view root_image,
                      const std::vector<CatalogDrive>& drives);

// Adds the nodes of one folder key that are missing below the nodes that
// exist ("C:\Music\Pop\" adds Music, then Pop). Levels whose parent is no
// node of the tree are left out, so drives the tree does not show stay out;
// the level right below a removable or CD-ROM drive is a disk's label and
// gets the disk's image.
void BuildNode(TreeModel& tree, std::string_view folder_key,
               const std::vector<CatalogDrive>& drives);

// The whole tree of a catalog, with the first drive expanded.
void BuildCatalogTree(TreeModel& tree, const std::string& data_file,
                      const std::vector<CatalogDrive>& drives, const CatalogTable& catalog);

}  // namespace tallymere
