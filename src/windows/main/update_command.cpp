// Update: the fixed drives scanned afresh, the removable disks kept.

#include "catalog/file_type.h"
#include "common/format.h"
#include "scan/update.h"
#include "windows/main/frm_main.h"

namespace tallymere {

void FrmMain::mnuUpdate_Click() {
  if (busy()) return;
  if (m_settings.txtType != kMp3Type) m_settings.chkBitRate = 0;
  m_LV.SetWidth(kColPath, 0);
  m_LV.Clear();

  BusyScope busy_pointer(m_ui);
  m_scan.lstBox.clear();
  m_scan.lstList.Clear();
  const UpdatePlan plan = PlanUpdate(m_platform);
  {
    TreeModel::BatchUpdate batch(m_tvAlbum);
    StartCatalogTree();
  }
  m_ui.YieldToUi();

  Result<UpdateResult> updated = [&]() -> Result<UpdateResult> {
    AnimationScope animation(m_ui, AnimationKind::kFindComputer);
    return UpdateHardDrives(m_platform, m_ui, m_scan, plan, m_catalog,
                            {m_settings.txtType, m_settings.chkBitRate},
                            FormatDateTime(m_platform.Now()));
  }();
  if (!updated) {
    // The catalog stays as it was; so does the tree that shows it.
    RebuildTree();
    ShowTotals(" Ready", " MB");
    m_ui.ShowMessage(updated.status().message(), Buttons::kOk, Icon::kStop, kProgramTitle);
    return;
  }
  m_catalog = std::move(updated->table);
  {
    TreeModel::BatchUpdate batch(m_tvAlbum);
    AddFolderKeys();
    ShowTotals("Data updated on " + FormatDateTime(m_platform.Now()), " MB.");
    RebuildTreeFromKeys();
    ExpandFirstDrive();
  }
  ReportSkippedFolders(updated->report);
  m_changed = true;
}

}  // namespace tallymere
