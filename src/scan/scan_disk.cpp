#include "scan/scan_disk.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "catalog/file_type.h"
#include "common/ascii_case.h"
#include "common/format.h"
#include "common/in_order.h"
#include "common/sorted_list.h"
#include "mp3/audio_fingerprint.h"
#include "mp3/audio_info.h"
#include "mp3/bitrat.h"
#include "scan/playing_time.h"

namespace tallymere {
namespace {

// The files read at once by an MP3 information scan. A read of a stick, a
// network share or a cold disk is mostly waiting, which costs a thread no
// core; with many waiting the disk always has the next request at hand.
constexpr int kReadsInFlight = 16;

// Listens to nothing, for a caller without an observer.
ScanObserver g_no_observer;

// One scan: the work list, the files kept from the listings and the counters,
// all of it gone with the scan.
class ScanEngine {
 public:
  ScanEngine(const Platform& platform, const ScanRequest& request, ScanObserver& observer)
      : m_platform(platform),
        m_request(request),
        m_observer(observer),
        m_file_type(AsciiLower(request.settings.file_type)),
        m_all_files(m_file_type == kAllFiles),
        m_read_mp3(!m_all_files && request.settings.mp3_info_flag == 1),
        m_max_files(std::min(request.settings.max_files, CatalogTable::kMaxFileRecords)) {}

  Result<ScanResult> Run();

 private:
  // The files of the type of one folder, and how many times the work list
  // has the folder still to come (a folder reached from two roots is scanned
  // twice).
  struct KeptFiles {
    std::vector<FolderEntry> files;
    int scans_left = 0;
  };

  // Appends every folder below present_path (which ends in "\") to the work
  // list, at any depth, finishing a folder's own listing before any of its
  // subfolders is entered.
  Status GetAllFolders(const std::string& present_path, bool is_root = false);
  // Keeps the files of the type from a folder's listing.
  Status KeepFiles(const std::string& folder, FolderListing* listing);
  void SkipFolder(const std::string& folder);
  // Whether the leave-out rules keep the entry `name` of folder (with its
  // "\") out; counts it, and names it when asked to.
  bool LeftOut(const std::string& folder, const std::string& name, bool is_folder);
  // The folders of the work list in order, each with its "\", less those that
  // could not be listed.
  std::vector<std::string> FoldersToScan();
  // What reading one kept file found, on whichever thread read it.
  struct FileRead {
    bool reached = false;  // opened, or its facts read
    FolderEntry facts;     // its size and time; the name stays in KeptFiles
    std::string bitrate;
    std::string time;
    std::string artist;
    std::string album;
    std::string title;
    RecordExtras extras;  // the audio's fingerprint
    Status failure;       // why its MP3 information could not be read
  };
  // A run of one folder's kept files on its way to the table: a folder of
  // many files is read by several threads at once, a run each, so a slow
  // disk has several reads waiting at any time.
  struct FolderWork {
    const std::string* folder = nullptr;
    KeptFiles* kept = nullptr;
    std::size_t first = 0;                     // the run's first kept file
    std::size_t count = 0;                     // the run's files
    std::shared_ptr<const FolderFiles> files;  // opened on the scan's thread
    std::vector<FileRead> reads;               // one for each file of the run
  };
  // The runs of the work list's folders in order; a folder without kept
  // files still has one (its turn counts for nothing, as before).
  std::vector<FolderWork> FolderRuns(const std::vector<std::string>& folders, KeptFiles* no_files);

