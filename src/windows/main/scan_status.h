#pragma once
// How the main window follows a scan: the folder or file at hand in the
// status bar's first panel, a message box for each MP3 file whose information
// could not be read, and the window kept painting between entries.

#include <string>
#include <string_view>

#include "ports/ui_services.h"
#include "scan/scan_request.h"

namespace tallymere {

class ScanStatus : public ScanObserver {
 public:
  // A scan of all files names no single file: there are too many.
  ScanStatus(UiServices& ui, const ScanSettings& settings);

  void FolderFound(std::string_view folder) override;
  void FileFound(std::string_view folder, std::string_view name) override;
  void FileFailed(std::string_view path, const Status& why) override;
  void Yield() override { m_ui.YieldToUi(); }

 private:
  UiServices& m_ui;
  bool m_all_files;
  std::string m_text;  // reused, so a status costs no allocation per file
};

}  // namespace tallymere
