#include "views/tree_builder.h"

#include <algorithm>

#include "common/sorted_list.h"
#include "ports/platform.h"

namespace tallymere {
namespace {

// One folder key per run of records with the same Path, in the order of the
// self-sorting folder work list.
SortedList FolderKeys(const CatalogTable& catalog) {
  SortedList keys;
  const int end = catalog.CatalogEnd();
  for (int i = 1; i < end; ++i) {
    // The record at the end has no Path, so the last file always ends a run;
    // a table full to its last record has no record there to read.
    if (i + 1 == end || catalog.Record(i).path != catalog.Record(i + 1).path) {
      keys.Add(FolderKey(catalog.Record(i)));
    }
  }
  return keys;
}

// Node texts are built with their closing "\"; the tree shows them without.
void TrimNodeTexts(TreeModel& tree) {
  const std::vector<int> nodes = tree.Nodes();
  for (std::size_t i = 1; i < nodes.size(); ++i) {
    const std::string& text = tree.node(nodes[i]).text;
    if (!text.empty()) tree.SetText(nodes[i], text.substr(0, text.size() - 1));
  }
}

// Drops drive nodes without children, except drives whose root folder holds
// files: those files could not be reached otherwise.
void RemoveEmptyDriveNodes(TreeModel& tree, const std::vector<CatalogDrive>& drives,
                           const std::vector<std::string>& drives_with_files) {
  for (const CatalogDrive& drive : drives) {
    const int node = tree.Find(drive.root);
    const bool has_files = std::find(drives_with_files.begin(), drives_with_files.end(),
                                     drive.root) != drives_with_files.end();
    if (node != TreeModel::kNoNode && tree.ChildCount(node) == 0 && !has_files) tree.Remove(node);
  }
}

}  // namespace

std::string_view DriveImage(const CatalogDrive& drive) {
  switch (drive.type) {
    case kDriveRemovable:
      return drive.floppy ? "floppy" : "removable";
    case kDriveFixed:
      return "hard";
    case kDriveCdRom:
      return "cdrom";
    default:
      return {};
  }
}

void StartCatalogTree(TreeModel& tree, const std::string& data_file, std::string_view root_image,
                      const std::vector<CatalogDrive>& drives) {
  tree.Clear();
  tree.AddRoot(data_file, data_file, std::string(root_image), std::string(root_image));
  for (const CatalogDrive& drive : drives) {
    const std::string image(DriveImage(drive));
    if (!image.empty()) tree.AddChild(data_file, drive.root, drive.root, image, image);
  }
  tree.Expand(tree.Find(data_file));
}

void BuildNode(TreeModel& tree, std::string_view folder_key,
               const std::vector<CatalogDrive>& drives) {
  if (folder_key.size() == kDriveRootLength) return;  // a drive: its node exists already
  for (std::size_t i = 1; i <= folder_key.size(); ++i) {
    if (folder_key[i - 1] != '\\') continue;
    const std::size_t next = folder_key.find('\\', i);
    if (next == std::string_view::npos) continue;
    const std::string_view parent = folder_key.substr(0, i);
    const std::string_view key = folder_key.substr(0, next + 1);
    // Most levels of a key were added with an earlier key.
    if (tree.Find(key) != TreeModel::kNoNode || tree.Find(parent) == TreeModel::kNoNode) continue;
    // Only a drive root reports a removable or CD type, so just the first
    // level below such a drive (a disk's label) gets the disk images.
    std::string image = "fclosed";
    std::string selected_image = "fopen";
    const int type = parent.size() == kDriveRootLength ? TypeOfRoot(parent, drives) : kDriveNone;
    if (type == kDriveRemovable) image = selected_image = "disk";
    if (type == kDriveCdRom) image = selected_image = "cd";
    tree.AddChild(parent, std::string(key), std::string(folder_key.substr(i, next - i + 1)),
                  std::move(image), std::move(selected_image));
  }
}

void BuildCatalogTree(TreeModel& tree, const std::string& data_file,
                      const std::vector<CatalogDrive>& drives, const CatalogTable& catalog) {
  StartCatalogTree(tree, data_file, kDataFileImage, drives);
  std::vector<std::string> drives_with_files;
  for (const std::string& key : FolderKeys(catalog)) {
    if (key.size() == kDriveRootLength) drives_with_files.push_back(key);
    BuildNode(tree, key, drives);
  }
  TrimNodeTexts(tree);
  RemoveEmptyDriveNodes(tree, drives, drives_with_files);
  const int first_drive = tree.NodeAt(2);
  if (first_drive != TreeModel::kNoNode) tree.Expand(first_drive);
}

}  // namespace tallymere
