// Data File Info and Properties: facts about the catalog and the selected file.

#include "windows/main/frm_main.h"

namespace tallymere {

void FrmMain::mnuInfo_Click() {
  if (show_data_info) show_data_info();
}

void FrmMain::mnuProperty_Click() {
  const int row = m_LV.FirstSelected();
  if (row < 0) return;
  const std::string full = m_LV.Cell(row, kColPath) + m_LV.Cell(row, kColFileName);
  if (!Started(m_ui.ShowProperties(full))) {
    m_ui.ShowMessage("Error, please make sure file exists on path selected.", Buttons::kOk,
                     Icon::kStop, kProgramTitle);
  }
}

}  // namespace tallymere
