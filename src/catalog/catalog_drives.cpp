#include "catalog/catalog_drives.h"

#include <algorithm>
#include <array>

#include "common/ascii_case.h"
#include "ports/platform.h"

namespace tallymere {

bool IsShownDriveType(int type) {
  return type == kDriveRemovable || type == kDriveFixed || type == kDriveCdRom;
}

int TypeOfRoot(std::string_view root, const std::vector<CatalogDrive>& drives) {
  const auto drive = std::find_if(drives.begin(), drives.end(),
                                  [&](const CatalogDrive& each) { return each.root == root; });
  return drive == drives.end() ? kDriveNone : drive->type;
}

std::vector<CatalogDrive> CatalogDrives(const std::vector<CatalogDrive>& machine,
                                        const CatalogTable& catalog) {
  // For each letter the records use: whether any record is not a labelled
  // disk's (a drive root in its Disk label).
  struct Use {
    bool used = false;
    bool drive_root_records = false;
  };
  std::array<Use, 26> uses{};
  catalog.Walk([&](int, const CatalogRecord& record) {
    const char letter = AsciiUpper(record.path.empty() ? '\0' : record.path[0]);
    if (letter < 'A' || letter > 'Z' || record.path.substr(1, 2) != ":\\") return;
    Use& use = uses[static_cast<std::size_t>(letter - 'A')];
    use.used = true;
    use.drive_root_records = use.drive_root_records || IsDriveRootLabel(record.disk_label);
  });
  std::vector<CatalogDrive> drives;
  for (const CatalogDrive& drive : machine) {
    if (IsShownDriveType(drive.type)) drives.push_back(drive);
  }
  for (std::size_t i = 0; i < uses.size(); ++i) {
    const std::string root = std::string(1, static_cast<char>('A' + i)) + ":\\";
    if (!uses[i].used || TypeOfRoot(root, drives) != kDriveNone) continue;
    drives.push_back({root, uses[i].drive_root_records ? kDriveFixed : kDriveCdRom, false});
  }
  std::sort(drives.begin(), drives.end(),
            [](const CatalogDrive& a, const CatalogDrive& b) { return a.root < b.root; });
  return drives;
}

}  // namespace tallymere
