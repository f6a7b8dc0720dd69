#pragma once
// The machine as the core sees it: the drive map, the file system in catalog
// paths ("C:\Music\"), the program folder, the clock and the CD tray. The
// desktop program and the command-line tool use the Linux layer; tests use it
// over a temporary program folder, or wrap it to make chosen calls fail.

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/status.h"

namespace tallymere {

// Drive types as the drive-type query reports them.
inline constexpr int kDriveNone = 1;
inline constexpr int kDriveRemovable = 2;
inline constexpr int kDriveFixed = 3;
inline constexpr int kDriveRemote = 4;
inline constexpr int kDriveCdRom = 5;
inline constexpr int kDriveRamDisk = 6;

struct FolderEntry {
  std::string name;  // as on disk, without folder
  bool is_folder = false;
  // Filled only when the listing asks for file facts.
  bool read_only = false;
  int64_t size = 0;
  std::time_t modified = 0;
};

struct FolderListing {
  std::vector<FolderEntry> entries;  // in the order the file system returns them
  // Names holding "\" cannot be written into a catalog path; they are left out
  // and counted here.
  int skipped_names = 0;
};

struct DriveInfo {
  char letter = 'C';
  int type = kDriveNone;
  std::string native_folder;  // where the drive's root is mounted
  std::string label;          // volume label, may be empty
  // A removable drive that reads floppy disks, which the tree draws as one;
  // every other removable drive (a USB stick, a card reader) is drawn as such.
  bool floppy = false;
};

// A file opened for reads and writes at byte positions (an MP3 file's tag).
// It is closed by its destructor; Close() reports a late write failure.
class RandomAccessFile {
 public:
  virtual ~RandomAccessFile() = default;
  virtual Result<int64_t> Length() const = 0;
  // Up to size bytes from offset; fewer only at the end of the file.
  virtual Status ReadAt(int64_t offset, std::size_t size, std::string* bytes) const = 0;
  virtual Status WriteAt(int64_t offset, std::string_view bytes) = 0;
  virtual Status Close() = 0;
};

enum class OpenMode { kRead, kReadWrite };  // neither creates nor truncates

// The files of one folder, held open while many of them are read: each file
// then costs the system one name to look up instead of a whole path, which
// counts when a scan reads every file of its type. Unlike the Platform that
// opened it, it may be used from several threads at once, so a scan reads
// several files of one folder at a time.
class FolderFiles {
 public:
  virtual ~FolderFiles() = default;
  // Size, modified time and read-only flag of the regular file `name`, as a
  // listing with file facts gives them; false when no regular file of that
  // name can be reached now (gone, a link, no permission).
  virtual bool ReadFacts(const std::string& name, FolderEntry* facts) const = 0;
  // Opens the regular file `name` for reading and fills its facts as
  // ReadFacts does. A failure's message is the cause alone ("Permission
  // denied"), as OpenFile gives it.
  virtual Result<std::unique_ptr<RandomAccessFile>> Open(const std::string& name,
                                                         FolderEntry* facts) const = 0;
};

// Which file a path names and as it was written: a save that replaces it
// gives the path another file (device and inode), any other write a new size
// or modified time (to the nanosecond). Two looks that find the same version
// saw the same file.
struct FileVersion {
  uint64_t device = 0;
  uint64_t inode = 0;
  int64_t size = 0;
  int64_t modified_ns = 0;
  bool operator==(const FileVersion&) const = default;
};

// A data file held by this program for a read-change-write; the hold ends
// when it is destroyed.
class FileHold {
 public:
  virtual ~FileHold() = default;
};

// Which way the CD tray moves.
enum class CdDoorMove { kOpen, kClose };

// The most a whole-file read takes of each kind of file: no real one comes
// close, and a larger one is refused instead of filling the memory.
inline constexpr std::size_t kSmallTextFileLimit = std::size_t{1} << 20;  // settings, drives, texts
inline constexpr std::size_t kPlaylistLimit = std::size_t{64} << 20;
// A catalog of the most records it may hold is not larger.
inline constexpr std::size_t kDataFileLimit = std::size_t{2} << 30;

// A letter a drive can have, in either case.
inline bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A catalog path begins with a drive letter, ":" and "\" ("C:\Music\");
// a native one with "/".
inline bool IsCatalogPath(std::string_view path) {
  return path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\';
}

class Platform {
 public:
  virtual ~Platform() = default;

  // A path as the file system takes it: a catalog path mapped through the
  // drive map; a native path, or a catalog path no drive maps, as it is.
  std::string NativeOf(std::string_view path) const {
    if (IsCatalogPath(path)) {
      if (std::optional<std::string> native = ToNative(path)) return *native;
    }
    return std::string(path);
  }

  // --- Drive map -----------------------------------------------------------
  // Every mapped drive in letter order.
  virtual std::vector<DriveInfo> Drives() const = 0;
  // kDriveRemovable ... kDriveRamDisk, or 0/kDriveNone for no such drive.
  // A longer text ("C:\Music\") reports the type of its drive, except below a
  // removable or CD-ROM drive, where it reports kDriveNone: the tree takes
  // "E:\MyCD\" to be a disk's label, never a drive.
  virtual int DriveType(std::string_view drive_root) const = 0;
  // What of the drive map's own files could not be used (a line of
  // Data/drives.dat that is not understood, a drives.dat that cannot be
  // read), one sentence each naming the file; empty when all was well.
  virtual std::vector<std::string> DriveMapProblems() const = 0;
  // The volume label of a drive, empty when it has none.
  virtual std::string VolumeLabel(std::string_view drive_root) const = 0;
  // "C:\Music\a.mp3" to "/Music/a.mp3" and back; nothing when no drive maps it.
  virtual std::optional<std::string> ToNative(std::string_view catalog_path) const = 0;
  virtual std::optional<std::string> ToCatalog(std::string_view native_path) const = 0;

