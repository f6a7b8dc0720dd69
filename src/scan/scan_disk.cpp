#include "scan/scan_disk.h"

#include <algorithm>
#include <climits>

#include "catalog/file_type.h"
#include "common/ascii_case.h"
#include "common/format.h"
#include "mp3/bitrat.h"
#include "platform/binary_file.h"
#include "platform/open_folder.h"
#include "scan/playing_time.h"

namespace tallymere {
namespace {

std::string WithBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path.push_back('\\');
  return path;
}

}  // namespace

std::string CatalogFullMessage() {
  return "The catalog is full: it holds at most " + std::to_string(CatalogTable::kMaxFileRecords) +
         " files, and this scan found more. Nothing was changed; scan fewer folders at a time.";
}

void ScanEngine::Progress() const {
  if (m_progress) m_progress(m_folders_seen, m_files_seen);
}

void ScanEngine::SkipFolder(const std::string& folder, ScanReport* report) {
  ++report->skipped_folder_count;
  if (static_cast<int>(report->skipped_folders.size()) < ScanReport::kNamedFolders) {
    report->skipped_folders.push_back(folder);
  }
}

Status ScanEngine::KeepFiles(const std::string& folder, FolderListing* listing) {
  // The listing's own entries are kept, in their order: nothing is copied.
  std::vector<FolderEntry> files = std::move(listing->entries);
  std::erase_if(files, [&](const FolderEntry& entry) {
    return entry.is_folder || !PassesTypeFilter(entry.name, m_file_type);
  });
  if (files.empty()) return Status::Ok();
  m_kept_count += static_cast<int>(files.size());
  // A scan with more files than the table holds cannot succeed: say so now
  // rather than after listing the rest of the tree.
  if (m_kept_count > CatalogTable::kMaxFileRecords) return Status::Error(CatalogFullMessage());
  // Assigned, not appended: a folder reached twice is listed twice, as it is
  // scanned twice.
  m_kept_files[folder].files = std::move(files);
  return Status::Ok();
}

