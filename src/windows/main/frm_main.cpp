#include "windows/main/frm_main.h"

#include <algorithm>

#include "catalog/file_type.h"
#include "common/format.h"
#include "lists/list_request.h"

namespace tallymere {

FrmMain::FrmMain(UiServices& ui, const Platform& platform)
    : m_ui(ui, m_yield_depth),
      m_platform(platform),
      m_LV(MakeFileList()),
      m_playlist(m_ui, platform),
      m_data_editor(m_ui, m_catalog, m_LV, [this] { m_changed = true; }) {}

std::string FrmMain::UntitledPath() const {
  return m_platform.ProgramFolder() + "/" + std::string(kUntitledDataFile);
}

void FrmMain::SetCaption(const std::string& path) { m_caption = "Tallymere - " + path; }

void FrmMain::Form_Load() {
  m_data_file_path = kUntitledDataFile;
  m_sent_to_mp3_utilities = false;
  m_changed = false;
  BusyScope busy(m_ui);

  HideCatalogColumns();
  SelectTab(kScanTab);
  m_tab_enabled = {true, false, false};
  m_playlist_visible = false;

  EnableCatalogCommands(false);
  m_commands.Enable(Mp3Commands(), false);
  m_commands.Enable(AlwaysAvailableCommands(), true);
  m_commands.EnableButton(main_toolbar::kLoad, true);

  {
    TreeModel::BatchUpdate batch(m_tvAlbum);
    AddRootNode(std::string(kUntitledDataFile), "datafile");
    AddDriveNodes(/*remember=*/false);
    const int root = m_tvAlbum.Find(std::string(kUntitledDataFile));
    m_tvAlbum.Expand(root);
    m_tvAlbum.SetImages(root, "mycomp", "mycomp");
  }

  if (Status status = LoadSettings(m_platform, &m_settings); !status) {
    m_ui.ShowMessage(status.message() + "\n\nTallymere starts with its default settings.",
                     Buttons::kOk, Icon::kWarning, kProgramTitle);
  }

  ProvideListTexts();
  ReportDriveMapProblems();

  m_find.Reset();
  m_ui.SetStatus(1, "Ready");
}

bool FrmMain::Form_Unload() {
  m_ends_program = true;
  if (busy()) return false;  // a command still runs: it must end first
  if (!m_changed) return true;
  switch (m_ui.ShowMessage("Save Change?", Buttons::kYesNoCancel, Icon::kQuestion, kProgramTitle)) {
    case Answer::kYes:
      mnuSaveFile_Click();
      return !m_changed;  // a save that was cancelled or failed keeps the window
    case Answer::kNo:
      m_ends_program = false;
      return true;
    default:
      return false;
  }
}

void FrmMain::ProvideListTexts() {
  // Lists include these texts by default and fail without them, and Header
  // Text and Footer text can only open what exists: a first start gets empty
  // ones. A file that cannot be made is said when a list needs it.
  for (std::string_view name : {kHeaderFileName, kFooterFileName}) {
    const std::string path = m_platform.ProgramFolder() + "/" + std::string(name);
    if (m_platform.ReadFile(path, kSmallTextFileLimit).code() == StatusCode::kNotFound) {
      (void)m_platform.WriteFileAtomically(path, "");
    }
  }
}

void FrmMain::ReportDriveMapProblems() {
  const std::vector<std::string> problems = m_platform.DriveMapProblems();
  if (problems.empty()) return;
  std::string text = "Data/drives.dat could not be used in full:";
  for (const std::string& problem : problems) text += "\n\n" + problem;
  m_ui.ShowMessage(text, Buttons::kOk, Icon::kWarning, kProgramTitle);
}

void FrmMain::HideCatalogColumns() {
  for (int column : {kColPath, kColBitrate, kColTime, kColArtist, kColTitle, kColAlbum}) {
    m_LV.SetWidth(column, 0);
  }
}

void FrmMain::AddDriveNodes(bool remember) {
  const std::string root_key =
      m_tvAlbum.roots().empty() ? std::string() : m_tvAlbum.node(m_tvAlbum.roots().front()).key;
  if (remember) m_drive_nodes.clear();
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const std::string drive_root = std::string(1, letter) + ":\\";
    const char* icon = nullptr;
    switch (m_platform.DriveType(drive_root)) {
      case kDriveRemovable:
        icon = "floppy";
        break;
      case kDriveFixed:
        icon = "hard";
        break;
      case kDriveCdRom:
        icon = "cdrom";
        break;
      default:
        break;
    }
    if (icon == nullptr) continue;
    AddNode(drive_root, drive_root, root_key, icon, icon);
    if (remember) m_drive_nodes.push_back(drive_root);
  }
}

void FrmMain::TrimNodeTexts() {
  const std::vector<int> nodes = m_tvAlbum.Nodes();
  for (std::size_t i = 1; i < nodes.size(); ++i) {
    const std::string& text = m_tvAlbum.node(nodes[i]).text;
    if (!text.empty()) m_tvAlbum.SetText(nodes[i], text.substr(0, text.size() - 1));
  }
}

