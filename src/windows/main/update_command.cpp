// Update: the fixed drives scanned afresh, the removable disks kept.

#include "catalog/file_type.h"
#include "common/format.h"
#include "scan/update.h"
#include "windows/main/frm_main.h"
#include "windows/main/scan_status.h"

namespace tallymere {

void FrmMain::mnuUpdate_Click() {
  if (m_settings.txtType != kMp3Type) m_settings.chkBitRate = 0;
  m_LV.SetWidth(kColPath, 0);
  m_LV.Clear();

  BusyScope busy_pointer(m_ui);
  m_lstBox.clear();
  const UpdatePlan plan = PlanUpdate(m_platform);
  ShowEmptyCatalogTree();
  m_ui.YieldToUi();

  const ScanSettings settings = CurrentScanSettings();
  Result<UpdateResult> updated = [&] {
    AnimationScope animation(m_ui, AnimationKind::kFindComputer);
    ScanStatus status(m_ui, settings);
    return UpdateHardDrives(m_platform, plan, m_catalog, settings, FormatDateTime(m_platform.Now()),
                            &status);
  }();
  if (!updated) {
    // The catalog stays as it was; so does the tree that shows it.
    RebuildTree();
    ShowTotals(" Ready", " MB");
    m_ui.ShowMessage(updated.status().message(), Buttons::kOk, Icon::kStop, kProgramTitle);
    return;
  }
  m_catalog = std::move(updated->table);
  RebuildTree();
  ShowTotals("Data updated on " + FormatDateTime(m_platform.Now()), " MB.");
  ReportSkippedFolders(updated->report);
  m_changed = true;
}

}  // namespace tallymere
