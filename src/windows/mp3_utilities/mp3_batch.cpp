// The MP3 Utilities batch: loading a folder tree, the details of a clicked
// entry, the selection count, and removing entries.

#include <charconv>

#include "views/file_list_row.h"
#include "windows/mp3_utilities/batch_entry.h"
#include "windows/mp3_utilities/frm_id3.h"
#include "windows/ui_scopes.h"

namespace tallymere {
namespace {

constexpr std::string_view kBrowsePrompt = "Choose Drive or Folder to Add to Batch";
constexpr std::string_view kNoHeader = "---";

// 44100 gives "44100": the shortest decimal form of the rate.
std::string RateText(float rate) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, rate);
  return std::string(buffer, result.ptr);
}

}  // namespace

void FrmID3::mnuOpen_Click() {
  const StateNotice notice(*this);
  const BusyScope busy_pointer(m_ui);
  ClearEditorTexts();
  SetStatus(kId3StatusPanel, "");
  SetStatus(kId3CountPanel, "");
  ResetLabels(kBlankDetailLabels);
  // A new batch replaces the old one and ends the link to the catalog.
  m_session.EndMp3Link();
  m_LvOld.Clear();
  m_entry_counter = 1;
  EnterEmptyState();

  std::string folder = m_ui.BrowseForFolder(kBrowsePrompt);
  if (folder.empty()) return;
  if (folder.back() != '\\') folder += '\\';
  const Status listed = RecurseTree(folder);

  // New already equals Original for every entry.
  SetStatus(kId3CountPanel, std::to_string(m_LvOld.row_count()) + " file(s)");
  if (m_LvOld.row_count() > 0) EnterBatchLoadedState();
  FinishLoading(kMp3UtilitiesTitle, listed);
}

Status FrmID3::RecurseTree(const std::string& CurrentPath) {
  const Result<FolderListing> listing = m_platform.ListFolder(CurrentPath, false);
  if (!listing.ok()) return listing.status();

  std::vector<ListRow> entries;
  for (const FolderEntry& entry : listing->entries) {
    if (entry.is_folder || !IsMp3FileName(entry.name)) continue;
    entries.push_back(BatchEntry(CurrentPath, entry.name));
    ++m_entry_counter;
  }
  m_LvOld.AddRows(std::move(entries));

  std::vector<std::string> folders;
  for (const FolderEntry& entry : listing->entries) {
    if (!entry.is_folder) continue;
    folders.push_back(CurrentPath + entry.name + "\\");
    m_ui.YieldToUi();
  }
  for (const std::string& folder : folders) {
    if (Status status = RecurseTree(folder); !status.ok()) return status;
  }
  return Status::Ok();
}

// --- Clicks -------------------------------------------------------------------------

void FrmID3::LvOld_ItemClick(int row) {
  const StateNotice notice(*this);
  if (row < 0 || row >= m_LvOld.row_count()) return;
  m_LvOld.SetCurrent(row);
  ShowDetails(row, /*bitrate_dashes=*/false);
  CountSelection();
}

void FrmID3::ShowDetails(int row, bool bitrate_dashes) {
  ClearEditorTexts();
  if (m_platform.FileExists(EntryFile(row))) SetStatus(kId3StatusPanel, EntryFile(row));
  Mp3Info info;
  if (!ShowFileLabels(row, bitrate_dashes, &info)) return;
  ShowTagInEditor(info);
  m_txtDisplay = m_LvOld.Cell(row, kBatchNew);
}

bool FrmID3::ShowFileLabels(int row, bool bitrate_dashes, Mp3Info* info) {
  ResetLabels(kClickDetailLabels);
  m_CurrentFile = EntryFile(row);
  if (!m_platform.FileExists(m_CurrentFile)) return false;
  const Result<int64_t> length = m_platform.FileLength(m_CurrentFile);
  if (!length.ok()) return false;
  m_labels[0] = "Size: " + std::to_string(*length) + " bytes";

  const Result<std::string> bitrate = ReadInfo(m_CurrentFile, info);
  if (!bitrate.ok()) return false;
  if (*bitrate != kNoHeader) {
    m_labels[1] = "Version: MPEG " + info->MpegVersion + " ," + " layer " + info->MpegLayer;
    m_labels[2] = "Bitrate: " + *bitrate + " kbps";
    m_labels[3] = info->SampleRate == 0 ? std::string("Sample Rate: unknown")
                                        : "Sample Rate: " + RateText(info->SampleRate) + "Hz";
  } else {
    m_labels[2] = bitrate_dashes ? "Bitrate: ---" : "Bitrate: -";
  }
  if (info->Id3v2Version.empty()) {
    m_id3v2_labels[0] = std::string(kBlankId3v2Labels[0]) + " none";
  } else {
    const std::string* values[] = {&info->Id3v2Version, &info->V2Artist, &info->V2Title,
                                   &info->V2Album};
    for (std::size_t i = 0; i < m_id3v2_labels.size(); ++i) {
      m_id3v2_labels[i] = std::string(kBlankId3v2Labels[i]) + " " + *values[i];
    }
  }
  return true;
}

void FrmID3::CountSelection() {
  m_selected_count = m_LvOld.SelectedCount();
  if (m_selected_count > 0)
    SetStatus(kId3CountPanel, std::to_string(m_selected_count) + " selected");
}

// --- Removing entries -------------------------------------------------------------

void FrmID3::mnuRemv_Click() {
  const StateNotice notice(*this);
  std::vector<bool> selected;
  for (int row = 0; row < m_LvOld.row_count(); ++row) selected.push_back(m_LvOld.row(row).selected);
  RemoveEntries(selected);
  m_selected_count = 0;
  SetStatus(kId3CountPanel, std::to_string(m_LvOld.row_count()) + " file(s)");
}

void FrmID3::mnuClAll_Click() {
  const StateNotice notice(*this);
  m_LvOld.Clear();
  m_txtDisplay.clear();
  m_selected_count = 0;
  SetStatus(kId3StatusPanel, "");
  SetStatus(kId3CountPanel, "");
  EnterEmptyState();
}

void FrmID3::LvOld_KeyDown(int key_code) {
  if (key_code == kKeyDelete) mnuRemv_Click();
}

void FrmID3::LvOld_SelectAll() {
  const StateNotice notice(*this);
  if (m_LvOld.row_count() == 0) return;
  m_LvOld.SetRangeSelected(0, m_LvOld.row_count() - 1, true);
  CountSelection();
}

void FrmID3::txtDisplay_KeyPress(int key_code) {
  if (key_code == kKeyEnter && m_commands.Enabled(Id3Command::kMan)) mnuMan_Click();
}

}  // namespace tallymere
