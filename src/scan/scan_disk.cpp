#include "scan/scan_disk.h"

#include "common/format.h"
#include "mp3/bitrat.h"
#include "scan/playing_time.h"

namespace tallymere {
namespace {

std::string WithBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path.push_back('\\');
  return path;
}

// The type filter looks at the last three characters only: SONG.MP3 and xmp3
// both pass for "mp3".
bool PassesTypeFilter(const std::string& name, const std::string& file_type) {
  if (file_type == "*.*") return true;
  std::string last = name.size() <= 3 ? name : name.substr(name.size() - 3);
  for (char& c : last) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  }
  return last == file_type;
}

void NoteSkippedFolder(const std::string& folder, ScanReport* report) {
  ++report->skipped_folder_count;
  if (static_cast<int>(report->skipped_folders.size()) < ScanReport::kNamedFolders) {
    report->skipped_folders.push_back(folder);
  }
}

}  // namespace

std::string CatalogFullMessage() {
  return "The catalog is full: it holds at most " + std::to_string(CatalogTable::kMaxFileRecords) +
         " files, and this scan found more. Nothing was changed; scan fewer folders at a time.";
}

void ScanEngine::Progress() const {
  if (m_progress) m_progress(m_folders_seen, m_state.file_count);
}

Status ScanEngine::GetAllFolders(const std::string& present_path, ScanReport* report,
                                 bool is_root) {
  Result<FolderListing> listing = m_platform.ListFolder(present_path, /*with_file_facts=*/false);
  if (!listing) {
    if (is_root) return listing.status();
    NoteSkippedFolder(present_path, report);
    return Status::Ok();
  }
  report->skipped_names += listing->skipped_names;
  std::vector<std::string> subfolders;
  for (const FolderEntry& entry : listing->entries) {
    m_ui.YieldToUi();
    if (entry.name == "pagefile.sys" || entry.name == "." || entry.name == "..") continue;
    if (!entry.is_folder) continue;
    std::string folder = present_path + entry.name;
    m_state.lstList.Add(folder);
    m_ui.SetStatus(1, "Scanning folder ... " + folder);
    ++m_folders_seen;
    Progress();
    subfolders.push_back(std::move(folder));
  }
  // Entered only now, so one folder's listing is never interleaved with another's.
  for (const std::string& folder : subfolders) {
    if (Status status = GetAllFolders(folder + "\\", report); !status) return status;
  }
  return Status::Ok();
}

Status ScanEngine::ScanDisk(const ScanSettings& settings, CatalogTable* catalog,
                            ScanReport* report) {
  m_state.lstList.Clear();
  m_folders_seen = 0;
  for (const std::string& batch_entry : m_state.lstBox) {
    const std::string root = WithBackslash(batch_entry);
    if (Status status = GetAllFolders(root, report, /*is_root=*/true); !status) {
      m_state.lstList.Clear();
      return status;
    }
    // With its "\" a root sorts before its own subfolders.
    m_state.lstList.Add(root);
  }
  m_state.next_record_index = 1;
  m_state.file_count = 0;
  CatalogTable table;
  for (const std::string& entry : m_state.lstList) {
    if (Status status = ScanFolder(WithBackslash(entry), settings, &table, report); !status) {
      m_state.lstList.Clear();
      m_state.next_record_index = 1;
      m_state.file_count = 0;
      return status;
    }
  }
  m_state.lstList.Clear();
  *catalog = std::move(table);
  m_ui.SetStatus(1, " Loading " + std::to_string(m_state.file_count) + " files, please wait . . .");
  return Status::Ok();
}

Status ScanEngine::ScanFolder(const std::string& folder, const ScanSettings& settings,
                              CatalogTable* table, ScanReport* report) {
  Result<FolderListing> listing = m_platform.ListFolder(folder, /*with_file_facts=*/true);
  m_ui.YieldToUi();
  if (!listing) {
    NoteSkippedFolder(folder, report);  // vanished or locked since it was found
    return Status::Ok();
  }
  report->skipped_names += listing->skipped_names;
  ++m_folders_seen;
  const bool all_files = settings.file_type == "*.*";
  for (const FolderEntry& entry : listing->entries) {
    if (entry.is_folder || !PassesTypeFilter(entry.name, settings.file_type)) continue;
    if (m_state.next_record_index > CatalogTable::kMaxFileRecords) {
      return Status::Error(CatalogFullMessage());
    }
    CatalogRecord& record = table->MutableRecord(m_state.next_record_index);
    record.path = folder;
    record.file_name = entry.name;
    if (!all_files) m_ui.SetStatus(1, "File found ... " + folder + entry.name);
    record.size = ClampSize(entry.size);
    record.modified = FormatDateTime(entry.modified);
    record.disk_label = m_state.label_mode ? m_state.label : folder.substr(0, 3);
    if (!all_files && settings.mp3_info_flag == 1) ReadMp3Fields(folder, entry.name, &record);
    ++m_state.next_record_index;
    ++m_state.file_count;
    Progress();
  }
  return Status::Ok();
}

void ScanEngine::ReadMp3Fields(const std::string& folder, const std::string& name,
                               CatalogRecord* record) {
  const std::string full = folder + name;
  const auto fail = [&](const Status& status) {
    m_ui.ShowMessage(status.message() + ". while opening \"" + full + "\"", Buttons::kOk,
                     Icon::kStop, kProgramTitle);
    record->artist.clear();
    record->album.clear();
    record->title.clear();
  };
  const std::optional<std::string> native = m_platform.ToNative(full);
  if (!native) return fail(Status::Error("Path not found"));
  Mp3Info info;
  Result<std::string> bitrate = ReadMp3Info(*native, &info);
  if (!bitrate) return fail(bitrate.status());
  record->bitrate = *bitrate;
  if (info.HasTag) {
    record->artist = info.TagArtist;
    record->album = info.TagAlbum;
    record->title = info.TagTitle;
  }
  if (record->bitrate == "---") {
    record->time = "---";
    return;
  }
  Result<std::string> time = PlayingTime(record->size, record->bitrate);
  if (!time) return fail(time.status());
  record->time = *time;
}

}  // namespace tallymere
