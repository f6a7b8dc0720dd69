#pragma once
// A Platform for the tag-writer tests: drive C: is one native folder, and the
// attribute reset can be told to refuse, as a locked file or a read-only
// medium would.

#include <string>

#include "ui/services.h"

namespace tallymere::testing {

class FolderPlatform : public Platform {
 public:
  explicit FolderPlatform(std::string c_folder) : m_c_folder(std::move(c_folder)) {}

  void set_refuse_reset(bool refuse) { m_refuse_reset = refuse; }
  int reset_count() const { return m_reset_count; }

  std::vector<DriveInfo> Drives() const override;
  int DriveType(std::string_view drive_root) const override;
  std::string VolumeLabel(std::string_view drive_root) const override;
  std::optional<std::string> ToNative(std::string_view catalog_path) const override;
  std::optional<std::string> ToCatalog(std::string_view native_path) const override;
  Result<FolderListing> ListFolder(std::string_view folder, bool with_file_facts) const override;
  bool FileExists(std::string_view path) const override;
  bool FolderExists(std::string_view path) const override;
  Result<int64_t> FileLength(std::string_view path) const override;
  Result<std::string> ModifiedText(std::string_view path) const override;
  Result<bool> IsReadOnly(std::string_view path) const override;
  Status ResetAttributes(std::string_view path) const override;
  Status RenameFile(std::string_view from, std::string_view to) const override;
  Status DeleteFile(std::string_view path) const override;
  Status CreateFolder(std::string_view path) const override;
  std::string ProgramFolder() const override { return m_c_folder; }
  std::time_t Now() const override { return 0; }
  void CdDoor(std::string_view) const override {}

 private:
  std::string m_c_folder;
  bool m_refuse_reset = false;
  mutable int m_reset_count = 0;
};

}  // namespace tallymere::testing
