#include "windows/main/data_field_editor.h"

#include <unordered_map>

#include "mp3/editor_name_fields.h"
#include "mp3/tag_writer.h"
#include "views/file_list_row.h"
#include "windows/main/song_names.h"
#include "windows/ui_scopes.h"

namespace tallymere {
namespace {

// A file as Update matches it: its folder and its name without extension,
// compared exactly, letter case included.
std::string MatchKey(std::string_view path, std::string_view name_without_extension) {
  std::string key(path);
  key += name_without_extension;
  return key;
}

}  // namespace

DataFieldEditor::DataFieldEditor(UiServices& ui, CatalogSession& session, ListModel& file_list)
    : m_ui(ui),
      m_session(session),
      m_file_list(file_list),
      m_LVData({"File Name", "Artist ", "Title", "Album", "Path"}, {3000, 1800, 2200, 2000, 3000}) {
}

bool DataFieldEditor::FillFromFileList() {
  m_LVData.Clear();
  std::vector<ListRow> entries;
  for (int row : m_file_list.SelectedRows()) {
    const std::string& name = m_file_list.Cell(row, kColFileName);
    if (!EndsInMp3(name)) {
      m_ui.ShowMessage(name + " is not a MP3 file. This option is available only on MP3 data file.",
                       Buttons::kOk, Icon::kStop, kProgramTitle);
      return false;
    }
    ListRow entry;
    entry.text = std::string(WithoutExtension(name));
    entry.sub_items = {m_file_list.Cell(row, kColArtist), m_file_list.Cell(row, kColTitle),
                       m_file_list.Cell(row, kColAlbum), m_file_list.Cell(row, kColPath)};
    entries.push_back(std::move(entry));
  }
  m_LVData.AddRows(std::move(entries));
  return true;
}

void DataFieldEditor::EnterTab() {
  m_apply_to_all = true;
  m_chkArt = false;
  m_chkTitle = false;
  m_chkAlbum = true;
}

std::vector<int> DataFieldEditor::RowsInScope() const {
  if (!m_apply_to_all) return m_LVData.SelectedRows();
  std::vector<int> rows(static_cast<std::size_t>(m_LVData.row_count()));
  for (int row = 0; row < m_LVData.row_count(); ++row) rows[static_cast<std::size_t>(row)] = row;
  return rows;
}

void DataFieldEditor::ClearInputs() {
  m_tTitle.clear();
  m_tArt.clear();
  m_tAlb.clear();
}

void DataFieldEditor::LVData_ItemClick(int row) {
  if (row < 0 || row >= m_LVData.row_count()) return;
  m_tArt = m_LVData.Cell(row, kDataArtist);
  m_tTitle = m_LVData.Cell(row, kDataTitle);
  m_tAlb = m_LVData.Cell(row, kDataAlbum);
  m_tFile = m_LVData.Cell(row, kDataFileName) + std::string(kSongExtension);
  m_ui.SetStatus(kStatusPanel, m_LVData.Cell(row, kDataPath) + m_tFile);
  m_ui.SetStatus(kCountPanel, "Total: " + std::to_string(m_LVData.row_count()) + " file(s)");
}

void DataFieldEditor::cmdUse_Click() {
  ClearInputs();
  for (int row : RowsInScope()) {
    const std::string name = m_LVData.Cell(row, kDataFileName);
    const std::optional<EditorNameFields> fields = EditorFieldsFromName(name);
    if (!fields) {
      m_ui.ShowMessage("Unable to determin fields in " + name + std::string(kSongExtension),
                       Buttons::kOk, Icon::kStop, kMp3UtilitiesTitle);
      continue;
    }
    m_LVData.SetCell(row, kDataArtist, fields->artist);
    if (fields->album) m_LVData.SetCell(row, kDataAlbum, *fields->album);
    m_LVData.SetCell(row, kDataTitle, fields->title);
  }
}

void DataFieldEditor::cmdEnter_Click() {
  for (int row : RowsInScope()) {
    if (m_chkArt) m_LVData.SetCell(row, kDataArtist, m_tArt);
    if (m_chkTitle) m_LVData.SetCell(row, kDataTitle, m_tTitle);
    if (m_chkAlbum) m_LVData.SetCell(row, kDataAlbum, m_tAlb);
  }
  ClearInputs();
}

void DataFieldEditor::SwapColumns(int first, int second) {
  for (int row : RowsInScope()) {
    std::string was_first = m_LVData.Cell(row, first);
    m_LVData.SetCell(row, first, m_LVData.Cell(row, second));
    m_LVData.SetCell(row, second, std::move(was_first));
  }
}

void DataFieldEditor::cmdAtoT_Click() { SwapColumns(kDataArtist, kDataTitle); }
void DataFieldEditor::cmdTtoA_Click() { SwapColumns(kDataTitle, kDataAlbum); }

void DataFieldEditor::mnuClearField_Click() {
  for (int row = 0; row < m_LVData.row_count(); ++row) {
    for (int column : {kDataArtist, kDataTitle, kDataAlbum}) m_LVData.SetCell(row, column, "");
  }
}

void DataFieldEditor::mnuPop3Del_Click() {
  std::vector<bool> doomed(static_cast<std::size_t>(m_LVData.row_count()), false);
  for (int row : m_LVData.SelectedRows()) doomed[static_cast<std::size_t>(row)] = true;
  m_LVData.RemoveRows(doomed);
  m_tFile.clear();
  ClearInputs();
}

void DataFieldEditor::mnuPop3DelAll_Click() {
  m_LVData.Clear();
  m_tFile.clear();
  ClearInputs();
}

void DataFieldEditor::cmdUpdata_Click() {
  if (m_LVData.row_count() == 0) return;
  const BusyScope busy(m_ui);
  ShowInFileList(UpdateRecords());
  if (m_ui.ShowMessage("Data has been updated, Clear all files in list?", Buttons::kYesNo,
                       Icon::kQuestion, kProgramTitle) == Answer::kYes) {
    mnuPop3DelAll_Click();
  }
  // Set whether or not an entry found its record, as the command always did.
  m_session.set_changed(true);
}

std::vector<int> DataFieldEditor::UpdateRecords() {
  CatalogTable& catalog = m_session.catalog();
  // Each entry's record is the first whose Path and name match; one walk of
  // the catalog finds them all, so a full catalog stays quick.
  std::unordered_map<std::string, int> first_record;
  const int end = catalog.CatalogEnd();
  for (int index = 1; index < end; ++index) {
    const CatalogRecord& record = catalog.Record(index);
    first_record.emplace(MatchKey(record.path, WithoutExtension(record.file_name)), index);
  }
  std::vector<int> updated;
  for (int row = 0; row < m_LVData.row_count(); ++row) {
    const auto found = first_record.find(
        MatchKey(m_LVData.Cell(row, kDataPath), m_LVData.Cell(row, kDataFileName)));
    if (found == first_record.end()) continue;
    CatalogRecord& record = catalog.MutableRecord(found->second);
    record.artist = m_LVData.Cell(row, kDataArtist);
    record.title = m_LVData.Cell(row, kDataTitle);
    record.album = m_LVData.Cell(row, kDataAlbum);
    updated.push_back(found->second);
  }
  return updated;
}

void DataFieldEditor::ShowInFileList(const std::vector<int>& updated) {
  const CatalogTable& catalog = m_session.catalog();
  std::unordered_map<std::string, int> record_of;  // file key -> record index
  for (int index : updated) {
    const CatalogRecord& record = catalog.Record(index);
    record_of[FileIdentity(record.path, record.file_name)] = index;
  }
  if (record_of.empty()) return;
  for (int row = 0; row < m_file_list.row_count(); ++row) {
    const auto found = record_of.find(
        FileIdentity(m_file_list.Cell(row, kColPath), m_file_list.Cell(row, kColFileName)));
    if (found == record_of.end()) continue;
    const CatalogRecord& record = catalog.Record(found->second);
    m_file_list.SetCell(row, kColArtist, ShownText(record.artist));
    m_file_list.SetCell(row, kColTitle, ShownText(record.title));
    m_file_list.SetCell(row, kColAlbum, ShownText(record.album));
  }
}

}  // namespace tallymere
