#include "platform/drive_map.h"

#include <algorithm>
#include <array>

#include "common/ascii_case.h"
#include "common/text_encoding.h"

namespace tallymere {
namespace {

constexpr std::array<std::string_view, 3> kRemovableMountAreas = {"/media/", "/run/media/",
                                                                  "/mnt/"};
constexpr std::array<std::string_view, 4> kKernelAreas = {"/proc", "/sys", "/dev", "/run"};
constexpr std::string_view kRunMedia = "/run/media";
constexpr std::string_view kOpticalDevicePrefix = "/dev/sr";

// True when path is folder or lies below it, comparing whole components.
bool IsWithin(std::string_view path, std::string_view folder) {
  if (folder == "/") return path.starts_with('/');
  return path.starts_with(folder) && (path.size() == folder.size() || path[folder.size()] == '/');
}

void Fence(DriveMap* map, std::string_view folder) {
  if (folder.empty() || folder == "/") return;
  const std::size_t slash = folder.rfind('/');
  if (slash == std::string_view::npos) return;
  const std::string parent = slash == 0 ? "/" : std::string(folder.substr(0, slash));
  std::vector<std::string>& names = map->fenced_children[parent];
  const std::string name(folder.substr(slash + 1));
  if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
}

void FenceCommon(DriveMap* map, const std::vector<MountEntry>& mounts) {
  for (std::string_view area : kKernelAreas) Fence(map, area);
  for (const MountEntry& mount : mounts) {
    if (IsPseudoFileSystem(mount.fs_type)) Fence(map, TrimTrailingSlashes(mount.mount_point));
  }
  for (const MappedDrive& drive : map->drives) Fence(map, drive.info.native_folder);
  for (const std::string& folder : map->ignored_folders) Fence(map, folder);
}

bool InRemovableMountArea(std::string_view mount_point) {
  return std::any_of(kRemovableMountAreas.begin(), kRemovableMountAreas.end(),
                     [&](std::string_view area) { return mount_point.starts_with(area); });
}

std::string FolderName(std::string_view folder) {
  const std::size_t slash = folder.rfind('/');
  return DecodeText(slash == std::string_view::npos ? folder : folder.substr(slash + 1));
}

struct Candidate {
  MappedDrive drive;
  std::string key;  // what identifies the drive from run to run
  std::string source;
  std::string fs_type;
};

// The label a user knows the disk by: the file system's own label, for a disc
// the volume identifier it carries, else the folder desktops name after it.
std::string LabelOf(const Candidate& candidate, const MachineProbe& probe) {
  if (candidate.drive.info.native_folder.empty()) return "";
  std::string label = probe.FileSystemLabel(candidate.source);
  if (label.empty() && candidate.drive.info.type == kDriveCdRom) {
    label = probe.IsoVolumeIdentifier(candidate.source);
  }
  if (label.empty()) label = FolderName(candidate.drive.info.native_folder);
  return label;
}

int TypeOfMount(const MountEntry& mount, const MachineProbe& probe) {
  if (IsDiscFileSystem(mount.fs_type) || mount.source.starts_with(kOpticalDevicePrefix)) {
    return kDriveCdRom;
  }
  if (IsRemoteFileSystem(mount.fs_type)) return kDriveRemote;
  return probe.IsRemovableDevice(mount.source) ? kDriveRemovable : kDriveFixed;
}

std::vector<Candidate> FindCandidates(const std::vector<MountEntry>& mounts,
                                      const MachineProbe& probe) {
  std::vector<Candidate> candidates;
  const std::vector<std::string> optical = probe.OpticalDevices();
  for (const std::string& device : optical) {
    Candidate candidate;
    candidate.key = candidate.source = candidate.drive.device = device;
    candidate.drive.info.type = kDriveCdRom;
    for (const MountEntry& mount : mounts) {
      if (mount.source != device) continue;
      candidate.drive.info.native_folder = TrimTrailingSlashes(mount.mount_point);
      candidate.fs_type = mount.fs_type;
    }
    candidates.push_back(std::move(candidate));
  }
  for (const MountEntry& mount : mounts) {
    if (!InRemovableMountArea(mount.mount_point) || IsPseudoFileSystem(mount.fs_type)) continue;
    if (std::find(optical.begin(), optical.end(), mount.source) != optical.end()) continue;
    Candidate candidate;
    candidate.drive.info.native_folder = TrimTrailingSlashes(mount.mount_point);
    candidate.key = candidate.drive.info.native_folder;
    candidate.drive.info.type = TypeOfMount(mount, probe);
    candidate.drive.info.floppy =
        candidate.drive.info.type == kDriveRemovable && probe.IsFloppyDevice(mount.source);
    candidate.source = mount.source;
    candidate.fs_type = mount.fs_type;
    candidates.push_back(std::move(candidate));
  }
  return candidates;
}

// A stick or disc that is out keeps its drive, as a drive letter stays while
// its drive is empty: the disks catalogued on it keep their place in the tree
// and Update keeps their records. A fixed or network drive that is gone is
// simply gone.
void AddDrivesWithoutDisk(const RememberedLetters& remembered,
                          const std::vector<std::string>& present_keys, DriveMap* map) {
  for (const RememberedLetter& r : remembered) {
    if (r.type != kDriveRemovable && r.type != kDriveCdRom) continue;
    if (std::find(present_keys.begin(), present_keys.end(), r.key) != present_keys.end()) continue;
    if (FindDrive(*map, r.letter) != nullptr) continue;  // a hand-edited file may repeat a letter
    MappedDrive drive;
    drive.info = {r.letter, r.type, "", "", false};
    map->drives.push_back(std::move(drive));
  }
}

void SortByLetter(DriveMap* map) {
  std::sort(map->drives.begin(), map->drives.end(), [](const MappedDrive& a, const MappedDrive& b) {
    return a.info.letter < b.info.letter;
  });
}

}  // namespace

bool IsKernelArea(std::string_view native_folder) {
  if (IsWithin(native_folder, kRunMedia)) return false;
  return std::any_of(kKernelAreas.begin(), kKernelAreas.end(),
                     [&](std::string_view area) { return IsWithin(native_folder, area); });
}

DriveMap BuildOverrideDriveMap(const std::vector<DriveOverride>& overrides,
                               const std::vector<MountEntry>& mounts) {
  DriveMap map;
  for (const DriveOverride& entry : overrides) {
    if (entry.ignored) {
      map.ignored_folders.push_back(entry.native_folder);
      continue;
    }
    MappedDrive drive;
    drive.info = {entry.letter, entry.type, entry.native_folder, entry.label, false};
    map.drives.push_back(std::move(drive));
  }
  SortByLetter(&map);
  FenceCommon(&map, mounts);
  return map;
}

DriveMap BuildAutomaticDriveMap(const std::vector<MountEntry>& mounts, const MachineProbe& probe,
                                RememberedLetters* remembered, bool* letters_changed) {
  DriveMap map;
  MappedDrive root;
  root.info = {'C', kDriveFixed, "/", "", false};
  for (const MountEntry& mount : mounts) {
    if (mount.mount_point == "/") root.info.label = probe.FileSystemLabel(mount.source);
  }
  map.drives.push_back(std::move(root));

  std::vector<Candidate> candidates = FindCandidates(mounts, probe);
  std::vector<std::string> keys;
  for (const Candidate& candidate : candidates) keys.push_back(candidate.key);
  const std::vector<char> letters = AssignDriveLetters(keys, remembered, letters_changed);
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    if (letters[i] == '\0') continue;  // more drives than letters
    candidates[i].drive.info.letter = letters[i];
    candidates[i].drive.info.label = LabelOf(candidates[i], probe);
    if (RememberDriveType(remembered, candidates[i].key, candidates[i].drive.info.type)) {
      *letters_changed = true;
    }
    map.drives.push_back(std::move(candidates[i].drive));
  }
  AddDrivesWithoutDisk(*remembered, keys, &map);
  SortByLetter(&map);
  FenceCommon(&map, mounts);
  return map;
}

const MappedDrive* FindDrive(const DriveMap& map, char letter) {
  letter = AsciiUpper(letter);
  for (const MappedDrive& drive : map.drives) {
    if (drive.info.letter == letter) return &drive;
  }
  return nullptr;
}

}  // namespace tallymere