  // Opens the folder's files at its first run, on the scan's thread (the
  // platform serves one), and shares them with the folder's other runs.
  void PrepareFolder(FolderWork* work, std::shared_ptr<const FolderFiles>* open) const;
  // Reads the facts and MP3 information of a folder's kept files; runs on
  // any thread and touches nothing but the work.
  void ReadFolder(FolderWork* work) const;
  // Writes the records of one folder's files from *next_index on, advancing
  // it, and tells the observer.
  Status RecordFolder(FolderWork* work, CatalogTable* table, int* next_index);
  // The facts of a file of folder as a listing with file facts gives them;
  // false when that listing does not show the file. The listing is made once
  // per folder, into *listing.
  bool ListedFacts(const std::string& folder, const std::string& name,
                   std::optional<FolderListing>* listing, FolderEntry* facts) const;
  // The extension of a file whose information the tag reader gives: an
  // audio format other than MP3, which keeps its own reading (a scan of the
  // type "mp3" reads every name it takes as MP3). Empty for the MP3 reading.
  std::string TagReaderFormat(std::string_view name) const;
  // Bitrate, time and tag of a file of another audio format; one that
  // cannot be read gets "---", as a damaged MP3 file does.
  void ReadAudioFields(const RandomAccessFile& file, int64_t length, const std::string& extension,
                       FileRead* read) const;
  // The fingerprint of an audio file's audio, where its format has one; a
  // file that cannot be hashed simply has none.
  void TakeFingerprint(const RandomAccessFile& file, int64_t length, std::string_view name,
                       FileRead* read) const;
  // Bitrate, time and tag of a file: from the file already open, or the
  // reason it could not be opened.
  void ReadMp3Fields(const RandomAccessFile* file, const Status& open_failure, int64_t length,
                     FileRead* read) const;

  const Platform& m_platform;
  const ScanRequest& m_request;
  ScanObserver& m_observer;
  const std::string m_file_type;  // in lower case
  const bool m_all_files;
  const bool m_read_mp3;
  const int m_max_files;

