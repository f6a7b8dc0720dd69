#pragma once
// The drive override file Data/drives.dat. When present it replaces the
// automatic drive map, so tests and unusual set-ups decide every letter:
//
//   C: fixed /
//   E: removable /media/me/STICK Holiday Photos
//   X: ignore /srv/backup
//
// One drive per line: letter and colon, type, native folder (spaces written as
// "\040"), then an optional label that runs to the end of the line. Types are
// removable, fixed, remote, cdrom, ramdisk and ignore; an ignored folder gets no
// letter and is never entered by a listing. A drive without a label here has
// none: the file describes the drive completely. Blank lines and lines starting
// with "#" are passed over; a malformed line is left out and reported, never
// dropped in silence; a later line for a letter replaces an earlier one.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallymere {

struct DriveOverride {
  char letter = 'C';          // upper case
  int type = 0;               // kDriveRemovable ... kDriveRamDisk; unused when ignored
  bool ignored = false;       // "ignore": the folder is fenced off, no drive
  std::string native_folder;  // absolute, no trailing "/" (except "/" itself)
  std::string label;          // UTF-8, may hold spaces, may be empty
};

// The entries of a drives.dat text in letter order. Each line that is not
// understood adds a note to *problems (may be null) with its line number:
// "line 3 is not understood: "C: fixd /"".
std::vector<DriveOverride> ParseDrivesFile(std::string_view text,
                                           std::vector<std::string>* problems = nullptr);

// "removable" -> kDriveRemovable ... "ramdisk" -> kDriveRamDisk, case-insensitive.
// "ignore" and unknown words give nothing.
std::optional<int> DriveTypeFromName(std::string_view name);
// The word for a drive type, as drives.dat spells it; "none" for anything else.
std::string_view DriveTypeName(int type);

// A native folder without trailing "/" ("/" stays "/").
std::string TrimTrailingSlashes(std::string_view folder);

}  // namespace tallymere