void FrmMain::RemoveEmptyDriveNodes(const std::vector<std::string>& drives_with_files) {
  for (const std::string& drive_root : m_drive_nodes) {
    const int node = m_tvAlbum.Find(drive_root);
    // A drive whose files all lie in its root folder has no child nodes but
    // must stay, or those files could never be listed.
    const bool has_files = std::find(drives_with_files.begin(), drives_with_files.end(),
                                     drive_root) != drives_with_files.end();
    if (node != TreeModel::kNoNode && m_tvAlbum.ChildCount(node) == 0 && !has_files) {
      m_tvAlbum.Remove(node);
    }
  }
}

void FrmMain::StartCatalogTree() {
  m_tvAlbum.Clear();
  AddRootNode(m_data_file_path, "datafile");
  AddDriveNodes(/*remember=*/true);
  m_tvAlbum.Expand(m_tvAlbum.Find(m_data_file_path));
}

void FrmMain::AddFolderKeys() {
  m_scan.lstList.Clear();
  const int end = m_catalog.CatalogEnd();
  for (int i = 1; i < end; ++i) {
    // The record at the end has no Path, so the last file always ends a run;
    // a table full to its last record has no record there to read.
    if (i + 1 == end || m_catalog.Record(i).path != m_catalog.Record(i + 1).path) {
      m_scan.lstList.Add(FolderKey(m_catalog.Record(i)));
    }
  }
  m_scan.file_count = end - 1;
}

void FrmMain::RebuildTree() {
  TreeModel::BatchUpdate batch(m_tvAlbum);
  StartCatalogTree();
  AddFolderKeys();
  RebuildTreeFromKeys();
  ExpandFirstDrive();
}

void FrmMain::RebuildTreeFromKeys() {
  std::vector<std::string> drives_with_files;
  for (const std::string& key : m_scan.lstList) {
    if (key.size() == 3) drives_with_files.push_back(key);
    BuildNode(key);
  }
  m_scan.lstList.Clear();
  TrimNodeTexts();
  RemoveEmptyDriveNodes(drives_with_files);
}

void FrmMain::ExpandFirstDrive() {
  const int second = m_tvAlbum.NodeAt(2);
  if (second != TreeModel::kNoNode) m_tvAlbum.Expand(second);
}

void FrmMain::SwitchViewsByFileType() {
  const bool mp3 = m_settings.txtType == kMp3Type;
  m_commands.Enable(Mp3Commands(), mp3);
  m_LV.SetWidth(kColModified, mp3 ? 0 : 1800);
  m_LV.SetWidth(kColBitrate, mp3 ? 650 : 0);
  m_LV.SetWidth(kColTime, mp3 ? 600 : 0);
  m_LV.SetWidth(kColArtist, mp3 ? 1500 : 0);
  m_LV.SetWidth(kColTitle, mp3 ? 2200 : 0);
  m_LV.SetWidth(kColAlbum, mp3 ? 2000 : 0);
  m_tab_enabled[kPlaylistTab] = mp3;
  m_tab_enabled[kDataEditorTab] = mp3;
  // The playlist shows once its tab can be chosen.
  m_playlist_visible = mp3;
  if (!m_tab_enabled[m_selected_tab]) SelectTab(kScanTab);
}

void FrmMain::EnableCatalogCommands(bool enabled) {
  m_commands.Enable(CatalogCommands(), enabled);
  for (int button : CatalogToolbarButtons()) m_commands.EnableButton(button, enabled);
  for (int button : AlwaysUsableToolbarButtons()) m_commands.EnableButton(button, true);
  m_commands.Enable("mnuReport", false);
}

void FrmMain::ShowTotals(const std::string& panel1, const std::string& mb_suffix) {
  m_ui.SetStatus(1, panel1);
  m_ui.SetStatus(2, "Total: " + std::to_string(m_scan.file_count) + " files");
  m_ui.SetStatus(3, FormatMegabytes(static_cast<double>(m_catalog.TotalSize())) + mb_suffix);
}

void FrmMain::ReportSkippedFolders(const ScanReport& report) {
  if (report.skipped_folder_count == 0 && report.skipped_names == 0) return;
  std::string text;
  if (report.skipped_folder_count > 0) {
    text = std::to_string(report.skipped_folder_count) +
           (report.skipped_folder_count == 1 ? " folder" : " folders") + " could not be read and " +
           (report.skipped_folder_count == 1 ? "was" : "were") + " left out of the catalog:\n";
    for (const std::string& folder : report.skipped_folders) text += "\n" + folder;
    if (report.skipped_folder_count > static_cast<int>(report.skipped_folders.size())) {
      text += "\n...";
    }
    text += "\n\nCheck the permissions of these folders and scan again to include them.";
  }
  if (report.skipped_names > 0) {
    if (!text.empty()) text += "\n\n";
    // A backslash separates folders in a catalog path, so such a name cannot be stored.
    text += std::to_string(report.skipped_names) +
            (report.skipped_names == 1 ? " file or folder was" : " files or folders were") +
            " left out because the name contains \"\\\". Rename them to include them.";
  }
  m_ui.ShowMessage(text, Buttons::kOk, Icon::kWarning, kProgramTitle);
}

}  // namespace tallymere
