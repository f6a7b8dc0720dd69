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
  m_commands.Enable(kMp3Commands, false);
  for (const CommandEntry<MainCommand>& entry : kMainCommands) {
    if (AlwaysAvailable(entry.id)) m_commands.Enable(entry.id, true);
  }
  m_commands.EnableButton(main_toolbar::kLoad, true);

  {
    TreeModel::BatchUpdate batch(m_tvAlbum);
    m_tree_drives = TreeDrives();
    StartCatalogTree(m_tvAlbum, std::string(kUntitledDataFile), kComputerImage, m_tree_drives);
  }

  if (Status status = LoadSettings(m_platform, &m_settings); !status) {
    m_ui.ShowMessage(status.message() + "\n\nTallymere starts with its default settings.",
                     Buttons::kOk, Icon::kWarning, kProgramTitle);
  }

  std::vector<std::string> settings_problems;
  m_program_settings = ReadProgramSettings(m_platform, &settings_problems);
  ProvideListTexts();
  ReportStartProblems(settings_problems);

  m_find.Reset();
  m_ui.SetStatus(kStatusPanel, "Ready");
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

void FrmMain::ReportStartProblems(const std::vector<std::string>& settings_problems) {
  std::string text;
  const auto add = [&](const std::string& file, const std::vector<std::string>& problems) {
    if (problems.empty()) return;
    if (!text.empty()) text += "\n\n";
    text += file + " could not be used in full:";
    for (const std::string& problem : problems) text += "\n\n" + problem;
  };
  add("Data/drives.dat", m_platform.DriveMapProblems());
  add(ProgramSettingsPath(m_platform), settings_problems);
  if (!text.empty()) m_ui.ShowMessage(text, Buttons::kOk, Icon::kWarning, kProgramTitle);
}

ScanSettings FrmMain::CurrentScanSettings() const {
  return {m_settings.txtType, m_settings.chkBitRate, m_program_settings.id3v1_code_page};
}

void FrmMain::HideCatalogColumns() {
  for (int column : {kColPath, kColBitrate, kColTime, kColArtist, kColTitle, kColAlbum}) {
    m_LV.SetWidth(column, 0);
  }
}

std::vector<TreeDrive> FrmMain::TreeDrives() const {
  std::vector<TreeDrive> drives;
  for (const DriveInfo& drive : m_platform.Drives()) {
    drives.push_back({std::string(1, drive.letter) + ":\\", drive.type});
  }
  return drives;
}

void FrmMain::ShowEmptyCatalogTree() {
  TreeModel::BatchUpdate batch(m_tvAlbum);
  m_tree_drives = TreeDrives();
  StartCatalogTree(m_tvAlbum, m_data_file_path, kDataFileImage, m_tree_drives);
}

void FrmMain::RebuildTree() {
  TreeModel::BatchUpdate batch(m_tvAlbum);
  m_tree_drives = CatalogTreeDrives(TreeDrives(), m_catalog);
  BuildCatalogTree(m_tvAlbum, m_data_file_path, m_tree_drives, m_catalog);
  m_file_count = m_catalog.FileCount();
  EnableDiskCommands();
}

int FrmMain::DriveTypeOf(std::string_view drive_root) const {
  const std::string root = AsciiUpper(drive_root);
  for (const TreeDrive& drive : m_tree_drives) {
    if (drive.root == root) return drive.type;
  }
  return m_platform.DriveType(drive_root);
}

std::vector<std::string> FrmMain::LookInDrives() const {
  std::vector<std::string> drives;
  for (const TreeDrive& drive : m_tree_drives) drives.push_back(drive.root);
  return drives;
}

void FrmMain::ExpandFirstDrive() {
  const int second = m_tvAlbum.NodeAt(2);
  if (second != TreeModel::kNoNode) m_tvAlbum.Expand(second);
}

void FrmMain::SwitchViewsByFileType() {
  const bool mp3 = m_settings.txtType == kMp3Type;
  m_commands.Enable(kMp3Commands, mp3);
  // Songs show their MP3 columns, other files the date they were modified.
  m_LV.SetWidth(kColModified, mp3 ? 0 : kFileListWidths[kColModified]);
  for (int column : {kColBitrate, kColTime, kColArtist, kColTitle, kColAlbum}) {
    m_LV.SetWidth(column, mp3 ? kFileListWidths[column] : 0);
  }
  m_tab_enabled[kPlaylistTab] = mp3;
  m_tab_enabled[kDataEditorTab] = mp3;
  // The playlist shows once its tab can be chosen.
  m_playlist_visible = mp3;
  if (!m_tab_enabled[m_selected_tab]) SelectTab(kScanTab);
}

void FrmMain::EnableCatalogCommands(bool enabled) {
  m_commands.Enable(kCatalogCommands, enabled);
  for (int button : kCatalogToolbarButtons) m_commands.EnableButton(button, enabled);
  for (int button : kAlwaysUsableToolbarButtons) m_commands.EnableButton(button, true);
  m_commands.Enable(MainCommand::kReport, false);
  EnableDiskCommands();
}

void FrmMain::ShowTotals(const std::string& panel1, const std::string& mb_suffix) {
  m_ui.SetStatus(kStatusPanel, panel1);
  m_ui.SetStatus(kCountPanel, "Total: " + std::to_string(m_file_count) + " files");
  m_ui.SetStatus(kSizePanel,
                 FormatMegabytes(static_cast<double>(m_catalog.TotalSize())) + mb_suffix);
}

void FrmMain::ClearStatusBar() {
  for (int panel : {kStatusPanel, kCountPanel, kSizePanel}) m_ui.SetStatus(panel, "");
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