  // --- File system, in catalog paths ----------------------------------------
  // The visible entries of a folder: hidden (dot) names (unless with_hidden),
  // symbolic links, devices, fifos, sockets, pseudo file systems and other
  // drives' mount points are never returned. Fails when the folder cannot be
  // listed (drive not ready, path missing, no permission).
  virtual Result<FolderListing> ListFolder(std::string_view folder, bool with_file_facts,
                                           bool with_hidden = false) const = 0;
  // The files and folders of a native folder (the shelf of data files, which
  // need not lie on any drive of the map); hidden names are left out. A
  // failure names the folder.
  virtual Result<FolderListing> ListNativeFolder(const std::string& native_folder) const = 0;
  // The files of a folder held open for reading; nullptr when no drive maps
  // it or it cannot be opened.
  virtual std::unique_ptr<FolderFiles> OpenFolderFiles(std::string_view folder) const = 0;
  virtual bool FileExists(std::string_view path) const = 0;
  virtual bool FolderExists(std::string_view path) const = 0;
  // The length in bytes, 64-bit.
  virtual Result<int64_t> FileLength(std::string_view path) const = 0;
  // The last-modified time as the Modified text.
  virtual Result<std::string> ModifiedText(std::string_view path) const = 0;
  // Read-only means the owner may not write; resetting gives the owner write
  // permission.
  virtual Result<bool> IsReadOnly(std::string_view path) const = 0;
  virtual Status ResetAttributes(std::string_view path) const = 0;
  virtual Status RenameFile(std::string_view from, std::string_view to) const = 0;
  // Renames onto an existing file, replacing it in one step: should the
  // rename fail, the other file is still there.
  virtual Status ReplaceFile(std::string_view from, std::string_view to) const = 0;
  virtual Status DeleteFile(std::string_view path) const = 0;
  virtual Status CreateFolder(std::string_view path) const = 0;

  // --- Whole files, open files and the trash, by native path -----------------
  // Whether anything (a file, a folder, a dangling link) has this name.
  virtual bool NativePathExists(const std::string& native_path) const = 0;
  // Creates the folder and any missing folder above it.
  virtual Status CreateNativeFolders(const std::string& native_folder) const = 0;
  // The data file, the settings, lists, playlists, logs and tags go through
  // these, so a test can make any of them fail.
  // A regular file of at most max_bytes; anything else (a pipe, a device, a
  // folder) is refused without waiting, as is a file that changed while it
  // was read.
  Result<std::string> ReadFile(const std::string& native_path, std::size_t max_bytes) const {
    std::string bytes;
    if (Status read = ReadFileInto(native_path, max_bytes, &bytes); !read) return read;
    return bytes;
  }
  // The same into *bytes, reusing its room: a search that reads hundreds of
  // data files one after another takes its memory once. Unlike the rest of
  // the platform, it may be called from several threads at once. *bytes is
  // unspecified after a failure.
  virtual Status ReadFileInto(const std::string& native_path, std::size_t max_bytes,
                              std::string* bytes) const = 0;
  // Replaces the file in one step: a failure leaves the old file as it was. A
  // target that is no regular file is refused.
  virtual Status WriteFileAtomically(const std::string& native_path,
                                     std::string_view bytes) const = 0;
  // The regular file at the path now; nothing when there is none.
  virtual std::optional<FileVersion> FileVersionAt(const std::string& native_path) const = 0;
  // Holds a data file against every other program that holds it this way (an
  // advisory lock) until the hold is destroyed. A command that reads a data
  // file, changes the catalog and writes it back holds it from before the
  // read until after the write, so no other program's change can come in
  // between and be lost. While another program holds the file, on_busy is
  // called once: true waits until that hold ends, false gives up with a
  // kNoAccess status that names the file. A file that is missing or cannot be
  // locked (a pipe, a file system without locks) gives a hold of nothing: its
  // read or write reports its own problem.
  virtual Result<std::unique_ptr<FileHold>> HoldFile(
      const std::string& native_path, const std::function<bool()>& on_busy) const = 0;
  // A failure's message is the cause alone ("File not found"); the caller
  // names the file in the words of its command.
  virtual Result<std::unique_ptr<RandomAccessFile>> OpenFile(const std::string& native_path,
                                                             OpenMode mode) const = 0;
  // Moves a file or folder to the desktop's trash. kUnsupported: it cannot go
  // to any trash (a disk without a usable one), so only deleting is left.
  virtual Status MoveToTrash(const std::string& native_path) const = 0;
  // Deletes a file, or a folder with everything in it, for good.
  virtual Status DeletePermanently(const std::string& native_path) const = 0;

  // --- Program and settings folders, clock and CD tray ------------------------
  // Native folder holding Data/lists.dat, Header.txt and the like, no trailing "/".
  virtual std::string ProgramFolder() const = 0;
  // Native folder of the user's own settings (~/.config/tallymere), no
  // trailing "/"; it may not exist yet.
  virtual std::string ConfigFolder() const = 0;
  // The user's home folder ($HOME), where dialogs start when nothing else
  // says where; empty when it is not known.
  virtual std::string HomeFolder() const = 0;
  virtual std::time_t Now() const = 0;
  // Moves the tray of the CD-ROM drive; a drive without a tray, or one that
  // is busy, simply does not move.
  virtual void CdDoor(CdDoorMove move) const = 0;
};

}  // namespace tallymere
