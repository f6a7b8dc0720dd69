// Add a disk: scan one removable disk under a label of its own and put its
// files in front of the catalogued ones.

#include <algorithm>

#include "catalog/file_type.h"
#include "common/ascii_case.h"
#include "common/format.h"
#include "scan/scan_disk.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

// Label mode is on only while the disk is scanned; every way out turns it off,
// so a later scan never carries the label.
class LabelModeGuard {
 public:
  explicit LabelModeGuard(ScanState& state) : m_state(state) { m_state.label_mode = true; }
  ~LabelModeGuard() {
    m_state.label_mode = false;
    m_state.label.clear();
  }
  LabelModeGuard(const LabelModeGuard&) = delete;
  LabelModeGuard& operator=(const LabelModeGuard&) = delete;

 private:
  ScanState& m_state;
};

}  // namespace

void FrmMain::mnuAddDisk_Click() {
  if (busy()) return;
  AddDisk();
}

bool FrmMain::AddDisk() {
  LabelModeGuard label_mode(m_scan);
  if (m_settings.txtType != kMp3Type) m_settings.chkBitRate = 0;
  m_scan.lstList.Clear();
  m_LV.SetWidth(kColPath, 0);
  ExpandFirstDrive();
  if (m_scan.lstBox.empty()) cmdAdd_Click();
  if (m_scan.lstBox.empty()) return false;

  const std::string entry = m_scan.lstBox.front();
  if (m_platform.DriveType(DriveRootOf(entry)) == kDriveFixed) {
    m_ui.ShowMessage("It's not a removable drive, can not be added.", Buttons::kOk, Icon::kStop,
                     kProgramTitle);
    m_scan.lstBox.clear();
    return false;
  }
  const auto failure = [&] {
    m_ui.ShowMessage("Bad file name. Please make sure disk is in the drive.", Buttons::kOk,
                     Icon::kStop, kProgramTitle);
    m_scan.lstBox.clear();
    return false;
  };
  if (entry.empty()) return false;
  if (!m_platform.ListFolder(entry, false)) return failure();

  const std::string volume_label = m_platform.VolumeLabel(DriveRootOf(AsciiUpper(entry)));
  m_scan.label =
      m_ui.AskText("Please enter a label for the disk.(For example: My_MP3_Album_[1], etc.)",
                   kProgramTitle, volume_label);
  if (m_scan.label.empty()) {
    m_ui.ShowMessage("Please enter a label and try again.", Buttons::kOk, Icon::kStop,
                     kProgramTitle);
    m_scan.lstBox.clear();
    return false;
  }
  if (const std::optional<std::string> problem = DiskLabelProblem(m_scan.label)) {
    m_ui.ShowMessage(*problem, Buttons::kOk, Icon::kStop, kProgramTitle);
    m_scan.lstBox.clear();
    return false;
  }
  bool label_in_use = false;
  m_catalog.Walk([&](int, const CatalogRecord& record) {
    label_in_use = label_in_use || record.disk_label == m_scan.label;
  });
  if (label_in_use) {
    m_ui.ShowMessage("A disk with the same label exists. Try again.", Buttons::kOk, Icon::kStop,
                     kProgramTitle);
    m_scan.lstBox.clear();
    return false;
  }

  BusyScope busy(m_ui);
  for (int panel = 1; panel <= 3; ++panel) m_ui.SetStatus(panel, "");
  m_ui.YieldToUi();
  // The earlier records stay in the catalog until the disk's scan is complete
  // and known to fit beside them; a failure changes nothing.
  const int earlier = m_catalog.FileCount();
  ScanEngine engine(m_platform, m_ui, m_scan);
  ScanReport report;
  CatalogTable disk;
  Status status;
  {
    AnimationScope animation(m_ui, AnimationKind::kFindComputer);
    status = engine.ScanDisk({m_settings.txtType, m_settings.chkBitRate}, &disk, &report);
  }
  if (!status) return failure();
  const int added = m_scan.file_count;
  if (added + earlier + 1 > CatalogTable::kCapacity) {
    m_ui.ShowMessage("The disk was not added: its " + std::to_string(added) + " files and the " +
                         std::to_string(earlier) +
                         " files already catalogued do not fit in one catalog, which holds at "
                         "most " +
                         std::to_string(CatalogTable::kMaxFileRecords) +
                         " files. Nothing was changed.",
                     Buttons::kOk, Icon::kStop, kProgramTitle);
    m_scan.lstBox.clear();
    return false;
  }
  // Records 1..N the new disk, then the earlier files in their order, then the trailer.
  // The earlier records move rather than copy: the catalog is replaced next.
  for (int j = 1; j <= earlier; ++j) {
    disk.SetRecord(added + j, std::move(m_catalog.MutableRecord(j)));
  }
  disk.SetRecord(added + earlier + 1, MakeTrailer(m_settings.txtType, m_settings.chkBitRate,
                                                  FormatDateTime(m_platform.Now())));
  m_catalog = std::move(disk);
  m_saved_records.Erase();
  m_scan.lstBox.clear();
  // A disk added after New or at start-up is the whole catalog. It is named as
  // a new scan names its catalog, so Save asks where to keep it instead of
  // writing the bare "Untitled.mpd" into whatever folder the program was
  // started from, and Data File Info can tell about it.
  if (m_data_file_path == kUntitledDataFile) m_data_file_path = UntitledPath();
  m_ui.SetStatus(1, " Loading files, please wait . . .");

  {
    TreeModel::BatchUpdate batch(m_tvAlbum);
    StartCatalogTree();
    ExpandFirstDrive();
    AddFolderKeys();
    RebuildTreeFromKeys();
    ExpandFirstDrive();
  }
  ShowTotals("Data updated on " + FormatDateTime(m_platform.Now()), " MB.");
  ReportSkippedFolders(report);
  // After New the catalog commands were off; now there is a catalog to save,
  // list and search.
  EnableCatalogCommands(true);
  m_changed = true;
  return true;
}

}  // namespace tallymere
