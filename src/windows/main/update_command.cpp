// Update: the fixed drives scanned afresh, the removable disks kept.

#include "common/format.h"
#include "windows/main/frm_main.h"
#include "windows/main/scan_status.h"

namespace tallymere {

void FrmMain::mnuUpdate_Click() {
  m_session.KeepInfoForMusicOnly();
  m_LV.SetWidth(kColPath, 0);
  m_LV.Clear();

  BusyScope busy_pointer(m_ui);
  m_lstBox.clear();
  ShowEmptyCatalogTree();
  m_ui.YieldToUi();

  Result<UpdateSummary> updated = [&] {
    AnimationScope animation(m_ui, AnimationKind::kFindComputer);
    ScanStatus status(m_ui, m_session.CurrentScanSettings());
    return m_session.Update(&status);
  }();
  if (!updated) {
    // The catalog stays as it was; so does the tree that shows it.
    RebuildTree();
    ShowTotals(" Ready", " MB");
    m_ui.ShowMessage(updated.status().message(), Buttons::kOk, Icon::kStop, kProgramTitle);
    return;
  }
  RebuildTree();
  ShowTotals(WithLeftOut("Data updated on " + FormatDateTime(m_platform.Now()), updated->report),
             " MB.");
  ReportSkippedFolders(updated->report);
}

}  // namespace tallymere
