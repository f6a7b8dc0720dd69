#pragma once
// What the main window keeps for scanning: the batch, the folder work list,
// the counters and label mode.

#include <string>
#include <vector>

#include "common/sorted_list.h"

namespace tallymere {

struct ScanState {
  std::vector<std::string> lstBox;  // the batch: drive roots and folders to scan
  SortedList lstList;               // the folder work list, always sorted
  int next_record_index = 1;        // index of the record a scan writes next
  int file_count = 0;               // file records written by the last scan
  bool label_mode = false;          // every record of a scan carries `label`
  std::string label;
};

// The file type setting and the MP3-information flag a scan works with.
struct ScanSettings {
  std::string file_type = "mp3";  // "*.*" or a three-letter extension, lower case
  int mp3_info_flag = 1;          // 1: read bitrate, time and tag of each file
};

// What a scan could not catalogue, for one message at its end.
struct ScanReport {
  static constexpr int kNamedFolders = 5;
  int skipped_folder_count = 0;              // subfolders that could not be listed
  std::vector<std::string> skipped_folders;  // the first kNamedFolders of them
  int skipped_names = 0;                     // entries whose name holds "\"
};

}  // namespace tallymere
