// The scan batch: collecting drives and folders, and the new scan that turns
// them into a catalog.

#include "common/format.h"
#include "scan/scan_disk.h"
#include "windows/main/frm_main.h"
#include "windows/main/scan_status.h"

namespace tallymere {
namespace {

bool IsRemovableType(int type) { return type == kDriveRemovable || type == kDriveCdRom; }

}  // namespace

void FrmMain::cmdAdd_Click() {
  const std::string folder = m_ui.BrowseForFolder("Choose Drive or Folder to Add to Batch");
  if (!folder.empty()) m_lstBox.push_back(WithBackslash(folder));
}

void FrmMain::lstBox_FoldersDropped(const std::vector<std::string>& native_paths) {
  for (const std::string& native : native_paths) {
    if (std::optional<std::string> folder = m_platform.ToCatalog(native)) {
      m_lstBox.push_back(WithBackslash(*folder));
    } else {
      m_ui.ShowMessage("\"" + native + "\" is not on a drive a catalog can hold.", Buttons::kOk,
                       Icon::kWarning, "Choose Drive or Folder to Add to Batch");
    }
  }
}

void FrmMain::cmdDelete_Click() {
  if (m_lstBox_selected < 0 || m_lstBox_selected >= static_cast<int>(m_lstBox.size())) return;
  m_lstBox.erase(m_lstBox.begin() + m_lstBox_selected);
  m_lstBox_selected = -1;
}

void FrmMain::cmdRemove_Click() {
  m_lstBox.clear();
  m_lstBox_selected = -1;
}

bool FrmMain::lstBox_DragOver(int node) const {
  return m_session.catalog().Record(1).file_name.empty() && m_tvAlbum.IsValid(node) &&
         m_tvAlbum.node(node).parent != TreeModel::kNoNode;
}

void FrmMain::lstBox_DragDrop(int node) {
  if (!m_tvAlbum.IsValid(node)) {
    m_lstBox.clear();
    return;
  }
  // The node's path below the root: its full path without the root text and "\".
  const std::string full = m_tvAlbum.FullPath(node);
  const std::size_t skip = m_tvAlbum.node(m_tvAlbum.roots().front()).text.size() + 1;
  m_lstBox.push_back(full.size() > skip ? full.substr(skip) : std::string());
  std::string& first = m_lstBox.front();
  first = WithBackslash(first);
  if (first == m_session.data_file_path() || first.size() < 3 || first.substr(1, 2) != ":\\") {
    m_lstBox.clear();
    return;
  }
  if (m_ui.ShowMessage("Do you want to start a new scan on " + first + " drive? ", Buttons::kYesNo,
                       Icon::kQuestion, kProgramTitle) == Answer::kYes) {
    mnuScan_Click();
  }
  m_lstBox.clear();
}

void FrmMain::mnuScan_Click() {
  m_ui.SetStatus(kCountPanel, "");
  m_ui.SetStatus(kSizePanel, "");
  if (m_lstBox.empty() || m_lstBox.front().empty()) {
    m_ui.ShowMessage("Click on Add button to select drive(s) or folder(s).", Buttons::kOk,
                     Icon::kWarning, kProgramTitle);
    return;
  }
  if (!OfferToSave()) {
    m_lstBox.clear();
    return;
  }
  const auto error_report = [&](const Status& status) {
    m_ui.ShowMessage(status.message(), Buttons::kOk, Icon::kNone, kProgramTitle);
    m_lstBox.clear();
  };
  for (const std::string& entry : m_lstBox) {
    if (Result<FolderListing> listing = m_platform.ListFolder(entry, false); !listing) {
      return error_report(listing.status());
    }
  }
  m_view.caption = kUntitledCaption;
  m_session.set_data_file_path(m_session.UntitledPath());

  std::optional<std::string> added_disk;
  if (m_lstBox.size() == 1) {
    if (IsRemovableType(m_platform.DriveType(DriveRootOf(m_lstBox.front())))) {
      added_disk = AddDisk();
      if (!added_disk) return;
    } else if (!ScanBatch(error_report)) {
      return;
    }
  } else {
    for (std::size_t i = 0; i < m_lstBox.size(); ++i) {
      if (IsRemovableType(m_platform.DriveType(DriveRootOf(m_lstBox[i])))) {
        m_ui.ShowMessage("Please add removable disk seperately.", Buttons::kOk, Icon::kInformation,
                         kProgramTitle);
        m_lstBox.erase(m_lstBox.begin() + static_cast<std::ptrdiff_t>(i));
        return;
      }
    }
    if (!ScanBatch(error_report)) return;
  }

  SwitchViewsByFileType();
  EnableCatalogCommands(true);
  m_session.set_changed(true);
  ExpandFirstDrive();
  if (added_disk) ShowAddedDisk(*added_disk);
}

bool FrmMain::ScanBatch(const std::function<void(const Status&)>& error_report) {
  BusyScope busy(m_ui);
  m_LV.SetWidth(kColPath, 0);
  m_LV.Clear();
  ShowEmptyCatalogTree();
  m_ui.YieldToUi();

  Result<ScanReport> scanned = [&] {
    AnimationScope animation(m_ui, AnimationKind::kFindComputer);
    ScanStatus status(m_ui, m_session.CurrentScanSettings());
    Result<ScanReport> result = m_session.Scan(m_lstBox, &status);
    if (result) {
      m_ui.SetStatus(1, " Loading " + std::to_string(m_session.catalog().FileCount()) +
                            " files, please wait . . .");
    }
    return result;
  }();
  if (!scanned) {
    // The catalog stays as it was; so does the tree that shows it.
    RebuildTree();
    error_report(scanned.status());
    return false;
  }
  m_lstBox.clear();
  RebuildTree();
  ShowTotals(WithLeftOut(" Ready ", *scanned), " MB");
  ReportSkippedFolders(*scanned);
  return true;
}

}  // namespace tallymere
