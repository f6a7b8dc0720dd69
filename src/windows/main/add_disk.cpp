// Add a disk: scan one removable disk under a label of its own and put its
// files in front of the catalogued ones.

#include "catalog/file_type.h"
#include "common/ascii_case.h"
#include "common/format.h"
#include "scan/scan_disk.h"
#include "windows/main/frm_main.h"
#include "windows/main/scan_status.h"

namespace tallymere {

void FrmMain::mnuAddDisk_Click() { AddDisk(); }

bool FrmMain::AddDisk() {
  if (m_settings.txtType != kMp3Type) m_settings.chkBitRate = 0;
  m_LV.SetWidth(kColPath, 0);
  ExpandFirstDrive();
  const std::optional<std::string> entry = DiskToAdd();
  if (!entry) return false;
  const std::optional<std::string> label = AskDiskLabel(*entry);
  if (!label) {
    m_lstBox.clear();
    return false;
  }
  const bool added = ScanDiskUnderLabel(*entry, *label);
  m_lstBox.clear();
  return added;
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
  std::optional<std::string> problem;
  if (label.empty()) problem = "Please enter a label and try again.";
  if (!problem) problem = DiskLabelProblem(label);
  if (!problem) {
    bool label_in_use = false;
    m_catalog.Walk([&](int, const CatalogRecord& record) {
      label_in_use = label_in_use || record.disk_label == label;
    });
    if (label_in_use) problem = "A disk with the same label exists. Try again.";
  }
  if (!problem) return label;
  m_ui.ShowMessage(*problem, Buttons::kOk, Icon::kStop, kProgramTitle);
  return std::nullopt;
}

bool FrmMain::ScanDiskUnderLabel(const std::string& entry, const std::string& label) {
  BusyScope busy(m_ui);
  ClearStatusBar();
  m_ui.YieldToUi();
  // The earlier records stay in the catalog until the disk's scan is complete
  // and known to fit beside them; a failure changes nothing.
  const int earlier = m_catalog.FileCount();
  const ScanRequest request{{entry}, CurrentScanSettings(), label, earlier};
  Result<ScanResult> disk = [&] {
    AnimationScope animation(m_ui, AnimationKind::kFindComputer);
    ScanStatus status(m_ui, request.settings);
    return ScanDisk(m_platform, request, &status);
  }();
  if (!disk) {
    ShowDiskNotInDrive();
    return false;
  }
  // Records 1..N the new disk, then the earlier files in their order, then the trailer.
  if (!NewCatalogFromScan(&*disk, &m_catalog, FormatDateTime(m_platform.Now()))) {
    m_ui.ShowMessage("The disk was not added: its " + std::to_string(disk->file_count) +
                         " files and the " + std::to_string(earlier) +
                         " files already catalogued do not fit in one catalog, which holds at "
                         "most " +
                         std::to_string(CatalogTable::kMaxFileRecords) +
                         " files. Nothing was changed.",
                     Buttons::kOk, Icon::kStop, kProgramTitle);
    return false;
  }
  m_catalog = std::move(disk->table);
  m_saved_records.Erase();
  // A disk added after New or at start-up is the whole catalog. It is named as
  // a new scan names its catalog, so Save asks where to keep it instead of
  // writing the bare "Untitled.mpd" into whatever folder the program was
  // started from, and Data File Info can tell about it.
  if (m_data_file_path == kUntitledDataFile) m_data_file_path = UntitledPath();
  m_ui.SetStatus(kStatusPanel, " Loading files, please wait . . .");
  RebuildTree();
  ShowTotals("Data updated on " + FormatDateTime(m_platform.Now()), " MB.");
  ReportSkippedFolders(disk->report);
  // After New the catalog commands were off; now there is a catalog to save,
  // list and search.
  EnableCatalogCommands(true);
  m_changed = true;
  return true;
}

}  // namespace tallymere
