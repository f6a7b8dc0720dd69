#pragma once
// Moving files to the desktop trash in the shared freedesktop layout, so every
// file manager lists them and can put them back.
//
// A trash folder holds two folders:
//   files/NAME            the trashed file or folder itself
//   info/NAME.trashinfo   "[Trash Info]\nPath=...\nDeletionDate=...\n"
// Files on the home device go to the home trash ($XDG_DATA_HOME/Trash, by
// default ~/.local/share/Trash) and their Path= is absolute. Files on another
// device go to that device's own trash below its top folder ($topdir/.Trash/$uid
// when $topdir/.Trash is a real sticky folder, else $topdir/.Trash-$uid) and
// their Path= is relative to the top folder, so the entry stays right when the
// disk is mounted elsewhere. Path= is percent-encoded like a URL path.
//
// Every step stops at its first error and leaves nothing half done: the info
// file is claimed with O_EXCL before the file moves, and removed again when the
// move fails.

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/status.h"

namespace tallymere {

// The device an existing path lies on (stat's st_dev), nothing when it cannot
// be read. Injectable, so tests can lay a second disk out inside one folder.
using DeviceOf = std::function<std::optional<uint64_t>(const std::string& path)>;
std::optional<uint64_t> DeviceOfPath(const std::string& path);

// Moves one file or folder (a symbolic link is moved as the link) to the trash
// it belongs in. A failure with the code kUnsupported means the file cannot go
// to any trash: it lives on another device whose trash cannot be used or made.
// Deleting it permanently is the only way left, which the caller may offer.
// Any other failure (missing file, permission denied, a damaged trash, a
// read-only disk) says what happened.
Status MoveToTrash(const std::string& native_path, const DeviceOf& device_of = DeviceOfPath);

// Deletes a file, or a folder with everything in it, for good.
Status DeleteTree(const std::string& native_path);

// --- The steps, exposed for tests ----------------------------------------------

struct TrashLocation {
  std::string folder;  // holds files/ and info/
  std::string topdir;  // empty for the home trash; else the top folder of the mount
};

// $XDG_DATA_HOME/Trash, or $HOME/.local/share/Trash when XDG_DATA_HOME is unset,
// empty or relative. Nothing is created. Fails when no home folder is known.
Result<std::string> HomeTrashFolder();

// The top folder of the mount that holds an existing absolute folder: the last
// folder on the way up that is still on the folder's device.
Result<std::string> MountTopFolder(const std::string& absolute_folder,
                                   const DeviceOf& device_of = DeviceOfPath);

// Finds or makes the trash of the mount whose top folder is topdir for the
// user uid, as described above (folders made 0700). A failure is kUnsupported.
Result<std::string> MountTrashFolder(const std::string& topdir, unsigned uid);

// Percent-encodes bytes for Path=: letters, digits, "-._~" and "/" stay, every
// other byte becomes %XX (upper-case hex), so spaces, "%" and UTF-8 bytes are
// all escaped.
std::string EncodeTrashPath(std::string_view path);

// The whole info file for an already encoded path; DeletionDate is local time
// as YYYY-MM-DDThh:mm:ss.
std::string TrashInfoText(std::string_view encoded_path, std::time_t deleted);

// Moves an absolute path into the given trash (making it, its files/ and its
// info/ when missing), naming it NAME, NAME.2, NAME.3 ... after the first free
// info name.
Status MoveToTrashAt(const std::string& absolute_path, const TrashLocation& trash,
                     std::time_t deleted);

}  // namespace tallymere
