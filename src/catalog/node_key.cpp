#include "catalog/node_key.h"

#include "common/ascii_case.h"

namespace tallymere {
namespace {

bool BeginsWithDriveRoot(std::string_view key) {
  return key.size() >= kDriveRootLength && key[1] == ':' && key[2] == '\\';
}

}  // namespace

NodeKey NodeKey::Parse(std::string_view key, bool drive_holds_disks) {
  NodeKey node;
  node.m_key = key;
  node.m_drive_holds_disks = drive_holds_disks;
  if (!BeginsWithDriveRoot(key)) return node;  // the data file's node
  const std::string_view root = key.substr(0, kDriveRootLength);
  node.m_path = root;
  if (key.size() == kDriveRootLength) {
    node.m_kind = Kind::kDrive;
    return node;
  }
  if (!drive_holds_disks) {
    node.m_kind = Kind::kDriveFolder;
    node.m_path = key;
    return node;
  }
  // The label runs to the next "\"; what follows it is the folder below the
  // drive root.
  const std::size_t label_end = key.find('\\', kDriveRootLength);
  node.m_label =
      key.substr(kDriveRootLength, label_end == key.npos ? key.npos : label_end - kDriveRootLength);
  const std::string_view below =
      label_end == key.npos ? std::string_view() : key.substr(label_end + 1);
  node.m_kind = below.empty() ? Kind::kDisk : Kind::kDiskFolder;
  node.m_path.append(below);
  return node;
}

std::string_view NodeKey::drive_root() const {
  return std::string_view(m_path).substr(0, m_kind == Kind::kRoot ? 0 : kDriveRootLength);
}

bool NodeKey::ListsDirectly(const CatalogRecord& record) const {
  switch (m_kind) {
    case Kind::kRoot:
      return false;
    case Kind::kDrive:
      return !m_drive_holds_disks && record.path == m_path;
    case Kind::kDriveFolder:
      return record.path == m_path;
    case Kind::kDisk:
    case Kind::kDiskFolder:
      return record.disk_label == m_label && record.path == m_path;
  }
  return false;
}

bool NodeKey::HoldsBelow(const CatalogRecord& record) const {
  switch (m_kind) {
    case Kind::kRoot:
      return !record.path.empty();
    case Kind::kDrive:
    case Kind::kDriveFolder:
      return StartsWithNoCase(record.path, m_path);
    case Kind::kDisk:
      // A label names one disk of the catalog, whichever drive read it.
      return EqualNoCase(record.disk_label, m_label);
    case Kind::kDiskFolder:
      return EqualNoCase(record.disk_label, m_label) && StartsWithNoCase(record.path, m_path);
  }
  return false;
}

std::string NodeKey::WithLabel(std::string_view label) const {
  if (m_kind != Kind::kDisk && m_kind != Kind::kDiskFolder) return m_key;
  std::string key(drive_root());
  key.append(label).push_back('\\');
  key.append(std::string_view(m_path).substr(kDriveRootLength));
  return key;
}

}  // namespace tallymere
