// The tag commands of MP3 Utilities: Write Tag, Erase Tag and Write Tag Using
// File Name over the entries in scope, and, for a batch sent from the
// catalog, the matching catalog records after them.

#include "catalog/file_list_row.h"
#include "common/sorted_list.h"
#include "mp3/name_fields.h"
#include "windows/main/frm_main.h"
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
  if (busy() || m_LvOld.row_count() == 0) return;
  const TagCommandTexts& texts = command == TagCommand::kWrite   ? kWriteTexts
                                 : command == TagCommand::kErase ? kEraseTexts
                                                                 : kFromNameTexts;
  if (m_optAll && m_ui.ShowMessage(texts.confirm, Buttons::kYesNo, Icon::kQuestion,
                                   kWriteTagTitle) != Answer::kYes) {
    return;
  }
  const BusyScope busy_pointer(m_ui);
  SetStatus(1, std::string(texts.working));
  if (command == TagCommand::kFromName) ClearEditorTexts();

  const std::vector<int> rows = RowsInScope();
  for (int row : rows) {
    switch (command) {
      case TagCommand::kWrite:
        // The editor keeps its values: every file receives the same fields.
        WriteTag(m_ui, m_platform, EntryFile(row), m_editor);
        break;
      case TagCommand::kErase:
        EraseTag(m_ui, m_platform, EntryFile(row), m_editor);
        break;
      case TagCommand::kFromName:
        TagFromFileName(row);
        break;
    }
  }
  if (command == TagCommand::kFromName) ShowTagOfCurrentEntry();

  if (LinkedToCatalog()) {
    SetStatus(1, std::string(texts.updating));
    bool updated = false;
    if (!UpdateCatalog(rows, command == TagCommand::kErase, &updated)) {
      // The command ends here, but records already changed must still be
      // saved: without the changed flag they would be lost without a word.
      if (updated) m_main.set_changed(true);
      return;
    }
    SetStatus(1, std::string(texts.updated));
  } else {
    SetStatus(1, std::string(texts.done));
  }
  m_main.set_changed(true);
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
  WriteTag(m_ui, m_platform, EntryFile(row), m_editor);
  ClearEditorTexts();
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
  CatalogTable& catalog = m_main.catalog();
  const int end = catalog.CatalogEnd();
  for (int row : rows) {
    const std::string& path = m_LvOld.Cell(row, kBatchPath);
    const std::string file_name = m_LvOld.Cell(row, kBatchOriginal) + std::string(kMp3Extension);
    std::optional<Mp3Info> tag;
    for (int index = 1; index < end; ++index) {
      const CatalogRecord& record = catalog.Record(index);
      if (record.path != path || CompareNoCase(record.file_name, file_name) != 0) continue;
      if (!erase && !tag) {
        // Read once, at the first record that needs it.
        Mp3Info info;
        if (!ReadInfo(EntryFile(row), &info).ok()) return false;
        tag = std::move(info);
      }
      CatalogRecord& target = catalog.MutableRecord(index);
      target.artist = erase ? std::string() : tag->TagArtist;
      target.title = erase ? std::string() : tag->TagTitle;
      target.album = erase ? std::string() : tag->TagAlbum;
      *updated = true;
    }
  }
  return true;
}

}  // namespace tallymere
