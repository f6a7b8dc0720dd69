// Preparing new names and renaming: Extract ID3 Tag, Manual, Oops!, Start
// Over, Rename with its checks, log and report, and Undo.

#include <algorithm>
#include <unordered_map>

#include "catalog/text_file.h"
#include "common/format.h"
#include "lists/gshell.h"
#include "mp3/file_name_check.h"
#include "mp3/name_fields.h"
#include "mp3/rename_log.h"
#include "views/file_list_row.h"
#include "windows/mp3_utilities/batch_entry.h"
#include "windows/mp3_utilities/frm_id3.h"
#include "windows/ui_scopes.h"

namespace tallymere {
namespace {

constexpr std::string_view kRenameFileTitle = "Rename File";

}  // namespace

// --- Preparing names -----------------------------------------------------------------

void FrmID3::mnuIDrenam_Click() {
  const StateNotice notice(*this);
  if (m_LvOld.row_count() == 0) return;
  for (int row : RowsInScope()) {
    Mp3Info info;  // a fresh read: no tag field of the previous file remains
    const Result<std::string> read = ReadInfo(EntryFile(row), &info);
    if (!read.ok()) {
      m_ui.ShowMessage(read.status().message(), Buttons::kOk, Icon::kStop, kMp3UtilitiesTitle);
      return;
    }
    // No snapshot: Oops! does not take this step back.
    m_LvOld.SetCell(row, kBatchNew, NameFromTag(info, m_mnuAlbum, m_mnuCom));
  }
  ShowNewName();
  // Rename is offered wherever it is reached from, menu or toolbar.
  m_commands.Enable(Id3Command::kRen, true);
  m_commands.EnableButton(id3_toolbar::kRen, true);
}

void FrmID3::mnuMan_Click() {
  const StateNotice notice(*this);
  if (m_LvOld.row_count() == 0) return;
  const int row = m_LvOld.current();
  if (row < 0) return;
  TakeNameSnapshot();
  m_LvOld.SetCell(row, kBatchNew, m_txtDisplay);
  StoreCurNames();
  // A naming step like the text tools: the name can be renamed or taken back.
  EnableNamingStep();
}

void FrmID3::mnuOops_Click() {
  const StateNotice notice(*this);
  const int covered = std::min(m_LvOld.row_count(), kNameSnapshotSize);
  for (int i = 0; i < covered; ++i) {
    m_LvOld.SetCell(i, kBatchNew, m_PrevNames[i]);
    m_CurNames[i] = m_PrevNames[i];
  }
  ShowNewName();
  m_commands.Enable(Id3Command::kOops, false);
  m_commands.EnableButton(id3_toolbar::kOops, false);
}

void FrmID3::mnuStartOver_Click() {
  const StateNotice notice(*this);
  m_CurNames.assign(kNameSnapshotSize, std::string());
  m_PrevNames.assign(kNameSnapshotSize, std::string());
  for (int row = 0; row < m_LvOld.row_count(); ++row) {
    m_LvOld.SetCell(row, kBatchNew, m_LvOld.Cell(row, kBatchOriginal));
  }
  ShowNewName();
  // The snapshots are empty: Oops! would blank every name.
  m_commands.Enable(Id3Command::kOops, false);
  m_commands.EnableButton(id3_toolbar::kOops, false);
}

// --- Rename ------------------------------------------------------------------------

void FrmID3::mnuRen_Click() {
  const StateNotice notice(*this);
  if (m_LvOld.row_count() == 0) return;
  if (!CheckEntriesBeforeRename() || m_LvOld.row_count() == 0) return;
  if (HasNameClash()) {
    m_ui.ShowMessage("Duplicate name found, please correct the problem first.", Buttons::kOk,
                     Icon::kStop, kRenameFileTitle);
    return;
  }
  if (m_ui.ShowMessage("Are you sure?", Buttons::kYesNo, Icon::kQuestion, "Confirm Rename") !=
      Answer::kYes) {
    return;
  }

  const BusyScope busy_pointer(m_ui);
  const int count = m_LvOld.row_count();
  std::vector<RenameLogEntry> log;
  log.reserve(static_cast<std::size_t>(count));
  std::vector<bool> renamed(static_cast<std::size_t>(count), false);
  std::vector<Renamed> moved;
  int failures = 0;
  for (int row = 0; row < count; ++row) {
    const std::string& folder = m_LvOld.Cell(row, kBatchPath);
    const std::string& extension = m_LvOld.Cell(row, kBatchExtension);
    const std::string old_name = m_LvOld.Cell(row, kBatchOriginal) + extension;
    const std::string new_name = m_LvOld.Cell(row, kBatchNew) + extension;
    RenameLogEntry entry{RenameLogFileText(folder, old_name), {}};
    const Status status = m_platform.RenameFile(folder + old_name, folder + new_name);
    if (status.ok()) {
      entry.new_text = RenameLogFileText(folder, new_name);
      renamed[static_cast<std::size_t>(row)] = true;
      moved.push_back({folder, old_name, new_name});
    } else {
      ++failures;
      entry.new_text = RenameLogFailureText(status.message());
      m_ui.ShowMessage(status.message() + " , while renaming: " + folder + old_name, Buttons::kOk,
                       Icon::kStop, kProgramTitle);
    }
    log.push_back(std::move(entry));
  }
  RenameInCatalog(moved);

  if (m_mnuLog) {
    const std::string log_path = m_LvOld.Cell(0, kBatchPath) + std::string(kRenameLogName);
    if (const Status written = WriteRenameLog(log_path, log, failures); !written.ok()) {
      m_ui.ShowMessage(written.message(), Buttons::kOk, Icon::kStop, kProgramTitle);
    } else {
      ReportRename(log_path, failures);
    }
  } else {
    ReportRename("", failures);
  }

  // The files stay renamed whatever happened to the log, so the batch follows
  // them; an entry whose rename failed still names its file.
  for (int row = 0; row < count; ++row) {
    const std::string original = m_LvOld.Cell(row, kBatchOriginal);
    m_LvOld.SetCell(row, kBatchOldName, original);
    if (renamed[static_cast<std::size_t>(row)]) {
      m_LvOld.SetCell(row, kBatchOriginal, m_LvOld.Cell(row, kBatchNew));
    }
  }
  m_commands.Enable(Id3Command::kRen, false);
  m_commands.EnableButton(id3_toolbar::kRen, false);
  m_commands.Enable(Id3Command::kUndo, true);
  m_commands.EnableButton(id3_toolbar::kUndo, true);
}

bool FrmID3::CheckEntriesBeforeRename() {
  // Everything that needs no answer first, so a refused batch has had no
  // attributes reset.
  for (int row = 0; row < m_LvOld.row_count(); ++row) {
    const std::string file = EntryFile(row);
    if (!m_platform.FileExists(file)) {
      m_ui.ShowMessage(file + " not found. Can not continue.", Buttons::kOk, Icon::kStop,
                       kProgramTitle);
      return false;
    }
    const std::string& new_name = m_LvOld.Cell(row, kBatchNew);
    if (new_name.empty()) {
      m_ui.ShowMessage("File name can not be empty! Please correct the problem first.",
                       Buttons::kOk, Icon::kStop, kProgramTitle);
      return false;
    }
    if (!IsLegalNewName(new_name, m_LvOld.Cell(row, kBatchExtension))) {
      m_ui.ShowMessage("File name can not contain illegal characters.", Buttons::kOk, Icon::kStop,
                       kRenameFileTitle);
      return false;
    }
  }
  // Read-only files the user keeps leave the batch, all at once at the end.
  std::vector<bool> kept_back(static_cast<std::size_t>(m_LvOld.row_count()), false);
  for (int row = 0; row < m_LvOld.row_count(); ++row) {
    const std::string file = EntryFile(row);
    const Result<bool> read_only = m_platform.IsReadOnly(file);
    if (read_only.ok() && *read_only) {
      if (m_ui.ShowMessage(file + " is read only. Rename it anyway?", Buttons::kYesNo,
                           Icon::kQuestion, "Confirm") != Answer::kYes) {
        kept_back[static_cast<std::size_t>(row)] = true;
        continue;
      }
      if (const Status reset = m_platform.ResetAttributes(file); !reset.ok()) {
        m_ui.ShowMessage(reset.message(), Buttons::kOk, Icon::kStop, kProgramTitle);
      }
    }
  }
  RemoveEntries(kept_back);
  return true;
}

bool FrmID3::HasNameClash() const {
  // Entries are renamed in list order: a new name may take the old name of an
  // earlier entry (gone by then) but not of a later one.
  std::unordered_map<std::string, int> first_with_new_name;
  const int count = m_LvOld.row_count();
  for (int i = 0; i < count; ++i) {
    first_with_new_name.emplace(m_LvOld.Cell(i, kBatchPath) + m_LvOld.Cell(i, kBatchNew), i);
  }
  for (int j = 0; j < count; ++j) {
    const auto found =
        first_with_new_name.find(m_LvOld.Cell(j, kBatchPath) + m_LvOld.Cell(j, kBatchOriginal));
    if (found != first_with_new_name.end() && found->second < j) return true;
  }
  return false;
}

Status FrmID3::WriteRenameLog(const std::string& log_path, const std::vector<RenameLogEntry>& log,
                              int failures) const {
  const std::optional<std::string> native = m_platform.ToNative(log_path);
  if (!native)
    return Status::Error(StatusCode::kNotFound, "Cannot write \"" + log_path + "\": no such drive");
  return WriteTextFile(m_platform, *native,
                       RenameLogLines(log_path, FormatDateTime(m_platform.Now()), log, failures));
}

void FrmID3::ReportRename(const std::string& log_path, int failures) {
  if (!m_mnuLog) {
    m_ui.ShowMessage(
        failures == 0 ? "Files have been renamed successfully. " : "Error occured during rename. ",
        Buttons::kOk, Icon::kQuestion, kProgramTitle);
    return;
  }
  const std::string_view text =
      failures == 0 ? "Files have been renamed successfully. Do you want to see the log file now?"
                    : "Error occured during rename. Do you want to see the log file now?";
  if (m_ui.ShowMessage(text, Buttons::kYesNo, Icon::kQuestion, kProgramTitle) != Answer::kYes) {
    return;
  }
  // A failure to open the log is the desktop's to report.
  if (const std::optional<std::string> native = m_platform.ToNative(log_path)) {
    GShell(m_ui, *native, kShowDefault, "", "", "open");
  }
}

// --- Undo ----------------------------------------------------------------------------

void FrmID3::mnuUndo_Click() {
  const StateNotice notice(*this);
  if (m_LvOld.row_count() == 0) return;
  const BusyScope busy_pointer(m_ui);
  bool failed = false;
  std::vector<Renamed> moved;
  // Last renamed, first back: after A to C and B to A, C goes back to A only
  // once A has gone back to B.
  for (int row = m_LvOld.row_count() - 1; row >= 0; --row) {
    const std::string old_name = m_LvOld.Cell(row, kBatchOldName);
    const std::string original = m_LvOld.Cell(row, kBatchOriginal);
    // Entries the last Rename did not move have nothing to take back.
    if (old_name.empty() || old_name == original) continue;
    const std::string& folder = m_LvOld.Cell(row, kBatchPath);
    const std::string& extension = m_LvOld.Cell(row, kBatchExtension);
    if (!m_platform.RenameFile(folder + original + extension, folder + old_name + extension).ok()) {
      failed = true;  // skipped: the entry keeps naming the file where it is
      continue;
    }
    m_LvOld.SetCell(row, kBatchOriginal, old_name);
    moved.push_back({folder, original + extension, old_name + extension});
  }
  RenameInCatalog(moved);
  m_commands.Enable(Id3Command::kUndo, false);
  m_commands.EnableButton(id3_toolbar::kUndo, false);
  m_commands.Enable(Id3Command::kRen, true);
  m_commands.EnableButton(id3_toolbar::kRen, true);
  if (!failed) {
    m_ui.ShowMessage("Undo successful!", Buttons::kOk, Icon::kInformation, kProgramTitle);
  }
}

// --- The catalog follows ------------------------------------------------------------

void FrmID3::RenameInCatalog(const std::vector<Renamed>& renamed) {
  if (!LinkedToCatalog() || renamed.empty()) return;
  std::vector<RecordRewrite> rewrites;
  rewrites.reserve(renamed.size());
  for (const Renamed& file : renamed) {
    RecordRewrite rewrite;
    rewrite.file = {file.folder, file.from};
    rewrite.new_name = file.to;
    rewrites.push_back(std::move(rewrite));
  }
  m_session.RewriteRecords(rewrites);
  m_session.set_changed(true);
}

}  // namespace tallymere
