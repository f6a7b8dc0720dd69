// The file operations on the rows of the file list: Delete File moves files
// to the trash and takes their records out, Rename File renames a file on
// disk and in its record, Correct File Name changes the record alone.

#include "mp3/file_name_check.h"
#include "windows/main/frm_main.h"
#include "windows/main/recycle_conversation.h"

namespace tallymere {
namespace {

constexpr std::string_view kRenameTitle = "Rename File";
constexpr std::string_view kCorrectTitle = "Correct File Name";
constexpr std::string_view kNewNamePrompt = "Enter new name. Legal characters only!";
constexpr std::string_view kIllegalNameText = "File name can not contain illegal characters.";
constexpr std::string_view kDiskErrorText =
    "An error has occured. It has the following possibilities: you are trying to write to a read "
    "only drive, you are trying to access an unavailable device.";

// A new name must stand in a catalog path and on disk alike: besides the
// characters Windows refuses, "\" would split the catalog path and NUL
// would end the name early.
bool IsLegalName(std::string_view name) { return IsLegalNewName(name, ""); }

}  // namespace

std::string FrmMain::RowPath(int row) const {
  return m_LV.Cell(row, kColPath) + m_LV.Cell(row, kColFileName);
}

int FrmMain::RecordOfRow(int row) const {
  return m_session.RecordOf(m_LV.Cell(row, kColPath), m_LV.Cell(row, kColFileName));
}

void FrmMain::mnuDelete_Click() {
  if (m_LV.SelectedCount() == 0) return;
  BusyScope busy_pointer(m_ui);

  // Check pass: only existing files on fixed drives go, read-only ones after Yes.
  for (int row = 0; row < m_LV.row_count(); ++row) {
    if (!m_LV.row(row).selected) continue;
    const std::string path = RowPath(row);
    if (!m_platform.FileExists(path) ||
        m_session.IsDiskDrive(DriveRootOf(m_LV.Cell(row, kColPath)))) {
      m_ui.ShowMessage(path +
                           " is either on a removable disk or dose not exist and will not be "
                           "deleted.",
                       Buttons::kOk, Icon::kWarning, kProgramTitle);
      m_LV.SetSelected(row, false);
      continue;
    }
    const Result<bool> read_only = m_platform.IsReadOnly(path);
    if (read_only.ok() && *read_only) {
      if (m_ui.ShowMessage(path + " is read only, delete it any way?.", Buttons::kYesNo,
                           Icon::kQuestion, kProgramTitle) != Answer::kYes) {
        m_LV.SetSelected(row, false);
      } else {
        // A refusal shows when the trash cannot take the file.
        m_platform.ResetAttributes(path).IgnoreError();
      }
    }
  }

  std::vector<std::string> doomed;
  for (int row = 0; row < m_LV.row_count(); ++row) {
    if (m_LV.row(row).selected && m_platform.FileExists(RowPath(row))) {
      doomed.push_back(RowPath(row));
    }
  }
  if (!doomed.empty()) RecycleWithConfirmation(m_ui, m_platform, doomed);
  m_ui.YieldToUi();

  // Remove pass: the records and rows of the files that are gone; files the
  // user kept (by cancelling the trash's question) keep theirs.
  for (int row = 0; row < m_LV.row_count();) {
    if (m_LV.row(row).selected && !m_platform.FileExists(RowPath(row))) {
      m_session.RemoveFile(RowPath(row));
      m_LV.RemoveRow(row);  // the next row moves into this place
    } else {
      ++row;
    }
  }
  m_session.set_changed(true);
}

void FrmMain::mnuRename_Click() {
  const int row = m_LV.FirstSelected();
  if (row < 0) return;
  const int record = RecordOfRow(row);
  const std::string path = RowPath(row);
  if (record == 0 || !m_platform.FileExists(path)) {
    m_ui.ShowMessage("File does not exist on path specified.", Buttons::kOk, Icon::kStop,
                     kRenameTitle);
    return;
  }
  if (m_ui.ShowMessage("Are you sure to rename \"" + path + "\" ?", Buttons::kYesNo,
                       Icon::kQuestion, kRenameTitle) != Answer::kYes) {
    return;
  }
  const std::string new_name =
      m_ui.AskText(kNewNamePrompt, kRenameTitle, m_session.catalog().Record(record).file_name);
  if (new_name.empty()) return;
  if (!IsLegalName(new_name)) {
    m_ui.ShowMessage(kIllegalNameText, Buttons::kOk, Icon::kStop, kRenameTitle);
    return;
  }
  const std::string target = m_LV.Cell(row, kColPath) + new_name;
  const bool replace = m_platform.FileExists(target) && target != path;
  if (replace && m_ui.ShowMessage("The file with the same name exist. Do you want to replace it?",
                                  Buttons::kYesNo, Icon::kQuestion, kRenameTitle) != Answer::kYes) {
    return;
  }
  if (!m_session.RenameFile(record, new_name, replace)) {
    m_ui.ShowMessage(kDiskErrorText, Buttons::kOk, Icon::kStop, kRenameTitle);
    return;
  }
  m_LV.SetCell(row, kColFileName, new_name);
  m_ui.SetStatus(kStatusPanel, "File on disk has been renamed, data updated.");
}

void FrmMain::mnuCorrect_Click() {
  const int row = m_LV.FirstSelected();
  if (row < 0) return;
  const int record = RecordOfRow(row);
  if (record == 0) {
    m_ui.ShowMessage(kDiskErrorText, Buttons::kOk, Icon::kStop, kProgramTitle);
    return;
  }
  if (m_ui.ShowMessage("Are you sure to correct \"" + RowPath(row) + "\" ?", Buttons::kYesNo,
                       Icon::kQuestion, kProgramTitle) != Answer::kYes) {
    return;
  }
  std::string new_name;
  for (;;) {
    new_name =
        m_ui.AskText(kNewNamePrompt, kCorrectTitle, m_session.catalog().Record(record).file_name);
    if (new_name.empty()) return;
    if (IsLegalName(new_name)) break;
    m_ui.ShowMessage(kIllegalNameText, Buttons::kOk, Icon::kStop, kProgramTitle);
  }
  m_session.CorrectFileName(record, new_name);
  m_LV.SetCell(row, kColFileName, new_name);
  m_ui.SetStatus(kStatusPanel, "File name has been changed, data updated.");
}

}  // namespace tallymere
