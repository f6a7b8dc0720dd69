#pragma once
// The Platform on Linux: the drive map over the mount table (or over
// Data/drives.dat in the program folder), the file system in catalog paths,
// the program folder, the clock and the CD tray.
//
// The drive map is read at the first question about drives and kept; it is
// read again by Refresh() and by itself whenever the kernel reports a change
// of the mount table, so a stick plugged in while the program runs gets its
// letter. Like the rest of the core, an instance is used from one thread.
//
// Drive types of texts: a drive root ("E:\" or "E:") reports its drive's
// type; a longer text reports the type of its drive too, except that a text
// below a removable or CD-ROM drive reports kDriveNone, because the tree takes
// "E:\MyDisk\" to be a disk label, not a drive. Unknown drives report kDriveNone.

#include <ctime>
#include <functional>
#include <memory>
#include <string>

#include "platform/catalog_path.h"
#include "platform/drive_map.h"
#include "platform/machine_probe.h"
#include "ports/platform.h"

namespace tallymere {

inline constexpr std::string_view kDrivesFileName = "Data/drives.dat";
inline constexpr std::string_view kDriveLettersFileName = "Data/drive_letters.dat";

class LinuxPlatform : public Platform {
 public:
  using Clock = std::function<std::time_t()>;

  // program_folder is native, without trailing "/". Without a clock, Now()
  // is the system time.
  explicit LinuxPlatform(std::string program_folder, Clock clock = {});
  // For tests that describe a machine instead of reading this one.
  LinuxPlatform(std::string program_folder, Clock clock, std::unique_ptr<MachineProbe> probe);
  ~LinuxPlatform() override;

  // The program folder for this installation (program_folder.h).
  static std::string FindProgramFolder();

  // Reads the mount table, drives.dat and the remembered letters again.
  void Refresh();
  // For this run, the drive `letter` (made a removable one when the map has
  // none of that letter) holds the disk mounted at native_folder: a stick
  // mounted where no drive points.
  void MountDriveAt(char letter, std::string native_folder);
  // Keeps the user's settings in another folder (tests do).
  void SetConfigFolder(std::string native_folder) { m_config_folder = std::move(native_folder); }

  std::vector<DriveInfo> Drives() const override;
  int DriveType(std::string_view drive_root) const override;
  std::vector<std::string> DriveMapProblems() const override;
  std::string VolumeLabel(std::string_view drive_root) const override;
  std::optional<std::string> ToNative(std::string_view catalog_path) const override;
  std::optional<std::string> ToCatalog(std::string_view native_path) const override;

  Result<FolderListing> ListFolder(std::string_view folder, bool with_file_facts,
                                   bool with_hidden = false) const override;
  Result<FolderListing> ListNativeFolder(const std::string& native_folder) const override;
  std::unique_ptr<FolderFiles> OpenFolderFiles(std::string_view folder) const override;
  bool FileExists(std::string_view path) const override;
  bool FolderExists(std::string_view path) const override;
  Result<int64_t> FileLength(std::string_view path) const override;
  Result<std::string> ModifiedText(std::string_view path) const override;
  Result<bool> IsReadOnly(std::string_view path) const override;
  Status ResetAttributes(std::string_view path) const override;
  Status RenameFile(std::string_view from, std::string_view to) const override;
  Status ReplaceFile(std::string_view from, std::string_view to) const override;
  Status DeleteFile(std::string_view path) const override;
  Status CreateFolder(std::string_view path) const override;

  bool NativePathExists(const std::string& native_path) const override;
  Status CreateNativeFolders(const std::string& native_folder) const override;
  Status ReadFileInto(const std::string& native_path, std::size_t max_bytes,
                      std::string* bytes) const override;
  Status WriteFileAtomically(const std::string& native_path, std::string_view bytes) const override;
  std::optional<FileVersion> FileVersionAt(const std::string& native_path) const override;
  Result<std::unique_ptr<FileHold>> HoldFile(const std::string& native_path,
                                             const std::function<bool()>& on_busy) const override;
  Result<std::unique_ptr<RandomAccessFile>> OpenFile(const std::string& native_path,
                                                     OpenMode mode) const override;
  Status MoveToTrash(const std::string& native_path) const override;
  Status DeletePermanently(const std::string& native_path) const override;

  std::string ProgramFolder() const override;
  std::string ConfigFolder() const override { return m_config_folder; }
  std::string HomeFolder() const override;
  std::time_t Now() const override;
  void CdDoor(CdDoorMove move) const override;

 private:
  // The map, brought up to date first when the mount table changed.
  const DriveMap& Map() const;
  void BuildMap() const;
  void ApplyRunMounts() const;
  // ResolveCatalogPath, reaching names stored on disk in Windows-1252.
  std::optional<ResolvedPath> Resolve(const DriveMap& map, std::string_view catalog_path) const;
  void Rebuild() const;
  // The native path of a catalog path, or a message "<action> "<path>": <cause>".
  Result<std::string> Native(std::string_view action, std::string_view path) const;

  std::string m_program_folder;
  std::string m_config_folder;
  Clock m_clock;
  std::unique_ptr<MachineProbe> m_probe;
  mutable bool m_map_built = false;
  std::vector<std::pair<char, std::string>> m_run_mounts;  // MountDriveAt
  mutable DriveMap m_map;
  mutable std::vector<std::string> m_map_problems;
};

}  // namespace tallymere
