#include "windows/dialog_start.h"

namespace tallymere {
namespace {

// "/home/me/music.mpd" -> "/home/me"; "/x.mpd" -> "/"; a bare name -> "".
std::string FolderOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return "";
  return slash == 0 ? "/" : std::string(path.substr(0, slash));
}

}  // namespace

std::string DialogStart::Folder() const {
  if (m_session == nullptr) return m_last_folder;
  // An unsaved catalog is named after the program folder, which says nothing
  // of where the user keeps files.
  const std::string& data_file = m_session->data_file_path();
  if (data_file != kUntitledDataFile && data_file != m_session->UntitledPath()) {
    if (std::string folder = FolderOf(data_file); !folder.empty()) return folder;
  }
  if (!m_last_folder.empty()) return m_last_folder;
  return m_session->platform().HomeFolder();
}

std::string DialogStart::InitialName(std::string_view initial_name) const {
  if (initial_name.find('/') != std::string_view::npos) return std::string(initial_name);
  const std::string folder = Folder();
  if (folder.empty()) return std::string(initial_name);
  return (folder == "/" ? folder : folder + "/") + std::string(initial_name);
}

void DialogStart::ChoseFile(std::string_view native_file) {
  if (std::string folder = FolderOf(native_file); !folder.empty())
    m_last_folder = std::move(folder);
}

void DialogStart::ChoseFolder(std::string_view native_folder) {
  if (native_folder.starts_with('/')) m_last_folder = std::string(native_folder);
}

void DialogStart::ChoseCatalogFolder(std::string_view catalog_folder) {
  if (m_session == nullptr || catalog_folder.empty()) return;
  ChoseFolder(m_session->platform().NativeOf(catalog_folder));
}

}  // namespace tallymere
