#pragma once
// A Platform that forwards every call to a real one, except the calls a test
// chooses to fail: the nth write of a file fails with "no space", a rename or
// delete is refused, a folder cannot be listed, a file cannot go to the trash.
// So every failure branch runs whoever runs the suite, root included.

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ports/platform.h"

namespace tallymere::testing {

// The calls a test can make fail. kWriteAt is a write into a file opened
// with OpenFile (a tag), kClose its closing.
enum class PlatformCall {
  kListFolder,
  kFileLength,
  kModifiedText,
  kResetAttributes,
  kRenameFile,
  kDeleteFile,
  kCreateFolder,
  kReadFile,
  kWriteFile,
  kOpenFile,
  kWriteAt,
  kClose,
  kMoveToTrash,
  kDeletePermanently,
};

class FaultyPlatform : public Platform {
 public:
  explicit FaultyPlatform(const Platform& real) : m_real(real) {}

  // The nth call of that kind from now on (1 the next one) whose path
  // contains path_part fails with code, the message naming the path and the
  // cause as the system would ("No space left on device"). nth 0 fails every
  // such call.
  void Fail(PlatformCall call, StatusCode code, int nth = 1, std::string path_part = "");
  // Calls of that kind made so far, failed ones included.
  int Calls(PlatformCall call) const;

  std::vector<DriveInfo> Drives() const override { return m_real.Drives(); }
  int DriveType(std::string_view drive_root) const override { return m_real.DriveType(drive_root); }
  std::vector<std::string> DriveMapProblems() const override { return m_real.DriveMapProblems(); }
  std::string VolumeLabel(std::string_view drive_root) const override {
    return m_real.VolumeLabel(drive_root);
  }
  std::optional<std::string> ToNative(std::string_view catalog_path) const override {
    return m_real.ToNative(catalog_path);
  }
  std::optional<std::string> ToCatalog(std::string_view native_path) const override {
    return m_real.ToCatalog(native_path);
  }
  Result<FolderListing> ListFolder(std::string_view folder, bool with_file_facts,
                                   bool with_hidden = false) const override;
  Result<FolderListing> ListNativeFolder(const std::string& native_folder) const override {
    if (Status planned = Check(PlatformCall::kListFolder, native_folder); !planned) return planned;
    return m_real.ListNativeFolder(native_folder);
  }
  std::unique_ptr<FolderFiles> OpenFolderFiles(std::string_view folder) const override {
    return m_real.OpenFolderFiles(folder);
  }
  bool FileExists(std::string_view path) const override { return m_real.FileExists(path); }
  bool FolderExists(std::string_view path) const override { return m_real.FolderExists(path); }
  Result<int64_t> FileLength(std::string_view path) const override;
  Result<std::string> ModifiedText(std::string_view path) const override;
  Result<bool> IsReadOnly(std::string_view path) const override { return m_real.IsReadOnly(path); }
  Status ResetAttributes(std::string_view path) const override;
  Status RenameFile(std::string_view from, std::string_view to) const override;
  // Counted and failed as a rename.
  Status ReplaceFile(std::string_view from, std::string_view to) const override;
  Status DeleteFile(std::string_view path) const override;
  Status CreateFolder(std::string_view path) const override;
  bool NativePathExists(const std::string& native_path) const override {
    return m_real.NativePathExists(native_path);
  }
  Status CreateNativeFolders(const std::string& native_folder) const override {
    return m_real.CreateNativeFolders(native_folder);
  }
  Status ReadFileInto(const std::string& native_path, std::size_t max_bytes,
                      std::string* bytes) const override;
  Status WriteFileAtomically(const std::string& native_path, std::string_view bytes) const override;
  std::optional<FileVersion> FileVersionAt(const std::string& native_path) const override {
    return m_real.FileVersionAt(native_path);
  }
  Result<std::unique_ptr<FileHold>> HoldFile(const std::string& native_path,
                                             const std::function<bool()>& on_busy) const override {
    return m_real.HoldFile(native_path, on_busy);
  }
  Result<std::unique_ptr<RandomAccessFile>> OpenFile(const std::string& native_path,
                                                     OpenMode mode) const override;
  Status MoveToTrash(const std::string& native_path) const override;
  Status DeletePermanently(const std::string& native_path) const override;
  std::string ProgramFolder() const override { return m_real.ProgramFolder(); }
  std::string ConfigFolder() const override { return m_real.ConfigFolder(); }
  std::string HomeFolder() const override { return m_real.HomeFolder(); }
  std::time_t Now() const override { return m_real.Now(); }
  void CdDoor(CdDoorMove move) const override {
    m_cd_door.push_back(move);
    m_real.CdDoor(move);
  }
  // The tray's moves so far.
  const std::vector<CdDoorMove>& cd_door_moves() const { return m_cd_door; }

  // Counts a call and returns the failure chosen for it, or Ok. Public for
  // the open files this platform hands out.
  Status Check(PlatformCall call, std::string_view path) const;

 private:
  struct Planned {
    StatusCode code;
    int nth;  // counted among the calls whose path matches; 0 for every one
    std::string path_part;
    int matched = 0;
  };

  const Platform& m_real;
  // A search reads data files on several threads at once.
  mutable std::mutex m_lock;
  mutable std::multimap<PlatformCall, Planned> m_planned;
  mutable std::map<PlatformCall, int> m_calls;
  mutable std::vector<CdDoorMove> m_cd_door;
};

}  // namespace tallymere::testing
