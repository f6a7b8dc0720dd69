#include "catalog/data_file.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "common/format.h"
#include "common/little_endian.h"
#include "common/text_encoding.h"

namespace tallymere {
namespace {

constexpr std::size_t kMaxTextBytes = kMaxStoredTextBytes;

// Writes one text at `at`, where StoredSizeBound made room for it, and
// returns the position after it.
char* PutText(std::string_view utf8, char* at) {
  // Nearly every text is ASCII, which is stored as it is.
  if (utf8.size() <= kMaxTextBytes && IsAscii(utf8)) {
    at = EncodeFixed16(at, static_cast<uint16_t>(utf8.size()));
    std::memcpy(at, utf8.data(), utf8.size());
    return at + utf8.size();
  }
  std::string stored = EncodeText(utf8);
  // The length field holds 65535 at most; no real name or path comes close.
  if (stored.size() > kMaxTextBytes) stored = EncodeText(CutToStoredWidth(utf8, kMaxTextBytes));
  at = EncodeFixed16(at, static_cast<uint16_t>(stored.size()));
  std::memcpy(at, stored.data(), stored.size());
  return at + stored.size();
}

// A stored text is never longer than the text in memory (Windows-1252 takes
// at most the bytes of the UTF-8 it stands for), so this is room enough.
std::size_t StoredSizeBound(const CatalogRecord& r) {
  return kSmallestRecordBytes + r.bitrate.size() + r.disk_label.size() + r.path.size() +
         r.file_name.size() + r.modified.size() + r.time.size() + r.artist.size() + r.album.size() +
         r.title.size();
}

char* PutRecord(const CatalogRecord& record, char* at) {
  at = PutText(record.bitrate, at);
  at = PutText(record.disk_label, at);
  at = PutText(record.path, at);
  at = PutText(record.file_name, at);
  at = PutText(record.modified, at);
  at = PutText(record.time, at);
  at = EncodeFixed32(at, static_cast<uint32_t>(StoredSize(record.size)));
  at = PutText(record.artist, at);
  at = PutText(record.album, at);
  at = PutText(record.title, at);
  return EncodeFixed32(at, 0);  // Reserved
}

// Reads records field by field, remembering where the current one began so a
// damaged file can be reported precisely.
class RecordReader {
 public:
  RecordReader(std::string_view bytes, std::string_view file_name)
      : m_bytes(bytes), m_file_name(file_name) {}

  bool AtEnd() const { return m_pos == m_bytes.size(); }

  Status Read(int number, StoredRecord* record) {
    m_number = number;
    m_record_start = m_pos;
    // Each step names its field only when the record ends before it.
    const char* missing = nullptr;
    if (!Text("Bitrate", &record->bitrate, &missing) ||
        !Text("Disk label", &record->disk_label, &missing) ||
        !Text("Path", &record->path, &missing) ||
        !Text("File name", &record->file_name, &missing) ||
        !Text("Modified", &record->modified, &missing) || !Text("Time", &record->time, &missing) ||
        !Size(record, &missing) || !Text("Artist", &record->artist, &missing) ||
        !Text("Album", &record->album, &missing) || !Text("Title", &record->title, &missing) ||
        !Skip(kReservedBytes, "Reserved bytes", &missing)) {
      return CutShort(missing);
    }
    if (record->file_name.empty()) {
      return Damaged("has no File name, which every saved record must have");
    }
    return Status::Ok();
  }

  Status TooManyRecords(int max_records) const {
    return Status::Error(StatusCode::kTooLarge,
                         "\"" + std::string(m_file_name) + "\" holds more than " +
                             FormatCount(max_records) + " records (record " +
                             FormatCount(max_records + 1LL) + " begins at byte offset " +
                             std::to_string(m_pos) + "); a catalog can hold no more.");
  }

 private:
  Status Damaged(const std::string& what) const {
    // A picture or any other file read as a catalog fails here too, so the
    // message says that first, in words for anyone, then where it went wrong.
    return Status::Error(StatusCode::kDamaged,
                         std::string(kNotADataFile) + " \"" + std::string(m_file_name) +
                             "\", record " + std::to_string(m_number) + " at byte offset " +
                             std::to_string(m_record_start) + " " + what + ".");
  }

  Status CutShort(const char* field) const {
    return Damaged("is cut short: its " + std::string(field) + " runs past the end of the file");
  }

  bool Text(const char* field, std::string_view* out, const char** missing) {
    *missing = field;
    if (m_bytes.size() - m_pos < kTextLengthBytes) return false;
    const auto* data = reinterpret_cast<const unsigned char*>(m_bytes.data());
    const std::size_t length = DecodeFixed16(data + m_pos);
    if (m_bytes.size() - m_pos - kTextLengthBytes < length) return false;
    m_pos += kTextLengthBytes;
    *out = m_bytes.substr(m_pos, length);
    m_pos += length;
    return true;
  }

