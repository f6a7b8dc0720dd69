// The MP3 Utilities window's state: opening and closing, the enabled flags by
// the table of states, the name snapshots and the steps the command groups
// share.

#include "windows/mp3_utilities/frm_id3.h"

#include <algorithm>
#include <string_view>

#include "mp3/genres.h"
#include "mp3/id3v1.h"
#include "views/file_list_row.h"
#include "windows/mp3_utilities/batch_entry.h"

namespace tallymere {
namespace {

// What an empty window lacks: nothing to rename, undo, take back or name.
constexpr Id3Command kNamingMenuItems[] = {Id3Command::kRen, Id3Command::kUndo, Id3Command::kOops,
                                           Id3Command::kMan, Id3Command::kIDrenam};
constexpr int kEmptyWindowButtons[] = {id3_toolbar::kOpen, id3_toolbar::kRemv, id3_toolbar::kClAll,
                                       id3_toolbar::kStartOver};
constexpr int kBatchButtons[] = {id3_toolbar::kRemove, id3_toolbar::kWrite, id3_toolbar::kTagName,
                                 id3_toolbar::kMan, id3_toolbar::kIDrenam};

}  // namespace

FrmID3::StateNotice::~StateNotice() {
  if (--m_window.m_handler_depth == 0 && m_window.m_listener) m_window.m_listener();
}

FrmID3::FrmID3(CatalogSession& session, WindowServices& services)
    : m_session(session),
      m_services(services),
      m_ui(services.ui()),
      m_platform(session.platform()),
      m_LvOld({"Original", "New", "Path", "Old Name"}, {3000, 3000, 3000, 2000}) {
  ResetWindow();
  EnterEmptyState();
}

// --- Window -------------------------------------------------------------------

void FrmID3::Form_Load() {
  const StateNotice notice(*this);
  ResetWindow();
  EnterEmptyState();
  if (!LinkedToCatalog()) return;

  std::vector<ListRow> entries;
  for (const CatalogFile& file : m_session.files_sent()) {
    entries.push_back(BatchEntry(file.path, file.file_name));
    // They were the selection in the catalog, so they stay the selection
    // here: a tag command on "the selected files" acts on them.
    entries.back().selected = true;
  }
  m_entry_counter += static_cast<int>(entries.size());
  m_LvOld.AddRows(std::move(entries));
  if (m_LvOld.row_count() == 0) return;

  EnterBatchLoadedState();
  // Entry 1 is the current entry, so its details and txtDisplay belong to it.
  m_LvOld.SetCurrent(0);
  ShowDetails(0, /*bitrate_dashes=*/true);
  FinishLoading(kProgramTitle, Status::Ok());
  CountSelection();
}

void FrmID3::Form_Unload() {
  const StateNotice notice(*this);
  m_session.EndMp3Link();
}

void FrmID3::mnuExit_Click() {
  if (close_window) {
    close_window();
  } else {
    Form_Unload();
  }
}

std::vector<std::string> FrmID3::txtGenre_items() {
  return std::vector<std::string>(Genres.begin(), Genres.begin() + kNamedGenres);
}

void FrmID3::ResetWindow() {
  m_LvOld.Clear();
  m_LvOld.SetSorted(false);
  m_CurNames.assign(kNameSnapshotSize, std::string());
  m_PrevNames.assign(kNameSnapshotSize, std::string());
  m_entry_counter = 1;
  m_selected_count = 0;
  m_insert_location = 0;
  m_CurrentFile.clear();
  m_editor = TagEditorValues{};  // texts empty, the six preserve boxes clear
  m_txtDisplay.clear();
  m_txtText.clear();
  m_txtReplace.clear();
  m_txtWith.clear();
  m_optAll = false;  // optSelect
  ResetLabels(kBlankDetailLabels);
  m_status = {};
  m_mnuLog = true;
  m_mnuCom = false;
  m_mnuAlbum = false;
  m_focus_request.clear();
}

// --- Options and toolbar --------------------------------------------------------

void FrmID3::mnuLog_Click() {
  const StateNotice notice(*this);
  m_mnuLog = !m_mnuLog;
}

void FrmID3::mnuCom_Click() {
  const StateNotice notice(*this);
  m_mnuCom = !m_mnuCom;
}

void FrmID3::mnuAlbum_Click() {
  const StateNotice notice(*this);
  m_mnuAlbum = !m_mnuAlbum;
}

// --- Enabled flags ------------------------------------------------------------------

void FrmID3::EnterEmptyState() {
  for (const auto& entry : kCommands) m_commands.Enable(entry.id, true);
  m_commands.Enable(kNamingMenuItems, false);
  for (int button = 1; button <= id3_toolbar::kLast; ++button) {
    m_commands.EnableButton(button, false);
  }
  for (int button : kEmptyWindowButtons) m_commands.EnableButton(button, true);
}

void FrmID3::EnterBatchLoadedState() {
  EnterEmptyState();
  for (int button : kBatchButtons) m_commands.EnableButton(button, true);
  // Manual and Extract ID3 Tag need nothing but entries to name, so their
  // menu items come with the batch, as Extract's toolbar button does.
  m_commands.Enable(Id3Command::kMan, true);
  m_commands.Enable(Id3Command::kIDrenam, true);
}

void FrmID3::EnableNamingStep() {
  m_commands.Enable(Id3Command::kRen, true);
  m_commands.EnableButton(id3_toolbar::kRen, true);
  m_commands.Enable(Id3Command::kOops, true);
  m_commands.EnableButton(id3_toolbar::kOops, true);
}

// --- Shared steps -----------------------------------------------------------------

void FrmID3::SetStatus(int panel, std::string text) {
  m_status.at(panel - 1) = std::move(text);
  if (m_listener) m_listener();
}

void FrmID3::ResetLabels(const DetailLabels& texts) {
  for (std::size_t i = 0; i < m_labels.size(); ++i) {
    m_labels[i] = texts[i];
    m_id3v2_labels[i] = kBlankId3v2Labels[i];
  }
}

const CodePage& FrmID3::code_page() const { return m_session.program_settings().id3v1_code_page; }

bool FrmID3::TagFieldFits(std::string_view text, std::size_t width) const {
  return code_page().CutToWidth(text, width).size() == text.size();
}

void FrmID3::ShowTagInEditor(const Mp3Info& info) {
  if (!info.HasId3v1Tag && !info.Id3v2Version.empty()) {
    m_editor.title = code_page().CutToWidth(info.V2Title, kTagTitle.width);
    m_editor.artist = code_page().CutToWidth(info.V2Artist, kTagArtist.width);
    m_editor.album = code_page().CutToWidth(info.V2Album, kTagAlbum.width);
    // The year of a date ("2004-05-01"); a genre the ID3v1 list does not
    // name shows as it is, and writes no genre byte.
    m_editor.year = code_page().CutToWidth(info.V2Year, kTagYear.width);
    m_editor.comment.clear();
    m_editor.genre = info.V2Genre;
    return;
  }
  m_editor.title = ShownText(info.TagTitle);
  m_editor.artist = ShownText(info.TagArtist);
  m_editor.album = ShownText(info.TagAlbum);
  m_editor.year = ShownText(info.TagYear);
  m_editor.comment = ShownText(info.TagComment);
  m_editor.genre = info.TagGenre;
}

void FrmID3::ShowNewName() {
  const int row = m_LvOld.current();
  m_txtDisplay = row >= 0 ? m_LvOld.Cell(row, kBatchNew) : std::string();
}

void FrmID3::ClearEditorTexts() {
  for (std::string* text : {&m_editor.title, &m_editor.artist, &m_editor.album, &m_editor.year,
                            &m_editor.comment, &m_editor.genre}) {
    text->clear();
  }
}

std::string FrmID3::EntryExtension(int row) const {
  const std::string& extension = m_LvOld.Cell(row, kBatchExtension);
  return extension.empty() ? std::string(kMp3Extension) : extension;
}

std::string FrmID3::EntryFile(int row) const {
  return m_LvOld.Cell(row, kBatchPath) + m_LvOld.Cell(row, kBatchOriginal) + EntryExtension(row);
}

Result<std::string> FrmID3::ReadInfo(const std::string& catalog_file, Mp3Info* info) const {
  const std::optional<std::string> native = m_platform.ToNative(catalog_file);
  if (!native)
    return Status::Error(StatusCode::kNotFound,
                         "Cannot read \"" + catalog_file + "\": no such drive");
  Result<std::string> bitrate = ReadMp3Info(m_platform, *native, info, code_page());
  if (!bitrate.ok()) {
    return Status::Error(bitrate.code(), bitrate.status().message() + ": \"" + catalog_file + "\"");
  }
  return bitrate;
}

std::vector<int> FrmID3::RowsInScope() const {
  if (!m_optAll) return m_LvOld.SelectedRows();
  std::vector<int> rows(static_cast<std::size_t>(m_LvOld.row_count()));
  for (int row = 0; row < m_LvOld.row_count(); ++row) rows[static_cast<std::size_t>(row)] = row;
  return rows;
}

void FrmID3::FinishLoading(std::string_view failure_title, const Status& listed) {
  m_LvOld.SetSortKey(kBatchOriginal);
  m_LvOld.SetSortOrder(SortOrder::kAscending);
  m_LvOld.SetSorted(true);
  // Sorted once: later changes to a name must not move its entry.
  m_LvOld.SetSorted(false);
  FillSnapshots();
  if (!listed.ok()) {
    m_ui.ShowMessage(listed.message(), Buttons::kOk, Icon::kStop, failure_title);
  } else if (m_LvOld.row_count() > kNameSnapshotSize) {
    m_ui.ShowMessage(BatchLimitText(m_LvOld.row_count()), Buttons::kOk, Icon::kStop, failure_title);
  }
}

void FrmID3::RemoveEntries(const std::vector<bool>& doomed) {
  const std::vector<int> moved_to = m_LvOld.RemoveRows(doomed);
  // The snapshots follow their entries, so Oops! still restores each entry's
  // own name after others were removed. An entry moving up into the covered
  // positions has no snapshot of its own yet: its present name stands for
  // both; positions past the last entry hold none.
  std::vector<std::string> current(kNameSnapshotSize);
  std::vector<std::string> previous(kNameSnapshotSize);
  for (std::size_t old_row = 0; old_row < moved_to.size(); ++old_row) {
    const int row = moved_to[old_row];
    if (row < 0 || row >= kNameSnapshotSize) continue;
    if (old_row < static_cast<std::size_t>(kNameSnapshotSize)) {
      current[row] = std::move(m_CurNames[old_row]);
      previous[row] = std::move(m_PrevNames[old_row]);
    } else {
      current[row] = previous[row] = m_LvOld.Cell(row, kBatchNew);
    }
  }
  m_CurNames = std::move(current);
  m_PrevNames = std::move(previous);
}

// --- Snapshots --------------------------------------------------------------------

void FrmID3::TakeNameSnapshot() {
  const int covered = std::min(m_LvOld.row_count(), kNameSnapshotSize);
  // PrevNames is column New as it stood before this step. CurNames holds just
  // that unless it was emptied (Start Over) or never filled; then the column
  // itself is the one to keep, or Oops! would blank every name.
  const bool current_known = !m_CurNames[0].empty();
  for (int i = 0; i < covered; ++i) {
    m_PrevNames[i] = current_known ? m_CurNames[i] : m_LvOld.Cell(i, kBatchNew);
  }
}

void FrmID3::StoreCurNames() {
  const int covered = std::min(m_LvOld.row_count(), kNameSnapshotSize);
  for (int i = 0; i < covered; ++i) m_CurNames[i] = m_LvOld.Cell(i, kBatchNew);
}

void FrmID3::FillSnapshots() {
  m_CurNames.assign(kNameSnapshotSize, std::string());
  StoreCurNames();
  m_PrevNames = m_CurNames;
}

}  // namespace tallymere
