#pragma once
// What a scan is asked for and what it gives back: the roots and settings in,
// the records and a report of what it had to leave out; and the observer
// that hears of its progress and of the files it could not read, so the
// window and the command line each tell the user in their own way.

#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog_table.h"
#include "common/code_page.h"
#include "common/status.h"
#include "scan/leave_out_rules.h"

namespace tallymere {

// The file type setting and the MP3-information flag a scan works with, and
// the code page the user's ID3v1 tags were written in.
struct ScanSettings {
  std::string file_type = "mp3";  // "*.*" or a three-letter extension, lower case
  int mp3_info_flag = 1;          // 1: read bitrate, time and tag of each file
  CodePage id3v1_code_page{};
  // The most files the catalog may hold: the bound that keeps a scan of a
  // whole server from taking the machine's memory (tests set fewer).
  int max_files = CatalogTable::kMaxFileRecords;
  // What every scan leaves out, and whether hidden (dot) entries are read.
  LeaveOutRules leave_out{};
  bool include_hidden = false;
  // Names each entry the rules left out in the report (--explain-excludes).
  bool explain_left_out = false;
};

struct ScanRequest {
  // Drive roots and folders as catalog paths ("C:\", "C:\Music"), scanned in
  // this order.
  std::vector<std::string> roots;
  ScanSettings settings;
  // Every record carries this disk label (Add a Disk); empty: each record
  // carries its drive root.
  std::string label;
  // Records the caller will put after the scan's, besides the trailer: the
  // table makes room for them at once, so that no record moves then.
  int records_to_follow = 0;
};

// What a scan could not catalogue, for one message at its end.
struct ScanReport {
  static constexpr int kNamedFolders = 5;
  int skipped_folder_count = 0;              // subfolders that could not be listed
  std::vector<std::string> skipped_folders;  // the first kNamedFolders of them
  int skipped_names = 0;                     // entries whose name holds "\"
  // What the leave-out rules kept out: folders (never listed) and files of
  // the type; with explain_left_out, each path with the rule that matched.
  int left_out_folders = 0;
  int left_out_files = 0;
  struct LeftOut {
    std::string path;
    std::string rule;
  };
  std::vector<LeftOut> left_out;
};

struct ScanResult {
  ScanSettings settings;  // those of the request
  CatalogTable table;     // the file records from record 1, in folder order
  int file_count = 0;
  ScanReport report;
};

// Hears what a scan does while it runs. Every call has a default that does
// nothing.
class ScanObserver {
 public:
  virtual ~ScanObserver() = default;
  // A folder below a root was found while the work list was built.
  virtual void FolderFound(std::string_view /*folder*/) {}
  // A file of the type is being recorded.
  virtual void FileFound(std::string_view /*folder*/, std::string_view /*name*/) {}
  // After every folder found, roots included, and every file recorded: the
  // folders and files so far.
  virtual void Progress(int /*folders*/, int /*files*/) {}
  // The MP3 information of a recorded file could not be read; its record
  // keeps what the listing gave.
  virtual void FileFailed(std::string_view /*path*/, const Status& /*why*/) {}
  // Between entries and folders: a window repaints here.
  virtual void Yield() {}
};

}  // namespace tallymere
