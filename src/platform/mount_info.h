#pragma once
// The kernel's mount table (/proc/self/mountinfo) as plain data, and how the
// drive map classifies each kind of file system.
//
// A mountinfo line reads
//   36 35 98:0 /mnt1 /mnt/parent rw,noatime master:1 - ext3 /dev/root rw
//   id parent dev root mount-point options optional-fields - type source super-options
// where the optional fields are ended by a lone "-", and spaces, tabs, newlines
// and backslashes inside paths are written as octal escapes ("\040").

#include <string>
#include <string_view>
#include <vector>

namespace tallymere {

struct MountEntry {
  std::string mount_point;  // decoded native path
  std::string fs_type;      // "ext4", "vfat", "fuse.sshfs", ...
  std::string source;       // "/dev/sdb1", "server:/export", "tmpfs", ...
};

// The mounts of a mountinfo text in the order of the text. When a mount point
// appears more than once, only its last entry is kept (it hides the earlier
// ones), at the place of that last entry. Malformed lines are skipped.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// "\040" style escapes (three octal digits) to their bytes; anything else is
// kept as it is.
std::string DecodeOctalEscapes(std::string_view text);
// The reverse for space, tab, newline and backslash, so a path fits on one
// whitespace-separated line.
std::string EncodeOctalEscapes(std::string_view text);

// Kernel and virtual file systems that hold no user files: proc, sysfs,
// tmpfs, overlay, snap squashfs images, the desktop's gvfs bridge and the like.
bool IsPseudoFileSystem(std::string_view fs_type);
// Network file systems (nfs, cifs, sshfs and the like).
bool IsRemoteFileSystem(std::string_view fs_type);
// Disc file systems (iso9660, udf).
bool IsDiscFileSystem(std::string_view fs_type);

}  // namespace tallymere