  SortedList m_folders;  // the folder work list lstList
  // Folders (with their "\") that could not be listed: already counted, and
  // never tried again.
  std::unordered_set<std::string> m_unlisted;
  // The files of the type of each folder (with its "\") that holds any.
  std::unordered_map<std::string, KeptFiles> m_kept_files;
  int m_kept_count = 0;
  std::size_t m_root_length = 0;  // of the batch entry being listed, with its "\"
  int m_folders_seen = 0;
  int m_files_seen = 0;
  ScanReport m_report;
  DateTimeTexts m_date_texts;
};

void ScanEngine::SkipFolder(const std::string& folder) {
  ++m_report.skipped_folder_count;
  if (static_cast<int>(m_report.skipped_folders.size()) < ScanReport::kNamedFolders) {
    m_report.skipped_folders.push_back(folder);
  }
  m_unlisted.insert(folder);
}

Status ScanEngine::KeepFiles(const std::string& folder, FolderListing* listing) {
  // The listing's own entries are kept, in their order: nothing is copied.
  std::vector<FolderEntry> files = std::move(listing->entries);
  std::erase_if(files, [&](const FolderEntry& entry) {
    return entry.is_folder || !PassesTypeFilter(entry.name, m_file_type) ||
           LeftOut(folder, entry.name, false);
  });
  if (files.empty()) return Status::Ok();
  m_kept_count += static_cast<int>(files.size());
  // A scan with more files than the table holds cannot succeed: say so now
  // rather than after listing the rest of the tree.
  if (m_kept_count > m_max_files) return Status::Error(CatalogFullMessage(m_max_files));
  // Assigned, not appended: a folder reached twice is listed twice, as it is
  // scanned twice.
  m_kept_files[folder].files = std::move(files);
  return Status::Ok();
}

bool ScanEngine::LeftOut(const std::string& folder, const std::string& name, bool is_folder) {
  const LeaveOutRules& rules = m_request.settings.leave_out;
  if (rules.empty()) return false;
  const std::string relative = folder.substr(std::min(folder.size(), m_root_length)) + name;
  const std::string* rule = rules.LeftOutBy(relative, name, is_folder);
  if (rule == nullptr) return false;
  ++(is_folder ? m_report.left_out_folders : m_report.left_out_files);
  if (m_request.settings.explain_left_out) m_report.left_out.push_back({folder + name, *rule});
  return true;
}

Status ScanEngine::GetAllFolders(const std::string& present_path, bool is_root) {
  // Only a scan of all files takes every file's facts from the listing.
  Result<FolderListing> listing =
      m_platform.ListFolder(present_path, m_all_files, m_request.settings.include_hidden);
  if (!listing) {
    if (is_root) return listing.status();
    SkipFolder(present_path);
    return Status::Ok();
  }
  m_report.skipped_names += listing->skipped_names;
  std::vector<std::string> subfolders;
  for (const FolderEntry& entry : listing->entries) {
    m_observer.Yield();
    if (entry.name == "pagefile.sys" || !entry.is_folder) continue;
    // A folder left out is never listed: nothing below it is read.
    if (LeftOut(present_path, entry.name, true)) continue;
    std::string folder = present_path + entry.name;
    m_folders.Add(folder);
    m_observer.FolderFound(folder);
    m_observer.Progress(++m_folders_seen, m_files_seen);
    subfolders.push_back(std::move(folder));
  }
  // The files move out of the listing, after the walk over its entries.
  if (Status status = KeepFiles(present_path, &*listing); !status) return status;
  // Entered only now, so one folder's listing is never interleaved with another's.
  for (const std::string& folder : subfolders) {
    if (Status status = GetAllFolders(folder + "\\"); !status) return status;
  }
  return Status::Ok();
}

std::vector<std::string> ScanEngine::FoldersToScan() {
  std::vector<std::string> folders;
  folders.reserve(static_cast<std::size_t>(m_folders.size()));
  for (const std::string& entry : m_folders) {
    std::string folder = WithBackslash(entry);
    if (m_unlisted.count(folder) != 0) continue;
    if (const auto kept = m_kept_files.find(folder); kept != m_kept_files.end()) {
      ++kept->second.scans_left;
    }
    folders.push_back(std::move(folder));
  }
  return folders;
}

Result<ScanResult> ScanEngine::Run() {
  for (const std::string& batch_entry : m_request.roots) {
    const std::string root = WithBackslash(batch_entry);
    m_root_length = root.size();
    if (Status status = GetAllFolders(root, /*is_root=*/true); !status) return status;
    // With its "\" a root sorts before its own subfolders.
    m_folders.Add(root);
    m_observer.Progress(++m_folders_seen, m_files_seen);
  }
  ScanResult result;
  result.settings = m_request.settings;
  // Room for every record and the caller's, trailer included, so no record
  // moves as the table grows.
  result.table.Reserve(
      std::min(m_kept_count + m_request.records_to_follow + 1, CatalogTable::kMaxRecords));
  const std::vector<std::string> folders = FoldersToScan();
  KeptFiles no_files;
  std::vector<FolderWork> work = FolderRuns(folders, &no_files);
  int next_index = 1;
  Status recorded;
  std::shared_ptr<const FolderFiles> open;
  // Each run ahead holds its folder's handle open until it is recorded.
  constexpr int kRunsAhead = 2 * kReadsInFlight;
  RunInOrder(static_cast<int>(work.size()), m_all_files ? 1 : kReadsInFlight, kRunsAhead,
             {.prepare = [&](int i) { PrepareFolder(&work[static_cast<std::size_t>(i)], &open); },
              .work = [&](int i) { ReadFolder(&work[static_cast<std::size_t>(i)]); },
              .take =
                  [&](int i) {
                    recorded = RecordFolder(&work[static_cast<std::size_t>(i)], &result.table,
                                            &next_index);
                    return recorded.ok();
                  }});
  if (!recorded) return recorded;
  result.file_count = next_index - 1;
  result.report = std::move(m_report);
  return result;
}

std::vector<ScanEngine::FolderWork> ScanEngine::FolderRuns(const std::vector<std::string>& folders,
                                                           KeptFiles* no_files) {
  // An album folder is one run, so the readers work on as many folders at
  // once; a folder of thousands of files is cut into runs that are read
  // side by side. Smaller runs cost more handing over than they gain.
  constexpr std::size_t kFilesPerRun = 16;
  const std::size_t per_run = m_all_files ? SIZE_MAX : kFilesPerRun;
  std::vector<FolderWork> runs;
  runs.reserve(folders.size());
  for (const std::string& folder : folders) {
    const auto found = m_kept_files.find(folder);
    KeptFiles* kept = found == m_kept_files.end() ? no_files : &found->second;
    const std::size_t files = kept->files.size();
    std::size_t first = 0;
    do {
      FolderWork& run = runs.emplace_back();
      run.folder = &folder;
      run.kept = kept;
      run.first = first;
      run.count = std::min(per_run, files - first);
      first += run.count;
    } while (first < files);
  }
  return runs;
}

void ScanEngine::PrepareFolder(FolderWork* work, std::shared_ptr<const FolderFiles>* open) const {
  if (m_all_files || work->count == 0) return;
  // Opened once per folder: the drive map need not be asked again per file.
  if (work->first == 0) *open = m_platform.OpenFolderFiles(*work->folder);
  work->files = *open;
}

void ScanEngine::ReadFolder(FolderWork* work) const {
  if (m_all_files) return;  // the listing gave every fact
  const std::vector<FolderEntry>& kept = work->kept->files;
  work->reads.resize(work->count);
  if (!work->files) return;
  for (std::size_t i = 0; i < work->count; ++i) {
    const std::string& name = kept[work->first + i].name;
    FileRead& read = work->reads[i];
    if (!m_read_mp3) {
      read.reached = work->files->ReadFacts(name, &read.facts);
      continue;
    }
    Result<std::unique_ptr<RandomAccessFile>> file = work->files->Open(name, &read.facts);
    read.reached = file.ok() || work->files->ReadFacts(name, &read.facts);
    const RandomAccessFile* opened = file.ok() ? file->get() : nullptr;
    if (const std::string format = TagReaderFormat(name); !format.empty() && opened != nullptr) {
      ReadAudioFields(*opened, read.facts.size, format, &read);
    } else {
      ReadMp3Fields(opened, file.status(), read.facts.size, &read);
    }
    if (opened != nullptr) TakeFingerprint(*opened, read.facts.size, name, &read);
  }
}

Status ScanEngine::RecordFolder(FolderWork* work, CatalogTable* table, int* next_index) {
  m_observer.Yield();
  const std::string& folder = *work->folder;
  KeptFiles* kept = work->kept;
  if (work->count == 0) return Status::Ok();
  // The names move into the records at the folder's last turn; a turn
  // begins with its first run, and runs are taken in order.
  if (work->first == 0) --kept->scans_left;
  const bool last_scan = kept->scans_left <= 0;
  std::optional<FolderListing> listed;
  for (std::size_t i = 0; i < work->count; ++i) {
    if (*next_index > m_max_files) return Status::Error(CatalogFullMessage(m_max_files));
    FolderEntry& entry = kept->files[work->first + i];
    const FolderEntry* facts = &entry;
    FileRead* read = m_all_files ? nullptr : &work->reads[i];
    if (read != nullptr) {
      facts = &read->facts;
      if (!read->reached && !ListedFacts(folder, entry.name, &listed, &read->facts)) continue;
    }
    CatalogRecord& record = table->MutableRecord(*next_index);
    record.path = folder;
    record.file_name = last_scan ? std::move(entry.name) : entry.name;
    record.size = facts->size;
    record.modified = m_date_texts.Text(facts->modified);
    record.disk_label =
        m_request.label.empty() ? std::string(DriveRootOf(folder)) : m_request.label;
    // Told before a failure to read its MP3 information, as the file shown.
    m_observer.FileFound(folder, record.file_name);
    m_observer.Progress(m_folders_seen, ++m_files_seen);
    if (m_read_mp3) {
      if (!read->failure) m_observer.FileFailed(record.path + record.file_name, read->failure);
      record.bitrate = std::move(read->bitrate);
      record.time = std::move(read->time);
      record.artist = std::move(read->artist);
      record.album = std::move(read->album);
      record.title = std::move(read->title);
      record.extras = read->extras;
    }
    ++*next_index;
  }
  work->files.reset();
  work->reads.clear();
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

std::string ScanEngine::TagReaderFormat(std::string_view name) const {
  if (m_file_type == kMp3Type) return {};
  std::string extension = LowerExtension(name);
  if (extension == kMp3Type || !IsAudioExtension(extension)) return {};
  return extension;
}

void ScanEngine::TakeFingerprint(const RandomAccessFile& file, int64_t length,
                                 std::string_view name, FileRead* read) const {
  const std::string extension = LowerExtension(name);
  if (!HasAudioFingerprint(extension)) return;
  const Result<AudioHash> hash = AudioFingerprint(file, length, extension);
  if (hash && hash->audio_bytes > 0) read->extras = {hash->hash, hash->audio_bytes};
}

void ScanEngine::ReadAudioFields(const RandomAccessFile& file, int64_t length,
                                 const std::string& extension, FileRead* read) const {
  Result<AudioInfo> info = ReadAudioInfo(file, length, extension);
  if (!info || info->bitrate_kbps <= 0) {
    read->bitrate = read->time = "---";
    return;
  }
  read->bitrate = std::to_string(info->bitrate_kbps);
  read->time = MinutesAndSeconds(info->length_seconds);
  read->artist = std::move(info->artist);
  read->title = std::move(info->title);
  read->album = std::move(info->album);
}

void ScanEngine::ReadMp3Fields(const RandomAccessFile* file, const Status& open_failure,
                               int64_t length, FileRead* read) const {
  if (file == nullptr) {
    read->failure = open_failure;
    return;
  }
  Mp3Info info;
  Result<std::string> bitrate =
      ReadMp3Info(*file, length, &info, m_request.settings.id3v1_code_page);
  if (!bitrate) {
    read->failure = bitrate.status();
    return;
  }
  read->bitrate = *bitrate;
  if (read->bitrate == "---") {
    read->time = "---";
  } else {
    // A cover picture in the ID3v2 tag is no playing time.
    Result<std::string> time =
        PlayingTime(static_cast<int32_t>(info.AudioBytes(StoredSize(length))), read->bitrate);
    if (!time) {
      read->failure = time.status();
      return;
    }
    read->time = *time;
  }
  read->artist = info.CatalogArtist();
  read->album = info.CatalogAlbum();
  read->title = info.CatalogTitle();
}

}  // namespace

std::string CatalogFullMessage(int max_files) {
  return "The catalog is full: it holds at most " + FormatCount(max_files) +
         " files, and this scan found more. Nothing was changed; scan fewer folders at a time.";
}

Result<ScanResult> ScanDisk(const Platform& platform, const ScanRequest& request,
                            ScanObserver* observer) {
  ScanEngine engine(platform, request, observer != nullptr ? *observer : g_no_observer);
  return engine.Run();
}

Status NewCatalogFromScan(ScanResult* scan, CatalogTable* after, std::string_view trailer_time) {
  const int earlier = after != nullptr ? after->FileCount() : 0;
  const int max_files = std::min(scan->settings.max_files, CatalogTable::kMaxFileRecords);
  if (scan->file_count + earlier > max_files) {
    return Status::Error(StatusCode::kNoSpace, CatalogFullMessage(max_files));
  }
  // The earlier records move rather than copy: their table is replaced next.
  int next = scan->file_count + 1;
  for (int j = 1; j <= earlier; ++j) {
    scan->table.SetRecord(next++, std::move(after->MutableRecord(j)));
  }
  scan->table.SetRecord(
      next, MakeTrailer(scan->settings.file_type, scan->settings.mp3_info_flag, trailer_time));
  return Status::Ok();
}

}  // namespace tallymere
