// The file list's own behaviour: sorting by a column, selection totals,
// opening a file, copying its name and grid lines.

#include <charconv>

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
  if (m_last_sort_column != key) {
    m_LV.SetSortOrder(SortOrder::kAscending);
  } else {
    m_LV.SetSortOrder(m_LV.sort_order() == SortOrder::kAscending ? SortOrder::kDescending
                                                                 : SortOrder::kAscending);
  }
  m_LV.SetSortKey(key);
  m_LV.SetSorted(true);
  m_last_sort_column = key;
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
  const std::string full = m_LV.Cell(row, kColPath) + m_LV.Cell(row, kColFileName);
  const std::string& disk_label = m_LV.Cell(row, kColDiskLabel);
  const std::optional<std::string> native = m_platform.ToNative(full);
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
    m_ui.ShowMessage("Please insert disk labeled:   \"" + disk_label + "\"  into  \"" +
                         std::string(DriveRootOf(m_LV.Cell(row, kColPath))) + "\" drive.",
                     Buttons::kOk, Icon::kInformation, kProgramTitle);
  }
}

void FrmMain::mnuClip_Click() {
  const int row = m_LV.FirstSelected();
  if (row >= 0) m_ui.CopyToClipboard(m_LV.Cell(row, kColFileName));
}

void FrmMain::mnuGrid_Click() {
  m_grid_checked = !m_grid_checked;
  m_LV.SetGridLines(m_grid_checked);
  m_playlist.LVP().SetGridLines(m_grid_checked);
}

}  // namespace tallymere
