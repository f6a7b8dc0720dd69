#include "windows/main/frm_main.h"

#include <algorithm>

#include "catalog/file_type.h"
#include "common/format.h"
#include "scan/scan_report_text.h"
#include "windows/main/main_command_table.h"

namespace tallymere {

FrmMain::FrmMain(CatalogSession& session, WindowServices& services)
    : m_session(session),
      m_services(services),
      m_platform(session.platform()),
      m_ui(services.ui()),
      m_LV(MakeFileList()),
      m_playlist(m_ui, m_platform),
      m_data_editor(m_ui, session, m_LV) {
  m_session.on_records_rewritten = [this](const std::vector<RecordRewrite>& rewrites) {
    ShowRewrites(rewrites);
  };
}

void FrmMain::SetCaption(const std::string& path) { m_view.caption = "Tallymere - " + path; }

void FrmMain::Form_Load() {
  m_session.set_data_file_path(std::string(kUntitledDataFile));
  m_session.EndMp3Link();
  m_session.set_changed(false);
  BusyScope busy(m_ui);

  HideCatalogColumns();
  SelectTab(kScanTab);
  m_view.tab_enabled = {true, false, false};
  m_view.playlist_visible = false;

  EnableCatalogCommands(false);
  m_commands.Enable(kMp3Commands, false);
  for (const auto& entry : kCommands) {
    if (AlwaysAvailable(entry.id)) m_commands.Enable(entry.id, true);
  }
  m_commands.EnableButton(main_toolbar::kLoad, true);

  {
    TreeModel::BatchUpdate batch(m_tvAlbum);
    m_session.SeeMachineDrives();
    StartCatalogTree(m_tvAlbum, std::string(kUntitledDataFile), kComputerImage, m_session.drives());
  }

  const StartProblems problems = m_session.LoadSettings();
  if (!problems.settings) {
    m_ui.ShowMessage(
        problems.settings.message() + "\n\nTallymere starts with its default settings.",
        Buttons::kOk, Icon::kWarning, kProgramTitle);
  }
  m_session.ProvideListTexts();
  ReportStartProblems(problems);

  m_find.Reset();
  m_ui.SetStatus(kStatusPanel, "Ready");
}

bool FrmMain::Form_Unload() {
  m_ends_program = true;
  if (busy()) return false;  // a command still runs: it must end first
  if (!m_session.changed()) return true;
  switch (m_ui.ShowMessage("Save Change?", Buttons::kYesNoCancel, Icon::kQuestion, kProgramTitle)) {
    case Answer::kYes:
      mnuSaveFile_Click();
      return !m_session.changed();  // a save that was cancelled or failed keeps the window
    case Answer::kNo:
      m_ends_program = false;
      return true;
    default:
      return false;
  }
}

void FrmMain::ReportStartProblems(const StartProblems& problems) {
  std::string text;
  const auto add = [&](const std::string& file, const std::vector<std::string>& each) {
    if (each.empty()) return;
    if (!text.empty()) text += "\n\n";
    text += file + " could not be used in full:";
    for (const std::string& problem : each) text += "\n\n" + problem;
  };
  add("Data/drives.dat", problems.drive_map);
  add(ProgramSettingsPath(m_platform), problems.program_settings);
  if (!text.empty()) m_ui.ShowMessage(text, Buttons::kOk, Icon::kWarning, kProgramTitle);
}

void FrmMain::HideCatalogColumns() {
  for (int column : {kColPath, kColBitrate, kColTime, kColArtist, kColTitle, kColAlbum}) {
    m_LV.SetWidth(column, 0);
  }
}

void FrmMain::ShowEmptyCatalogTree() {
  TreeModel::BatchUpdate batch(m_tvAlbum);
  m_session.SeeMachineDrives();
  StartCatalogTree(m_tvAlbum, m_session.data_file_path(), kDataFileImage, m_session.drives());
}

void FrmMain::RebuildTree() {
  TreeModel::BatchUpdate batch(m_tvAlbum);
  m_session.SeeCatalogDrives();
  BuildCatalogTree(m_tvAlbum, m_session.data_file_path(), m_session.drives(), m_session.catalog());
  EnableDiskCommands();
}

std::vector<std::string> FrmMain::LookInDrives() const {
  std::vector<std::string> drives;
  for (const CatalogDrive& drive : m_session.drives()) drives.push_back(drive.root);
  return drives;
}

void FrmMain::ExpandFirstDrive() {
  const int second = m_tvAlbum.NodeAt(2);
  if (second != TreeModel::kNoNode) m_tvAlbum.Expand(second);
}

void FrmMain::SwitchViewsByFileType() {
  const bool mp3 = IsMusicType(m_session.settings().txtType);
  m_commands.Enable(kMp3Commands, mp3);
  // Songs show their MP3 columns, other files the date they were modified.
  m_LV.SetWidth(kColModified, mp3 ? 0 : kFileListWidths[kColModified]);
  for (int column : {kColBitrate, kColTime, kColArtist, kColTitle, kColAlbum}) {
    m_LV.SetWidth(column, mp3 ? kFileListWidths[column] : 0);
  }
  m_view.tab_enabled[kPlaylistTab] = mp3;
  m_view.tab_enabled[kDataEditorTab] = mp3;
  // The playlist shows once its tab can be chosen.
  m_view.playlist_visible = mp3;
  if (!m_view.tab_enabled[m_view.selected_tab]) SelectTab(kScanTab);
}

void FrmMain::EnableCatalogCommands(bool enabled) {
  m_commands.Enable(kCatalogCommands, enabled);
  for (int button : kCatalogToolbarButtons) m_commands.EnableButton(button, enabled);
  for (int button : kAlwaysUsableToolbarButtons) m_commands.EnableButton(button, true);
  m_commands.Enable(MainCommand::kReport, false);
  EnableDiskCommands();
}

void FrmMain::ShowTotals(const std::string& panel1, const std::string& mb_suffix) {
  const CatalogTable& catalog = m_session.catalog();
  m_ui.SetStatus(kStatusPanel, panel1);
  m_ui.SetStatus(kCountPanel, "Total: " + std::to_string(catalog.FileCount()) + " files");
  m_ui.SetStatus(kSizePanel, FormatMegabytes(static_cast<double>(catalog.TotalSize())) + mb_suffix);
}

void FrmMain::ClearStatusBar() {
  for (int panel : {kStatusPanel, kCountPanel, kSizePanel}) m_ui.SetStatus(panel, "");
}

std::string WithLeftOut(std::string status, const ScanReport& report) {
  const std::string left_out = LeftOutText(report);
  return left_out.empty() ? status : status + " - " + left_out;
}

void FrmMain::ReportSkippedFolders(const ScanReport& report) {
  const SkippedText skipped = SkippedTextOf(report);
  if (skipped.empty()) return;
  std::string text;
  if (!skipped.folders_headline.empty()) {
    text = skipped.folders_headline + "\n";
    for (const std::string& folder : skipped.folders) text += "\n" + folder;
    text += "\n\n" + skipped.folders_advice;
  }
  if (!skipped.names.empty()) {
    if (!text.empty()) text += "\n\n";
    text += skipped.names;
  }
  m_ui.ShowMessage(text, Buttons::kOk, Icon::kWarning, kProgramTitle);
}

}  // namespace tallymere
