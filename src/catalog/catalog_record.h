#pragma once
// One catalogued file, or the trailer that closes a catalog. Fields are in
// record order, the order of the data file. Disks and folders have no records
// of their own: they exist only as Disk label and Path values.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "catalog/record_extras.h"

namespace tallymere {

struct CatalogRecord {
  std::string bitrate;     // "128", "---", or empty when MP3 information was not read
  std::string disk_label;  // a drive root such as "C:\" or a disk's own label
  std::string path;  // folder with drive and trailing "\": C:\Music\Pop\ (empty ends the catalog)
  std::string file_name;  // name with extension, no folder; "*.mp3" in the trailer
  std::string modified;   // the platform's date-and-time text
  std::string time;       // playing time "03:45", "---" or empty
  int64_t size = 0;       // bytes, the true size; the trailer keeps the MP3-information flag here
  std::string artist;
  std::string album;
  std::string title;
  // What the described fields have no room for (record_extras.h). The four
  // Reserved bytes of the data file are never kept in memory.
  RecordExtras extras;

  bool operator==(const CatalogRecord&) const = default;
};

// "C:\" begins every Path; records of one drive share it.
inline constexpr std::size_t kDriveRootLength = 3;
inline std::string_view DriveRootOf(std::string_view path) {
  return path.substr(0, kDriveRootLength);
}

// A folder's catalog path with its closing "\", as records and keys hold it.
inline std::string WithBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path.push_back('\\');
  return path;
}

// The most bytes a text of a record takes in the data file (its length field
// is 16 bits wide).
inline constexpr std::size_t kMaxStoredTextBytes = 65535;

// A Disk label whose second and third characters are ":\" marks a drive-root
// entry; anything else is a disk catalogued under a label of its own.
inline bool IsDriveRootLabel(std::string_view disk_label) {
  return disk_label.size() >= 3 && disk_label.substr(1, 2) == ":\\";
}

// Why a text cannot label a disk, or nothing when it can: "A disk label can
// not contain "\"." (a "\" or NUL would split the tree's keys, which hold the
// label between two "\"), or one saying the data file cannot store it whole.
std::optional<std::string> DiskLabelProblem(std::string_view label);

// The trailer's File name begins with "*.".
inline bool IsTrailer(const CatalogRecord& record) {
  return record.file_name.size() >= 2 && record.file_name.compare(0, 2, "*.") == 0;
}

// The trailer written after the last file of a scan: the file type ("mp3" or
// "*.*") and the MP3-information flag in force, and when it was built.
CatalogRecord MakeTrailer(std::string_view file_type, int mp3_info_flag,
                          std::string_view built_text);

// The file type a trailer remembers: the last three characters of its File
// name, or the longer type this program wrote ("flac", "audio").
std::string TrailerFileType(const CatalogRecord& trailer);

// A file's identity as records are matched: its Path and File name compared
// exactly (letter case counts), as one text to look up.
inline std::string FileIdentity(std::string_view path, std::string_view file_name) {
  std::string identity;
  identity.reserve(path.size() + 1 + file_name.size());
  identity.append(path).push_back('\0');
  identity.append(file_name);
  return identity;
}

// The folder key of a record: its Path, with a labelled disk's label spliced in
// after the drive root (D:\Music\ on MyCD gives D:\MyCD\Music\).
std::string FolderKey(const CatalogRecord& record);

}  // namespace tallymere
