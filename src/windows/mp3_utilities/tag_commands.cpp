// The tag commands of MP3 Utilities: Write Tag, Erase Tag and Write Tag Using
// File Name over the entries in scope, and, for a batch sent from the
// catalog, the matching catalog records after them.

#include <unordered_map>

#include "common/ascii_case.h"
#include "common/sorted_list.h"
#include "mp3/name_fields.h"
#include "views/file_list_row.h"
#include "windows/mp3_utilities/batch_entry.h"
#include "windows/mp3_utilities/frm_id3.h"
#include "windows/ui_scopes.h"

namespace tallymere {
namespace {

constexpr std::string_view kWriteTagTitle = "Write Tag";

// What one command says at each step.
struct TagCommandTexts {
  std::string_view confirm;
  std::string_view working;
  std::string_view updating;
  std::string_view updated;  // linked to the catalog
  std::string_view done;     // not linked
};

constexpr TagCommandTexts kWriteTexts = {"Are you sure to apply to all files listed?",
                                         "Writing tags. . .", "Updating data file.  .  .",
                                         "Tags and data updated.", "Write tag successful.."};
constexpr TagCommandTexts kEraseTexts = {"Are you sure to erase all tags in files listed?",
                                         "Erasing.  .  .", "Updating data.  .  .",
                                         "Tags removed, data updated.", "Erase tag successful."};
constexpr TagCommandTexts kFromNameTexts = {
    "Are you sure to apply to all files listed?", "Analysing file name(s) and writing tags . . .",
    "Updating data file . . .", "Tags and data updated.", "Write tag successful."};

}  // namespace

void FrmID3::mnuWrite_Click() { RunTagCommand(TagCommand::kWrite); }
void FrmID3::mnuRemove_Click() { RunTagCommand(TagCommand::kErase); }
void FrmID3::mnuTagName_Click() { RunTagCommand(TagCommand::kFromName); }

void FrmID3::RunTagCommand(TagCommand command) {
  const StateNotice notice(*this);
  if (m_LvOld.row_count() == 0) return;
  const TagCommandTexts& texts = command == TagCommand::kWrite   ? kWriteTexts
                                 : command == TagCommand::kErase ? kEraseTexts
                                                                 : kFromNameTexts;
  const std::vector<int> rows = RowsInScope();
  if (rows.empty()) {
    // Nothing selected: report that, not a success over no file at all.
    m_ui.ShowMessage("Please select a file first.", Buttons::kOk, Icon::kInformation,
                     kMp3UtilitiesTitle);
    return;
  }
  // A character the code page cannot hold would fail every file alike:
  // refuse it once, before any file is touched.
  if (command == TagCommand::kWrite) {
    if (const Status problem = EditorTextProblem(m_editor, code_page()); !problem) {
      m_ui.ShowMessage(problem.message(), Buttons::kOk, Icon::kStop, kWriteTagTitle);
      return;
    }
  }
  if (m_optAll && m_ui.ShowMessage(texts.confirm, Buttons::kYesNo, Icon::kQuestion,
                                   kWriteTagTitle) != Answer::kYes) {
    return;
  }
  const BusyScope busy_pointer(m_ui);
  SetStatus(kId3StatusPanel, std::string(texts.working));
  if (command == TagCommand::kFromName) ClearEditorTexts();

  for (int row : rows) {
    switch (command) {
      case TagCommand::kWrite:
        // The editor keeps its values: every file receives the same fields.
        ReportTagWrite(WriteTag(m_platform, EntryFile(row), m_editor, code_page(), WritesId3v2()));
        break;
      case TagCommand::kErase:
        // A missing file ends silently; only a refused access is reported.
        if (EraseTag(m_platform, EntryFile(row), m_editor).code() == StatusCode::kNoAccess) {
          m_ui.ShowMessage(kFileAccessErrorText, Buttons::kOk, Icon::kStop, kMp3UtilitiesTitle);
        }
        break;
      case TagCommand::kFromName:
        TagFromFileName(row);
        break;
    }
  }
  if (command == TagCommand::kFromName) ShowTagOfCurrentEntry();
  // A tag added or erased changes the file: its details follow it.
  if (const int current = m_LvOld.current(); current >= 0) {
    Mp3Info info;
    ShowFileLabels(current, /*bitrate_dashes=*/false, &info);
  }

  if (LinkedToCatalog()) {
    SetStatus(kId3StatusPanel, std::string(texts.updating));
    bool updated = false;
    if (!UpdateCatalog(rows, command == TagCommand::kErase, &updated)) {
      // The command ends here, but records already changed must still be
      // saved: without the changed flag they would be lost without a word.
      if (updated) m_session.set_changed(true);
      return;
    }
    SetStatus(kId3StatusPanel, std::string(texts.updated));
  } else {
    SetStatus(kId3StatusPanel, std::string(texts.done));
  }
  m_session.set_changed(true);
}

void FrmID3::TagFromFileName(int row) {
  const std::string& original = m_LvOld.Cell(row, kBatchOriginal);
  const std::optional<NameFields> fields = FieldsFromFileName(original);
  if (!fields) {
    const std::string& extension = m_LvOld.Cell(row, kBatchExtension);
    m_ui.ShowMessage("Unable to determin fields in " + original +
                         (extension.empty() ? std::string(kMp3Extension) : extension),
                     Buttons::kOk, Icon::kStop, kMp3UtilitiesTitle);
    return;
  }
  m_editor.artist = fields->artist;
  m_editor.album = fields->album;
  m_editor.comment = fields->comment;
  m_editor.title = fields->title;
  ReportTagWrite(WriteTag(m_platform, EntryFile(row), m_editor, code_page(), WritesId3v2()));
  ClearEditorTexts();
}

void FrmID3::ReportTagWrite(const Status& written) {
  if (!written) m_ui.ShowMessage(written.message(), Buttons::kOk, Icon::kStop, kMp3UtilitiesTitle);
}

void FrmID3::ShowTagOfCurrentEntry() {
  const int row = m_LvOld.current();
  if (row < 0) return;
  Mp3Info info;
  // Only the editor's display depends on this read; a file gone meanwhile
  // leaves the editor empty.
  if (!ReadInfo(EntryFile(row), &info).ok()) return;
  ShowTagInEditor(info);
}

bool FrmID3::UpdateCatalog(const std::vector<int>& rows, bool erase, bool* updated) {
  // The files as the catalog names them, each with the extension found on
  // disk, so that letter case compares exactly.
  std::vector<CatalogFile> files;
  files.reserve(rows.size());
  for (int row : rows) {
    files.push_back(
        {m_LvOld.Cell(row, kBatchPath), m_LvOld.Cell(row, kBatchOriginal) + EntryExtension(row)});
  }
  const std::vector<bool> held = m_session.HoldsFiles(files);
  std::vector<RecordRewrite> rewrites;
  bool complete = true;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!held[i]) continue;
    // The records take what a rescan would: after an erase, the ID3v2
    // tag's fields, or none when the file cannot be read any more.
    Mp3Info tag;
    if (!ReadInfo(EntryFile(rows[i]), &tag).ok()) {
      if (!erase) {
        complete = false;
        break;
      }
      tag = Mp3Info();
    }
    RecordRewrite rewrite;
    rewrite.file = files[i];
    rewrite.artist = tag.CatalogArtist();
    rewrite.title = tag.CatalogTitle();
    rewrite.album = tag.CatalogAlbum();
    // A tag appended makes the file 128 bytes longer.
    if (const Result<int64_t> length = m_platform.FileLength(EntryFile(rows[i]))) {
      rewrite.size = *length;
    }
    rewrites.push_back(std::move(rewrite));
  }
  // Records already changed are kept even when a later file ends the command.
  *updated = !rewrites.empty() && m_session.RewriteRecords(rewrites);
  return complete;
}

}  // namespace tallymere
