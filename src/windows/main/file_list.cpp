// The file list's own behaviour: sorting by a column, selection totals,
// opening a file, copying its name and grid lines.

#include <charconv>
#include <unordered_map>

#include "common/format.h"
#include "lists/gshell.h"
#include "windows/main/frm_main.h"

namespace tallymere {
namespace {

constexpr int kFileNotFoundError = 53;

int64_t SizeOfRow(const ListModel& list, int row) {
  const std::string& text = list.Cell(row, kColSize);
  int64_t size = 0;
  std::from_chars(text.data(), text.data() + text.size(), size);
  return size;
}

}  // namespace

void FrmMain::LV_ColumnClick(int column) {
  const int key = column - 1;
  if (m_view.last_sort_column != key) {
    m_LV.SetSortOrder(SortOrder::kAscending);
  } else {
    m_LV.SetSortOrder(m_LV.sort_order() == SortOrder::kAscending ? SortOrder::kDescending
                                                                 : SortOrder::kAscending);
  }
  m_LV.SetSortKey(key);
  m_LV.SetSorted(true);
  m_view.last_sort_column = key;
}

void FrmMain::LV_ItemClick(int row) {
  if (row < 0 || row >= m_LV.row_count()) return;
  int64_t total = 0;
  const std::vector<int> selected = m_LV.SelectedRows();
  for (int index : selected) total += SizeOfRow(m_LV, index);
  m_selection_count = static_cast<int>(selected.size());
  m_ui.SetStatus(kStatusPanel, m_LV.Cell(row, kColPath) + m_LV.Cell(row, kColFileName));
  m_ui.SetStatus(kCountPanel, std::to_string(m_selection_count) + " selected");
  m_ui.SetStatus(kSizePanel, FormatMegabytes(static_cast<double>(total)) + " MB");
}

void FrmMain::LV_DblClick() { OpenSelectedFile(); }

void FrmMain::LV_KeyDown(int key_code) {
  if (key_code == kKeyEnter) OpenSelectedFile();
  if (key_code == kKeyDelete) mnuDelete_Click();
}

void FrmMain::OpenSelectedFile() {
  const int row = m_LV.FirstSelected();
  if (row < 0) return;
  OpenCatalogFile(m_LV.Cell(row, kColPath), m_LV.Cell(row, kColFileName),
                  m_LV.Cell(row, kColDiskLabel));
}

void FrmMain::OpenCatalogFile(const std::string& path, const std::string& file_name,
                              const std::string& disk_label) {
  const std::optional<std::string> native = m_platform.ToNative(path + file_name);
  ShellError error;
  if (!native) {
    // A drive this machine does not have is as good as a disk not inserted.
    error = ShellErrorFor(ShellResult::kFileNotFound);
  } else if (GShell(m_ui, *native, kShowDefault, "", "", "open", &error)) {
    return;
  }
  // The desktop shows no message of its own for a failure it reports at
  // once (no program for the file's type, no access): say it here, or the
  // double click would do nothing visible.
  if (error.number != kFileNotFoundError || IsDriveRootLabel(disk_label)) {
    m_ui.ShowMessage(error.description, Buttons::kOk, Icon::kStop, kProgramTitle);
  } else {
    m_ui.ShowMessage(InsertDiskText(disk_label, DriveRootOf(path)), Buttons::kOk,
                     Icon::kInformation, kProgramTitle);
  }
}

bool FrmMain::ShowCatalogFile(const std::string& path, const std::string& file_name) {
  // The folder's node holds the file: its key is the folder key of the
  // file's record, which carries the disk's label.
  const int end = m_session.catalog().CatalogEnd();
  for (int index = 1; index < end; ++index) {
    const CatalogRecord& record = m_session.catalog().Record(index);
    if (record.path != path || record.file_name != file_name) continue;
    const int node = m_tvAlbum.Find(FolderKey(record));
    if (node == TreeModel::kNoNode) return false;
    m_tvAlbum.Select(node);
    tvAlbum_NodeClick(node);
    for (int row = 0; row < m_LV.row_count(); ++row) {
      if (m_LV.Cell(row, kColPath) == path && m_LV.Cell(row, kColFileName) == file_name) {
        m_LV.SelectOnly(row);
        LV_ItemClick(row);
        m_view.focus_request = "LV";
        return true;
      }
    }
    return false;
  }
  return false;
}

void FrmMain::ShowRewrites(const std::vector<RecordRewrite>& rewrites) {
  std::unordered_map<std::string, const RecordRewrite*> rewrite_of;
  for (const RecordRewrite& rewrite : rewrites) {
    rewrite_of.emplace(FileIdentity(rewrite.file.path, rewrite.file.file_name), &rewrite);
  }
  for (int row = 0; row < m_LV.row_count(); ++row) {
    const auto found =
        rewrite_of.find(FileIdentity(m_LV.Cell(row, kColPath), m_LV.Cell(row, kColFileName)));
    if (found == rewrite_of.end()) continue;
    const RecordRewrite& rewrite = *found->second;
    if (rewrite.new_name) m_LV.SetCell(row, kColFileName, *rewrite.new_name);
    if (rewrite.size) m_LV.SetCell(row, kColSize, std::to_string(*rewrite.size));
    if (rewrite.artist) m_LV.SetCell(row, kColArtist, ShownText(*rewrite.artist));
    if (rewrite.title) m_LV.SetCell(row, kColTitle, ShownText(*rewrite.title));
    if (rewrite.album) m_LV.SetCell(row, kColAlbum, ShownText(*rewrite.album));
  }
}

void FrmMain::mnuClip_Click() {
  const int row = m_LV.FirstSelected();
  if (row >= 0) m_ui.CopyToClipboard(m_LV.Cell(row, kColFileName));
}

void FrmMain::mnuGrid_Click() {
  m_view.grid_checked = !m_view.grid_checked;
  m_LV.SetGridLines(m_view.grid_checked);
  m_playlist.LVP().SetGridLines(m_view.grid_checked);
}

}  // namespace tallymere
