// Add a disk: scan one removable disk under a label of its own and put its
// files in front of the catalogued ones.

#include "common/ascii_case.h"
#include "common/format.h"
#include "scan/scan_disk.h"
#include "windows/main/frm_main.h"
#include "windows/main/scan_status.h"

namespace tallymere {

void FrmMain::mnuAddDisk_Click() {
  if (const std::optional<std::string> disk = AddDisk()) ShowAddedDisk(*disk);
}

std::optional<std::string> FrmMain::AddDisk() {
  m_session.KeepInfoForMusicOnly();
  m_LV.SetWidth(kColPath, 0);
  ExpandFirstDrive();
  const std::optional<std::string> entry = DiskToAdd();
  if (!entry) return std::nullopt;
  const std::optional<std::string> label = AskDiskLabel(*entry);
  if (!label) {
    m_lstBox.clear();
    return std::nullopt;
  }
  const bool added = ScanDiskUnderLabel(*entry, *label);
  m_lstBox.clear();
  if (!added) return std::nullopt;
  // The disk's files come first; their drive is written as the scan wrote it.
  return std::string(DriveRootOf(m_session.catalog().Record(1).path)) + *label + "\\";
}

void FrmMain::ShowAddedDisk(const std::string& disk_key) {
  const int node = m_tvAlbum.Find(disk_key);
  if (node == TreeModel::kNoNode) {
    // A disk without files has no node: nothing is selected, nothing listed.
    m_LV.Clear();
    EnableDiskCommands();
    return;
  }
  m_tvAlbum.Expand(m_tvAlbum.node(node).parent);
  m_tvAlbum.Select(node);
  ListNodeFiles(node);
  m_commands.Enable(MainCommand::kReport, true);
  EnableDiskCommands();
}

std::optional<std::string> FrmMain::DiskToAdd() {
  if (m_lstBox.empty()) cmdAdd_Click();
  if (m_lstBox.empty()) return std::nullopt;
  const std::string entry = m_lstBox.front();
  if (m_platform.DriveType(DriveRootOf(entry)) == kDriveFixed) {
    m_ui.ShowMessage("It's not a removable drive, can not be added.", Buttons::kOk, Icon::kStop,
                     kProgramTitle);
    m_lstBox.clear();
    return std::nullopt;
  }
  if (entry.empty()) return std::nullopt;
  if (!m_platform.ListFolder(entry, false)) {
    ShowDiskNotInDrive();
    return std::nullopt;
  }
  return entry;
}

void FrmMain::ShowDiskNotInDrive() {
  m_ui.ShowMessage("Bad file name. Please make sure disk is in the drive.", Buttons::kOk,
                   Icon::kStop, kProgramTitle);
  m_lstBox.clear();
}

std::optional<std::string> FrmMain::AskDiskLabel(const std::string& entry) {
  const std::string volume_label = m_platform.VolumeLabel(DriveRootOf(AsciiUpper(entry)));
  const std::string label =
      m_ui.AskText("Please enter a label for the disk.(For example: My_MP3_Album_[1], etc.)",
                   kProgramTitle, volume_label);
  const std::optional<std::string> problem = m_session.NewLabelProblem(label);
  if (!problem) return label;
  m_ui.ShowMessage(*problem, Buttons::kOk, Icon::kStop, kProgramTitle);
  return std::nullopt;
}

bool FrmMain::ScanDiskUnderLabel(const std::string& entry, const std::string& label) {
  BusyScope busy(m_ui);
  ClearStatusBar();
  m_ui.YieldToUi();
  Result<ScanReport> added = [&] {
    AnimationScope animation(m_ui, AnimationKind::kFindComputer);
    ScanStatus status(m_ui, m_session.CurrentScanSettings());
    return m_session.AddDisk(entry, label, &status);
  }();
  if (!added) {
    if (added.code() == StatusCode::kNoSpace) {
      m_ui.ShowMessage(added.status().message(), Buttons::kOk, Icon::kStop, kProgramTitle);
    } else {
      ShowDiskNotInDrive();
    }
    return false;
  }
  m_ui.SetStatus(kStatusPanel, " Loading files, please wait . . .");
  RebuildTree();
  ShowTotals(WithLeftOut("Data updated on " + FormatDateTime(m_platform.Now()), *added), " MB.");
  ReportSkippedFolders(*added);
  // After New the catalog commands were off; now there is a catalog to save,
  // list and search.
  EnableCatalogCommands(true);
  return true;
}

}  // namespace tallymere