  bool Size(StoredRecord* record, const char** missing) {
    *missing = "Size";
    if (m_bytes.size() - m_pos < kSizeBytes) return false;
    const auto* data = reinterpret_cast<const unsigned char*>(m_bytes.data());
    record->stored_size = static_cast<int32_t>(DecodeFixed32(data + m_pos));
    record->size = record->stored_size;
    m_pos += kSizeBytes;
    return true;
  }

  bool Skip(std::size_t count, const char* field, const char** missing) {
    *missing = field;
    if (m_bytes.size() - m_pos < count) return false;
    m_pos += count;
    return true;
  }

  std::string_view m_bytes;
  std::string_view m_file_name;
  std::size_t m_pos = 0;
  std::size_t m_record_start = 0;
  int m_number = 0;
};

}  // namespace

void EncodeRecord(const CatalogRecord& record, std::string* out) {
  const std::size_t start = out->size();
  out->resize(start + StoredSizeBound(record));
  const char* end = PutRecord(record, out->data() + start);
  out->resize(static_cast<std::size_t>(end - out->data()));
}

std::string EncodeDataFile(const CatalogTable& table) {
  const int end = table.StoredEnd();
  // Made once, so a full catalog is written without moving megabytes as it
  // grows, and cut to what the records took.
  std::size_t room = 0;
  for (int i = 1; i < end; ++i) room += StoredSizeBound(table.Record(i));
  std::string out(room, '\0');
  char* at = out.data();
  std::vector<ExtrasEntry> entries;
  for (int i = 1; i < end; ++i) {
    const CatalogRecord& record = table.Record(i);
    char* const start = at;
    at = PutRecord(record, at);
    if (NeedsEntry(record)) {
      // The check is made of the stored bytes, which a reader has before it
      // decodes any text.
      RecordReader reader(std::string_view(start, static_cast<std::size_t>(at - start)), {});
      StoredRecord stored;
      (void)reader.Read(i, &stored);
      entries.push_back(
          EntryOf(record, static_cast<uint32_t>(i), IdentityCheck(stored.path, stored.file_name)));
    }
  }
  out.resize(static_cast<std::size_t>(at - out.data()));
  AppendExtrasRecords(entries, &out);
  return out;
}

StoredExtras FindStoredExtras(std::string_view bytes) {
  StoredExtras none{bytes.size(), {}};
  // The file ends in the last extension record's Title (its length, the
  // magic and the offset) and its Reserved bytes.
  constexpr std::size_t kTail = kTextLengthBytes + kExtrasFooterSize + kReservedBytes;
  if (bytes.size() < kTail) return none;
  const auto* tail = reinterpret_cast<const unsigned char*>(bytes.data() + bytes.size() - kTail);
  if (DecodeFixed16(tail) != kExtrasFooterSize ||
      bytes.substr(bytes.size() - kTail + kTextLengthBytes, kExtrasFooterMagic.size()) !=
          kExtrasFooterMagic) {
    return none;
  }
  const uint64_t first = DecodeFixed64(tail + kTextLengthBytes + kExtrasFooterMagic.size());
  if (first >= bytes.size()) return none;
  RecordReader reader(bytes.substr(first), {});
  std::string stream;
  stream.reserve(static_cast<std::size_t>(bytes.size() - first));
  StoredRecord record;
  for (int number = 1; !reader.AtEnd(); ++number) {
    if (!reader.Read(number, &record) || !record.path.empty() ||
        record.file_name != kExtrasRecordName) {
      return none;
    }
    for (std::string_view piece : {record.bitrate, record.disk_label, record.modified, record.time,
                                   record.artist, record.album}) {
      stream.append(piece);
    }
  }
  StoredExtras found{static_cast<std::size_t>(first), ParseEntries(stream)};
  // This program writes them in record order; another may not have.
  const auto by_record = [](const ExtrasEntry& a, const ExtrasEntry& b) {
    return a.record < b.record;
  };
  if (!std::is_sorted(found.entries.begin(), found.entries.end(), by_record)) {
    std::stable_sort(found.entries.begin(), found.entries.end(), by_record);
  }
  return found;
}

namespace {

// Walks the records of a data file that are no extension records, in order,
// as (index, stored record) with what their entries add; a visit that
// returns false ends the walk early, as a success. Messages number records
// as the file holds them.
// Every catalog closes with a trailer (records of an earlier scan may follow
// it); a file without any was cut short at a record's end, and what followed
// is lost.
Status MissingTrailer(std::string_view file_name, int records) {
  return Status::Error(StatusCode::kIncomplete,
                       "\"" + std::string(file_name) +
                           "\" ends without the trailer record that closes a catalog: it was cut "
                           "short after record " +
                           FormatCount(records) +
                           ", and what stood after it is lost. The records before it were read.");
}

Status WalkRecords(std::string_view bytes, std::string_view file_name, int max_records,
                   const std::function<bool(int index, const StoredRecord& record)>& visit) {
  const StoredExtras extras = FindStoredExtras(bytes);
  RecordReader reader(bytes.substr(0, extras.start), file_name);
  StoredRecord record;
  std::size_t next_entry = 0;
  int index = 0;
  bool has_trailer = false;
  for (int number = 1; !reader.AtEnd(); ++number) {
    if (index >= max_records) return reader.TooManyRecords(max_records);
    if (Status status = reader.Read(number, &record); !status) return status;
    // Extension records that no longer stand at the end (a program that
    // knows nothing of them wrote records after them) are passed over.
    if (record.path.empty() && record.file_name == kExtrasRecordName) continue;
    ++index;
    record.extras = RecordExtras();
    while (next_entry < extras.entries.size() &&
           extras.entries[next_entry].record < static_cast<uint32_t>(index)) {
      ++next_entry;
    }
    if (next_entry < extras.entries.size() &&
        extras.entries[next_entry].record == static_cast<uint32_t>(index)) {
      const ExtrasEntry& entry = extras.entries[next_entry];
      if (entry.check == IdentityCheck(record.path, record.file_name)) {
        record.size = SizeWithEntry(record.stored_size, entry);
        record.extras = entry.extras;
      }
    }
    has_trailer = has_trailer || (record.path.empty() && record.file_name.size() >= 2 &&
                                  record.file_name.compare(0, 2, "*.") == 0);
    if (!visit(index, record)) return Status::Ok();
  }
  if (index > 0 && !has_trailer) return MissingTrailer(file_name, index);
  return Status::Ok();
}

}  // namespace

Status DecodeDataFile(std::string_view bytes, std::string_view file_name, CatalogTable* table,
                      int max_records) {
  CatalogTable loaded;
  loaded.Reserve(static_cast<int>(
      std::min<std::size_t>(bytes.size() / 64 + 1, static_cast<std::size_t>(max_records))));
  const Status status =
      WalkRecords(bytes, file_name, max_records, [&](int index, const StoredRecord& record) {
        record.DecodeTo(&loaded.MutableRecord(index));
        return true;
      });
  if (!RecordsWereRead(status)) return status;
  *table = std::move(loaded);
  return status;
}

Status VisitDataFile(std::string_view bytes, std::string_view file_name,
                     const std::function<void(int number, const CatalogRecord& record)>& visit,
                     int max_records) {
  CatalogRecord decoded;
  return WalkRecords(bytes, file_name, max_records, [&](int index, const StoredRecord& record) {
    record.DecodeTo(&decoded);
    visit(index, decoded);
    return true;
  });
}

void StoredRecord::DecodeTo(CatalogRecord* record) const {
  DecodeTextTo(bitrate, &record->bitrate);
  DecodeTextTo(disk_label, &record->disk_label);
  DecodeTextTo(path, &record->path);
  DecodeTextTo(file_name, &record->file_name);
  DecodeTextTo(modified, &record->modified);
  DecodeTextTo(time, &record->time);
  record->size = size;
  DecodeTextTo(artist, &record->artist);
  DecodeTextTo(album, &record->album);
  DecodeTextTo(title, &record->title);
  record->extras = extras;
}

Status VisitStoredRecords(
    std::string_view bytes, std::string_view file_name,
    const std::function<bool(int number, const StoredRecord& record)>& visit) {
  return WalkRecords(bytes, file_name, CatalogTable::kMaxRecords, visit);
}

Status VisitStoredFile(const Platform& platform, const std::string& native_path,
                       const std::function<bool(int number, const StoredRecord& record)>& visit) {
  thread_local std::string bytes;
  if (Status read = platform.ReadFileInto(native_path, kDataFileLimit, &bytes); !read) return read;
  return VisitStoredRecords(bytes, native_path, visit);
}

int StoredRecordCount(const CatalogTable& table) {
  const int end = table.StoredEnd();
  std::size_t stream = 0;
  for (int i = 1; i < end; ++i) {
    const CatalogRecord& record = table.Record(i);
    if (NeedsEntry(record)) stream += EntryBytes(record);
  }
  return end - 1 + static_cast<int>(ExtrasRecordCount(stream));
}

std::optional<std::string> OlderProgramsNote(const CatalogTable& table) {
  constexpr int kDescribed = CatalogTable::kDescribedCapacity;
  const int files = table.FileCount();
  const std::string limit = "programs limited to " + FormatCount(kDescribed - 1) + " files";
  if (files > kDescribed - 1) {
    return "This catalog holds " + FormatCount(files) + " files; " + limit + " cannot open it.";
  }
  if (StoredRecordCount(table) > kDescribed) {
    return "This catalog holds " + FormatCount(files) +
           " files and the records that keep their true sizes and fingerprints; " + limit +
           " cannot open it.";
  }
  return std::nullopt;
}

Status LoadDataFile(const Platform& platform, const std::string& native_path, CatalogTable* table) {
  Result<std::string> bytes = platform.ReadFile(native_path, kDataFileLimit);
  if (!bytes) return bytes.status();
  return DecodeDataFile(*bytes, native_path, table);
}

Status SaveDataFile(const Platform& platform, const CatalogTable& table,
                    const std::string& native_path) {
  return platform.WriteFileAtomically(native_path, EncodeDataFile(table));
}

}  // namespace tallymere
