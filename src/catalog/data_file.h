#pragma once
// The data file (*.mpd): encoded catalog records one after another, record 1
// first, with no header, count or end marker.
//
// Encoded record, fields in record order, no padding:
//   text Bitrate, text Disk label, text Path, text File name, text Modified,
//   text Time, int32 Size, text Artist, text Album, text Title, 4 bytes Reserved
// text  = uint16 little-endian byte length n, then n bytes (Windows-1252 when
//         the text fits, else UTF-8), no terminator
// int32 = signed 32-bit little-endian; Reserved = 00 00 00 00, ignored on read
//
// What a record carries beyond these fields (a true size of 2 GiB or more,
// an audio fingerprint) is written into extension records after every other
// record (record_extras.h); a catalog without such data is written exactly
// as the described format has it.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog_table.h"
#include "catalog/record_extras.h"
#include "common/status.h"
#include "ports/platform.h"

namespace tallymere {

inline constexpr std::size_t kTextLengthBytes = 2;
inline constexpr std::size_t kSizeBytes = 4;
inline constexpr std::size_t kReservedBytes = 4;
inline constexpr std::size_t kTextFieldsPerRecord = 9;
// Nine empty texts, Size and Reserved.
inline constexpr std::size_t kSmallestRecordBytes =
    kTextFieldsPerRecord * kTextLengthBytes + kSizeBytes + kReservedBytes;

// How a refusal of bytes that do not read as records begins.
inline constexpr std::string_view kNotADataFile =
    "This is not a Tallymere data file, or it is damaged:";

// Appends one encoded record.
void EncodeRecord(const CatalogRecord& record, std::string* out);

// Records 1, 2, ... up to the first record whose File name is empty, so the
// trailer is the last record of the file, then the extension records of
// those that need them.
std::string EncodeDataFile(const CatalogTable& table);

// The entries a data file's extension records hold and the byte offset
// where those records begin; no entry and the file's length for a file
// without any, or one whose extension records cannot be read, which is then
// read as a described file.
struct StoredExtras {
  std::size_t start = 0;
  std::vector<ExtrasEntry> entries;
};
StoredExtras FindStoredExtras(std::string_view bytes);

// Reads every record of the bytes into a new table and hands it over only
// when the whole file is sound. A damaged file (a text running past the end,
// a record cut short, a record without a File name) or one with more records
// than a catalog may hold is refused with a message naming file_name, the
// record number and its byte offset; the table is then left as it was. A
// file without its trailer is read and its status says so (kIncomplete).
// max_records is the bound a catalog may reach (a test may ask for less).
Status DecodeDataFile(std::string_view bytes, std::string_view file_name, CatalogTable* table,
                      int max_records = CatalogTable::kMaxRecords);

// A status of kIncomplete from the readers below: every record of the file
// was read, but it ends without its trailer (it was cut short at a record's
// end). The records are handed over; the caller tells the user.
inline bool RecordsWereRead(const Status& status) {
  return status.ok() || status.code() == StatusCode::kIncomplete;
}

// Visits the records of the bytes in order as (number, record), one record
// object reused throughout, for commands that look at each record once and
// need not hold the catalog. The checks and messages are DecodeDataFile's:
// the walk stops at the first damaged record (or the first beyond the table)
// after visiting the sound records before it.
Status VisitDataFile(std::string_view bytes, std::string_view file_name,
                     const std::function<void(int number, const CatalogRecord& record)>& visit,
                     int max_records = CatalogTable::kMaxRecords);

// A record as the file stores it: its texts as bytes (see DecodeText), for
// readers that look at millions of records and decode only those they keep.
struct StoredRecord {
  std::string_view bitrate;
  std::string_view disk_label;
  std::string_view path;
  std::string_view file_name;
  std::string_view modified;
  std::string_view time;
  int64_t size = 0;         // the true size, its entry's when it has one
  int32_t stored_size = 0;  // the Size field as stored
  RecordExtras extras;      // from its entry
  std::string_view artist;
  std::string_view album;
  std::string_view title;

  // The record in memory, reusing the texts' room.
  void DecodeTo(CatalogRecord* record) const;
};

// Visits the stored records as VisitDataFile visits the decoded ones, with
// its checks and messages; a visit that returns false ends the walk early,
// as a success.
Status VisitStoredRecords(std::string_view bytes, std::string_view file_name,
                          const std::function<bool(int number, const StoredRecord& record)>& visit);

// Reads a data file into room each thread keeps from its last one (a search
// reads hundreds in turn) and visits its stored records as
// VisitStoredRecords does; a read failure comes back as it is.
Status VisitStoredFile(const Platform& platform, const std::string& native_path,
                       const std::function<bool(int number, const StoredRecord& record)>& visit);

// Reads a data file from disk; the table changes only on success.
Status LoadDataFile(const Platform& platform, const std::string& native_path, CatalogTable* table);

// The records a data file of this catalog holds, extension records included.
int StoredRecordCount(const CatalogTable& table);

// What to tell the user who saves a catalog that programs with the
// described fixed table of 32,766 records cannot open ("This catalog holds
// 120,000 files; programs limited to 32,765 files cannot open it."); nothing
// for a catalog they open.
std::optional<std::string> OlderProgramsNote(const CatalogTable& table);

// Writes the catalog to a temporary file beside the target and replaces the
// target only once every byte is on disk: a failed save leaves the old file
// as it was and says why.
Status SaveDataFile(const Platform& platform, const CatalogTable& table,
                    const std::string& native_path);

}  // namespace tallymere
