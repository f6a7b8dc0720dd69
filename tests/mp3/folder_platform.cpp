#include "mp3/folder_platform.h"

#include <filesystem>

namespace tallymere::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDriveRoot = "C:\\";

Status Unsupported(std::string_view what) {
  return Status::Error(std::string(what) + " is not part of the tag-writer tests");
}

}  // namespace

std::vector<DriveInfo> FolderPlatform::Drives() const {
  return {DriveInfo{'C', kDriveFixed, m_c_folder, ""}};
}

int FolderPlatform::DriveType(std::string_view drive_root) const {
  return ToNative(drive_root) ? kDriveFixed : kDriveNone;
}

std::string FolderPlatform::VolumeLabel(std::string_view) const { return ""; }

std::optional<std::string> FolderPlatform::ToNative(std::string_view catalog_path) const {
  if (catalog_path.substr(0, kDriveRoot.size()) != kDriveRoot) return std::nullopt;
  std::string native = m_c_folder + "/";
  for (char c : catalog_path.substr(kDriveRoot.size())) native += c == '\\' ? '/' : c;
  return native;
}

std::optional<std::string> FolderPlatform::ToCatalog(std::string_view native_path) const {
  if (native_path.substr(0, m_c_folder.size() + 1) != m_c_folder + "/") return std::nullopt;
  std::string catalog(kDriveRoot);
  for (char c : native_path.substr(m_c_folder.size() + 1)) catalog += c == '/' ? '\\' : c;
  return catalog;
}

Result<FolderListing> FolderPlatform::ListFolder(std::string_view, bool) const {
  return Unsupported("Listing folders");
}

bool FolderPlatform::FileExists(std::string_view path) const {
  const auto native = ToNative(path);
  return native && fs::is_regular_file(*native);
}

bool FolderPlatform::FolderExists(std::string_view path) const {
  const auto native = ToNative(path);
  return native && fs::is_directory(*native);
}

Result<int64_t> FolderPlatform::FileLength(std::string_view path) const {
  std::error_code error;
  const auto native = ToNative(path);
  if (!native) return Status::Error("no drive for " + std::string(path));
  const auto size = fs::file_size(*native, error);
  if (error) return Status::Error(error.message());
  return static_cast<int64_t>(size);
}

Result<std::string> FolderPlatform::ModifiedText(std::string_view) const {
  return Unsupported("Modified texts");
}

Result<bool> FolderPlatform::IsReadOnly(std::string_view path) const {
  std::error_code error;
  const auto native = ToNative(path);
  if (!native) return Status::Error("no drive for " + std::string(path));
  const fs::file_status status = fs::status(*native, error);
  if (error) return Status::Error(error.message());
  return (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

Status FolderPlatform::ResetAttributes(std::string_view path) const {
  ++m_reset_count;
  if (m_refuse_reset) return Status::Error("Permission denied: \"" + std::string(path) + "\"");
  std::error_code error;
  const auto native = ToNative(path);
  if (!native) return Status::Error("no drive for " + std::string(path));
  fs::permissions(*native, fs::perms::owner_write, fs::perm_options::add, error);
  if (error) return Status::Error(error.message());
  return Status::Ok();
}

Status FolderPlatform::RenameFile(std::string_view, std::string_view) const {
  return Unsupported("Renaming");
}

Status FolderPlatform::DeleteFile(std::string_view) const { return Unsupported("Deleting"); }

Status FolderPlatform::CreateFolder(std::string_view) const {
  return Unsupported("Creating folders");
}

}  // namespace tallymere::testing
