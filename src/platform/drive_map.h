#pragma once
// The drive map: which letter stands for which native folder, and which
// folders a listing must never return.
//
// Automatic map: C: is the root file system. Optical drives get letters with
// or without a disc. Every real file system mounted under /media/,
// /run/media/ or /mnt/ gets a letter; everything else mounted elsewhere is
// part of C:. Letters are stable across runs (drive_letters.h), and a
// removable or CD-ROM drive seen on an earlier run that is not mounted now
// stays in the map without a disk: its last type, no folder.
//
// Override map: Data/drives.dat (drives_file.h) replaces the automatic map.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/drive_letters.h"
#include "platform/drives_file.h"
#include "platform/machine_probe.h"
#include "platform/mount_info.h"
#include "ports/platform.h"

namespace tallymere {

struct MappedDrive {
  DriveInfo info;      // native_folder is empty for a drive without a disk in it
  std::string device;  // the optical drive's device ("/dev/sr0"), else empty
};

struct DriveMap {
  std::vector<MappedDrive> drives;           // in letter order
  std::vector<std::string> ignored_folders;  // "ignore" lines of drives.dat
  // Folders a listing never returns, by parent folder: other drives' mount
  // points, pseudo file systems, ignored folders and the kernel's areas.
  std::unordered_map<std::string, std::vector<std::string>> fenced_children;
};

DriveMap BuildOverrideDriveMap(const std::vector<DriveOverride>& overrides,
                               const std::vector<MountEntry>& mounts);

// Reads the machine through the probe; remembered letters are used and
// extended, with the type of each drive seen now (*letters_changed tells
// whether they need saving).
DriveMap BuildAutomaticDriveMap(const std::vector<MountEntry>& mounts, const MachineProbe& probe,
                                RememberedLetters* remembered, bool* letters_changed);

// The drive of a letter (either case), or nullptr.
const MappedDrive* FindDrive(const DriveMap& map, char letter);

// /proc, /sys, /dev and /run and everything below them, except /run/media
// where desktops mount removable disks.
bool IsKernelArea(std::string_view native_folder);

}  // namespace tallymere
