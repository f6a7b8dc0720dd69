#include "windows/main/scan_status.h"

#include "catalog/file_type.h"

namespace tallymere {

ScanStatus::ScanStatus(UiServices& ui, const ScanSettings& settings)
    : m_ui(ui), m_all_files(settings.file_type == kAllFiles) {}

void ScanStatus::FolderFound(std::string_view folder) {
  m_text.assign("Scanning folder ... ").append(folder);
  m_ui.SetStatus(kStatusPanel, m_text);
}

void ScanStatus::FileFound(std::string_view folder, std::string_view name) {
  if (m_all_files) return;
  m_text.assign("File found ... ").append(folder).append(name);
  m_ui.SetStatus(kStatusPanel, m_text);
}

void ScanStatus::FileFailed(std::string_view path, const Status& why) {
  m_ui.ShowMessage(why.message() + ". while opening \"" + std::string(path) + "\"", Buttons::kOk,
                   Icon::kStop, kProgramTitle);
}

}  // namespace tallymere
