// The main window's commands that open MP3 Utilities: with the selected file
// of the file list (the window then works on the catalog's selection and
// writes tag changes back into it), or on its own.

#include "windows/main/frm_main.h"

namespace tallymere {

void FrmMain::mnuId3_Click() {
  const int row = m_LV.FirstSelected();
  if (row < 0) {
    m_ui.ShowMessage("No file is selected.", Buttons::kOk, Icon::kStop, kProgramTitle);
    return;
  }
  const std::string path = m_LV.Cell(row, kColPath) + m_LV.Cell(row, kColFileName);
  // A catalogued file that is gone from the disk is passed over in silence.
  if (!m_platform.FileExists(path)) return;
  const Result<int64_t> length = m_platform.FileLength(path);
  if (!length.ok()) {
    m_ui.ShowMessage(length.status().message(), Buttons::kOk, Icon::kStop, kProgramTitle);
    return;
  }
  if (*length == 0) {
    m_ui.ShowMessage("Bad file record.", Buttons::kOk, Icon::kStop, kProgramTitle);
    return;
  }
  m_sent_to_mp3_utilities = true;
  if (show_mp3_utilities) show_mp3_utilities();
}

void FrmMain::mnuId_Click() {
  if (show_mp3_utilities) show_mp3_utilities();
}

}  // namespace tallymere
