#pragma once
// What a record carries beyond the described fields, and its one encoding in
// the data file.
//
// In memory a record holds its file's true size (CatalogRecord::size, 64-bit)
// and the extras below. The data file's records keep the described layout
// byte for byte: a Size field of 2 GiB or more is written as 2147483647, and
// the Reserved bytes stay zero. What does not fit goes into extension
// records after every other record:
//
//   Path      empty, so no walk over the catalog ever reaches one
//   File name kExtrasRecordName: it holds "\", which no catalogued name can,
//             and does not begin with "*.", so no reader takes it for a trailer
//   Size      0
//   Bitrate, Disk label, Modified, Time, Artist, Album
//             the entries, as one stream of raw bytes cut into these texts
//   Title     empty; in the last extension record kExtrasFooterSize bytes:
//             "TMX1" and the byte offset (uint64) of the first extension
//             record, so a reader finds the entries before the records
//   Reserved  00 00 00 00
//
// Entry, one per record with more than the described fields hold, in record
// order: uint32 record number (its place among the records that are no
// extension records), uint32 identity check (FNV-1a of Path, NUL and File
// name), uint8 flags; with kTrueSize an int64 true size; with kFingerprint a
// uint64 audio hash and an int64 audio length. An entry whose record number
// or identity check does not match its record is ignored: a program that
// knows nothing of them may have moved records since (its writer keeps the
// extension records, as they have a File name, but not their places).
// Described readers see the records they always saw, and take the extension
// records for records beyond the catalog's end, as the data file format
// allows; only their record count grows.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tallymere {

struct CatalogRecord;

// A content hash of a file's audio, beside the audio's byte length, which
// tells apart two songs that share their first frames.
struct RecordExtras {
  uint64_t audio_hash = 0;
  int64_t audio_bytes = 0;  // 0: no fingerprint

  bool has_fingerprint() const { return audio_bytes > 0; }
  bool empty() const { return !has_fingerprint(); }
  bool operator==(const RecordExtras&) const = default;
};

inline constexpr std::string_view kExtrasRecordName = "\\Tallymere extras 1";
inline constexpr std::string_view kExtrasFooterMagic = "TMX1";
inline constexpr std::size_t kExtrasFooterSize = 12;  // magic and a uint64 offset
// The largest Size the described field holds; a file of this many bytes or
// more keeps its true size in an entry.
inline constexpr int64_t kMaxStoredSize = 2147483647;

// The Size field a record's true size is written as.
inline int32_t StoredSize(int64_t bytes) {
  // A negative Size read from a file is written back as it was.
  constexpr int64_t kMin = INT32_MIN;
  return static_cast<int32_t>(bytes > kMaxStoredSize ? kMaxStoredSize
                              : bytes < kMin         ? kMin
                                                     : bytes);
}

// An entry of the stream.
struct ExtrasEntry {
  uint32_t record = 0;
  uint32_t check = 0;
  int64_t true_size = -1;  // -1: none
  RecordExtras extras;
};

// FNV-1a over Path, a NUL and File name, as they are stored.
uint32_t IdentityCheck(std::string_view stored_path, std::string_view stored_file_name);

// Whether a record needs an entry: a size the Size field cannot hold, or extras.
bool NeedsEntry(const CatalogRecord& record);

// The entry of a record (record number `number` of the file).
ExtrasEntry EntryOf(const CatalogRecord& record, uint32_t number, uint32_t check);

// The bytes a record's entry takes in the stream, and the extension records
// a stream of so many bytes fills.
std::size_t EntryBytes(const CatalogRecord& record);
std::size_t ExtrasRecordCount(std::size_t stream_bytes);

// Appends the extension records of these entries (in record order) to a
// data file whose records so far end at out->size(). Nothing for no entry.
void AppendExtrasRecords(const std::vector<ExtrasEntry>& entries, std::string* out);

// The entries of a stream, in order; an entry cut short ends them (the
// records it would have served keep their described fields).
std::vector<ExtrasEntry> ParseEntries(std::string_view stream);

// The size a record keeps with its entry: the true size when the entry has
// one and the Size field holds the largest value it can (else the Size
// field's own value, which then wins).
int64_t SizeWithEntry(int32_t stored_size, const ExtrasEntry& entry);

}  // namespace tallymere
