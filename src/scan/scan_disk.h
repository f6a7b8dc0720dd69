#pragma once
// The scanning engine: expands the batch into the sorted folder work list and
// writes one catalog record per matching file, folder by folder.

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "catalog/catalog_table.h"
#include "common/format.h"
#include "common/status.h"
#include "ports/platform.h"
#include "ports/ui_services.h"
#include "scan/scan_state.h"

namespace tallymere {

class ScanEngine {
 public:
  ScanEngine(const Platform& platform, UiServices& ui, ScanState& state)
      : m_platform(platform), m_ui(ui), m_state(state) {}

  // Called after every folder found and every file recorded, with the folders
  // found so far (roots included) and the files recorded so far; for progress
  // displays outside a window.
  void set_progress(std::function<void(int folders, int files)> progress) {
    m_progress = std::move(progress);
  }

  // How many records the caller will add after the scan's, besides the
  // trailer: the scan's table makes room for them at once, so that no record
  // moves when they are added.
  void set_records_to_follow(int count) { m_records_to_follow = count; }

  // Appends every folder below present_path (which ends in "\") to the work
  // list, at any depth. A folder's own listing is finished before any of its
  // subfolders is entered. A subfolder that cannot be listed is skipped and
  // counted in the report; only a root that cannot be listed is an error, and,
  // inside ScanDisk, finding more files of the type than the catalog holds.
  Status GetAllFolders(const std::string& present_path, ScanReport* report, bool is_root = false);

  // Scans the batch into a new table and, only when the whole scan succeeds,
  // replaces the catalog with it: a failure or a scan that would not fit the
  // table leaves the catalog, the next record index and the file count as they
  // were. After a scan that succeeds the next record index is the number of
  // file records + 1 and the file count their number. The trailer is the
  // caller's business.
  //
  // Each folder is listed once: the listing that finds its subfolders also
  // keeps its files of the type, and the records are written from those when
  // the folder's turn in the work list comes.
  //
  // Scanning all files, the listing reads each file's size and modified time.
  // Scanning one type, it reads names only, and the scan reads the facts of
  // the files of the type alone, by name in their folder held open; an MP3
  // file's facts come from opening it for its MP3 information. A file the
  // scan cannot reach that way gets what a listing with file facts says of
  // it, so it is catalogued exactly when that listing would have shown it.
  Status ScanDisk(const ScanSettings& settings, CatalogTable* catalog, ScanReport* report);

 private:
  // The files of the type of one folder, and how many times the work list
  // has the folder still to come (a folder reached from two batch entries is
  // scanned twice).
  struct KeptFiles {
    std::vector<FolderEntry> files;
    int scans_left = 0;
  };

  // Writes the records of one folder's files from *next_index on, advancing it.
  Status ScanFolder(const std::string& folder, KeptFiles* kept, int mp3_info_flag,
                    CatalogTable* table, int* next_index);
  // The facts of a file of folder as a listing with file facts gives them;
  // false when that listing does not show the file. The listing is made once
  // per folder, into *listing.
  bool ListedFacts(const std::string& folder, const std::string& name,
                   std::optional<FolderListing>* listing, FolderEntry* facts) const;
  // file is the file already open, file_length bytes long, else null;
  // native_folder is the folder's native path with its "/", nothing when no
  // drive maps it.
  void ReadMp3Fields(const std::string& folder, const std::optional<std::string>& native_folder,
                     const RandomAccessFile* file, int64_t file_length, CatalogRecord* record);
  // Keeps the files of the type from a folder's listing for ScanDisk.
  Status KeepFiles(const std::string& folder, FolderListing* listing);
  void SkipFolder(const std::string& folder, ScanReport* report);
  void Progress() const;

  const Platform& m_platform;
  UiServices& m_ui;
  ScanState& m_state;
  std::function<void(int, int)> m_progress;
  int m_records_to_follow = 0;
  int m_folders_seen = 0;
  int m_files_seen = 0;
  // Folders (with their "\") that could not be listed while the work list was
  // built: already counted, and never tried again.
  std::unordered_set<std::string> m_unlisted;
  // While ScanDisk builds the work list: the file type in lower case, and the
  // files of that type of each folder (with its "\") that holds any.
  bool m_keeping_files = false;
  std::string m_file_type;
  std::unordered_map<std::string, KeptFiles> m_kept_files;
  int m_kept_count = 0;
  DateTimeTexts m_date_texts;
  std::string m_status_text;  // reused, so a status costs no allocation per file
};

// The text for a full catalog, shown when a scan finds more files than fit.
std::string CatalogFullMessage();

}  // namespace tallymere
