#pragma once
// What a node of the catalog tree stands for, read once from its key. The
// tree builds keys from folder keys (FolderKey): a drive's own node is its
// root ("E:\"); a folder of a drive is its Path ("C:\Music\"); a labelled
// disk is its drive root and label ("E:\MyCD\"); a folder on a labelled disk
// is that and the folder below the drive root ("E:\MyCD\Sub\" for the Path
// "E:\Sub\"). The top node's key is the data file's name.
//
// A key alone cannot tell "E:\MyCD\" (a disk) from a folder MyCD: the caller
// says whether the key's drive holds labelled disks, from the drive map in
// the window or from the records under the key on the command line.

#include <string>
#include <string_view>

#include "catalog/catalog_record.h"

namespace tallymere {

class NodeKey {
 public:
  enum class Kind {
    kRoot,         // the data file's node
    kDrive,        // "C:\" or "E:\"
    kDisk,         // "E:\MyCD\"
    kDriveFolder,  // "C:\Music\"
    kDiskFolder,   // "E:\MyCD\Sub\"
  };

  static NodeKey Parse(std::string_view key, bool drive_holds_disks);

  Kind kind() const { return m_kind; }
  const std::string& key() const { return m_key; }
  // "C:\" for every kind but the root.
  std::string_view drive_root() const;
  bool drive_holds_disks() const { return m_drive_holds_disks; }
  // The disk's label, for a disk and a folder on one; else empty.
  const std::string& label() const { return m_label; }
  // The Path of the node's own files: the key of a drive or a drive's folder,
  // the drive root for a disk, the drive root and the folder below the label
  // for a folder on a disk; empty for the root.
  const std::string& path() const { return m_path; }

  // The records a click on the node lists: those of its own folder, Path
  // and label compared exactly. A drive that holds disks lists none itself.
  bool ListsDirectly(const CatalogRecord& record) const;
  // The records under the node at any depth, as Show All Files in Selected
  // and Delete Disk or Folder take them: letter case ignored.
  bool HoldsBelow(const CatalogRecord& record) const;
  // The key of the same node on a disk relabelled to `label`.
  std::string WithLabel(std::string_view label) const;

 private:
  Kind m_kind = Kind::kRoot;
  bool m_drive_holds_disks = false;
  std::string m_key;
  std::string m_label;
  std::string m_path;
};

}  // namespace tallymere