Status ScanEngine::GetAllFolders(const std::string& present_path, ScanReport* report,
                                 bool is_root) {
  // Only a scan of all files takes every file's facts from the listing.
  const bool with_file_facts = m_keeping_files && m_file_type == kAllFiles;
  Result<FolderListing> listing = m_platform.ListFolder(present_path, with_file_facts);
  if (!listing) {
    if (is_root) return listing.status();
    SkipFolder(present_path, report);
    m_unlisted.insert(present_path);
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
    m_status_text.assign("Scanning folder ... ").append(folder);
    m_ui.SetStatus(1, m_status_text);
    ++m_folders_seen;
    Progress();
    subfolders.push_back(std::move(folder));
  }
  // The files move out of the listing, after the walk over its entries.
  if (m_keeping_files) {
    if (Status status = KeepFiles(present_path, &*listing); !status) return status;
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
  m_unlisted.clear();
  m_kept_files.clear();
  m_kept_count = 0;
  m_folders_seen = 0;
  m_files_seen = 0;
  m_file_type = AsciiLower(settings.file_type);
  // Leaves nothing behind on any way out: the work list and the kept files.
  struct Cleanup {
    ScanEngine* engine;
    ~Cleanup() {
      engine->m_state.lstList.Clear();
      engine->m_unlisted.clear();
      engine->m_kept_files.clear();
      engine->m_keeping_files = false;
    }
  } cleanup{this};

  m_keeping_files = true;
  for (const std::string& batch_entry : m_state.lstBox) {
    const std::string root = WithBackslash(batch_entry);
    if (Status status = GetAllFolders(root, report, /*is_root=*/true); !status) return status;
    // With its "\" a root sorts before its own subfolders.
    m_state.lstList.Add(root);
    ++m_folders_seen;
    Progress();
  }
  m_keeping_files = false;

  std::vector<std::string> folders;
  folders.reserve(static_cast<std::size_t>(m_state.lstList.size()));
  for (const std::string& entry : m_state.lstList) {
    std::string folder = WithBackslash(entry);
    if (m_unlisted.count(folder) != 0) continue;
    if (const auto kept = m_kept_files.find(folder); kept != m_kept_files.end()) {
      ++kept->second.scans_left;
    }
    folders.push_back(std::move(folder));
  }

  // The counters of the main window change only with the catalog, at the end.
  KeptFiles no_files;
  int next_index = 1;
  CatalogTable table;
  // Room for every record and the caller's, trailer included, so no record
  // moves as the table grows.
  table.Reserve(std::min(m_kept_count + m_records_to_follow + 1, CatalogTable::kCapacity));
  for (const std::string& folder : folders) {
    const auto kept = m_kept_files.find(folder);
    KeptFiles* files = kept == m_kept_files.end() ? &no_files : &kept->second;
    if (Status status = ScanFolder(folder, files, settings.mp3_info_flag, &table, &next_index);
        !status) {
      return status;
    }
  }
  *catalog = std::move(table);
  m_state.next_record_index = next_index;
  m_state.file_count = next_index - 1;
  m_ui.SetStatus(1, " Loading " + std::to_string(m_state.file_count) + " files, please wait . . .");
  return Status::Ok();
}

Status ScanEngine::ScanFolder(const std::string& folder, KeptFiles* kept, int mp3_info_flag,
                              CatalogTable* table, int* next_index) {
  m_ui.YieldToUi();
  if (kept->files.empty()) return Status::Ok();
  // The names move into the records at the folder's last turn.
  const bool last_scan = --kept->scans_left <= 0;
  const bool all_files = m_file_type == kAllFiles;
  const bool read_mp3 = !all_files && mp3_info_flag == 1;
  // Resolved once per folder: the drive map need not be asked again per file.
  std::optional<std::string> native_folder;
  std::optional<OpenFolder> open_folder;
  if (!all_files) {
    native_folder = m_platform.ToNative(folder);
    if (native_folder) open_folder.emplace(*native_folder);
  }
  std::optional<FolderListing> listed;
  for (FolderEntry& entry : kept->files) {
    if (*next_index > CatalogTable::kMaxFileRecords) return Status::Error(CatalogFullMessage());
    const FolderEntry* facts = &entry;
    FolderEntry read_facts;
    BinaryFile file;
    bool file_open = false;
    if (!all_files) {
      facts = &read_facts;
      // A file whose whole path is too long for the system cannot be read by
      // that path; it is left to ReadMp3Fields to say so, as for any other.
      const bool openable = read_mp3 && open_folder && open_folder->ok() &&
                            native_folder->size() + entry.name.size() < PATH_MAX;
      file_open = openable && open_folder->OpenFile(entry.name, &file, &read_facts).ok();
      const bool reached =
          file_open || (open_folder && open_folder->ReadFacts(entry.name, &read_facts));
      if (!reached && !ListedFacts(folder, entry.name, &listed, &read_facts)) continue;
    }
    CatalogRecord& record = table->MutableRecord(*next_index);
    record.path = folder;
    if (last_scan) {
      record.file_name = std::move(entry.name);
    } else {
      record.file_name = entry.name;
    }
    if (!all_files) {
      m_status_text.assign("File found ... ").append(folder).append(record.file_name);
      m_ui.SetStatus(1, m_status_text);
    }
    record.size = ClampSize(facts->size);
    record.modified = m_date_texts.Text(facts->modified);
    record.disk_label = m_state.label_mode ? m_state.label : std::string(DriveRootOf(folder));
    if (read_mp3) {
      ReadMp3Fields(folder, native_folder, file_open ? &file : nullptr, facts->size, &record);
    }
    ++*next_index;
    ++m_files_seen;
    Progress();
  }
  return Status::Ok();
}

bool ScanEngine::ListedFacts(const std::string& folder, const std::string& name,
                             std::optional<FolderListing>* listing, FolderEntry* facts) const {
  if (!*listing) {
    Result<FolderListing> listed = m_platform.ListFolder(folder, /*with_file_facts=*/true);
    *listing = listed ? std::move(*listed) : FolderListing();
  }
  const auto found = std::find_if(
      (*listing)->entries.begin(), (*listing)->entries.end(),
      [&](const FolderEntry& entry) { return !entry.is_folder && entry.name == name; });
  if (found == (*listing)->entries.end()) return false;
  *facts = *found;
  return true;
}

void ScanEngine::ReadMp3Fields(const std::string& folder,
                               const std::optional<std::string>& native_folder,
                               const RandomAccessFile* file, int64_t file_length,
                               CatalogRecord* record) {
  const std::string& name = record->file_name;
  const auto fail = [&](const Status& status) {
    m_ui.ShowMessage(status.message() + ". while opening \"" + folder + name + "\"", Buttons::kOk,
                     Icon::kStop, kProgramTitle);
    record->artist.clear();
    record->album.clear();
    record->title.clear();
  };
  if (!native_folder) return fail(Status::Error("Path not found"));
  Mp3Info info;
  // A file the scan could not open itself is read by its path, so a failure
  // is told as the reading says it.
  Result<std::string> bitrate = file != nullptr ? ReadMp3Info(*file, file_length, &info)
                                                : ReadMp3Info(*native_folder + name, &info);
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
