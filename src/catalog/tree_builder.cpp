#include "catalog/tree_builder.h"

#include <algorithm>
#include <array>

#include "common/ascii_case.h"
#include "common/sorted_list.h"
#include "ports/platform.h"

namespace tallymere {
namespace {

int TypeOfRoot(std::string_view root, const std::vector<TreeDrive>& drives) {
  const auto drive = std::find_if(drives.begin(), drives.end(),
                                  [&](const TreeDrive& each) { return each.root == root; });
  return drive == drives.end() ? kDriveNone : drive->type;
}

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
void RemoveEmptyDriveNodes(TreeModel& tree, const std::vector<TreeDrive>& drives,
                           const std::vector<std::string>& drives_with_files) {
  for (const TreeDrive& drive : drives) {
    const int node = tree.Find(drive.root);
    const bool has_files = std::find(drives_with_files.begin(), drives_with_files.end(),
                                     drive.root) != drives_with_files.end();
    if (node != TreeModel::kNoNode && tree.ChildCount(node) == 0 && !has_files) tree.Remove(node);
  }
}

}  // namespace

std::string_view DriveImage(int type) {
  switch (type) {
    case kDriveRemovable:
      return "floppy";
    case kDriveFixed:
      return "hard";
    case kDriveCdRom:
      return "cdrom";
    default:
      return {};
  }
}

std::vector<TreeDrive> CatalogTreeDrives(const std::vector<TreeDrive>& machine,
                                         const CatalogTable& catalog) {
  // For each letter the records use: whether any record is not a labelled
  // disk's (a drive root in its Disk label).
  struct Use {
    bool used = false;
    bool drive_root_records = false;
  };
  std::array<Use, 26> uses{};
  const int end = catalog.CatalogEnd();
  for (int i = 1; i < end; ++i) {
    const CatalogRecord& record = catalog.Record(i);
    const char letter = AsciiUpper(record.path.empty() ? '\0' : record.path[0]);
    if (letter < 'A' || letter > 'Z' || record.path.substr(1, 2) != ":\\") continue;
    Use& use = uses[static_cast<std::size_t>(letter - 'A')];
    use.used = true;
    use.drive_root_records = use.drive_root_records || IsDriveRootLabel(record.disk_label);
  }
  std::vector<TreeDrive> drives;
  for (const TreeDrive& drive : machine) {
    if (!DriveImage(drive.type).empty()) drives.push_back(drive);
  }
  for (std::size_t i = 0; i < uses.size(); ++i) {
    const std::string root = std::string(1, static_cast<char>('A' + i)) + ":\\";
    if (!uses[i].used || TypeOfRoot(root, drives) != kDriveNone) continue;
    drives.push_back({root, uses[i].drive_root_records ? kDriveFixed : kDriveCdRom});
  }
  std::sort(drives.begin(), drives.end(),
            [](const TreeDrive& a, const TreeDrive& b) { return a.root < b.root; });
  return drives;
}

void StartCatalogTree(TreeModel& tree, const std::string& data_file, std::string_view root_image,
                      const std::vector<TreeDrive>& drives) {
  tree.Clear();
  tree.AddRoot(data_file, data_file, std::string(root_image), std::string(root_image));
  for (const TreeDrive& drive : drives) {
    const std::string image(DriveImage(drive.type));
    if (!image.empty()) tree.AddChild(data_file, drive.root, drive.root, image, image);
  }
  tree.Expand(tree.Find(data_file));
}

void BuildNode(TreeModel& tree, std::string_view folder_key, const std::vector<TreeDrive>& drives) {
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
                      const std::vector<TreeDrive>& drives, const CatalogTable& catalog) {
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
