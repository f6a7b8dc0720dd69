#include "catalog/record_extras.h"

#include <algorithm>

#include "catalog/catalog_record.h"
#include "common/little_endian.h"

namespace tallymere {
namespace {

constexpr uint8_t kTrueSize = 1;
constexpr uint8_t kFingerprint = 2;
// Entries are cut into the six texts of an extension record that are
// neither Path, File name nor Title, each as long as a text can be.
constexpr std::size_t kStreamTexts = 6;
constexpr std::size_t kMaxText = 65535;
constexpr std::size_t kEntryHead = 4 + 4 + 1;

void PutText(std::string_view bytes, std::string* out) {
  PutFixed16(out, static_cast<uint16_t>(bytes.size()));
  out->append(bytes);
}

}  // namespace

uint32_t IdentityCheck(std::string_view stored_path, std::string_view stored_file_name) {
  uint32_t hash = 2166136261u;
  const auto add = [&](unsigned char c) { hash = (hash ^ c) * 16777619u; };
  for (char c : stored_path) add(static_cast<unsigned char>(c));
  add(0);
  for (char c : stored_file_name) add(static_cast<unsigned char>(c));
  return hash;
}

bool NeedsEntry(const CatalogRecord& record) {
  return record.size > kMaxStoredSize || !record.extras.empty();
}

ExtrasEntry EntryOf(const CatalogRecord& record, uint32_t number, uint32_t check) {
  ExtrasEntry entry;
  entry.record = number;
  entry.check = check;
  if (record.size > kMaxStoredSize) entry.true_size = record.size;
  entry.extras = record.extras;
  return entry;
}

std::size_t EntryBytes(const CatalogRecord& record) {
  return kEntryHead + (record.size > kMaxStoredSize ? 8 : 0) +
         (record.extras.has_fingerprint() ? 16 : 0);
}

std::size_t ExtrasRecordCount(std::size_t stream_bytes) {
  constexpr std::size_t kPerRecord = kStreamTexts * kMaxText;
  return (stream_bytes + kPerRecord - 1) / kPerRecord;
}

void AppendExtrasRecords(const std::vector<ExtrasEntry>& entries, std::string* out) {
  if (entries.empty()) return;
  std::string stream;
  for (const ExtrasEntry& entry : entries) {
    PutFixed32(&stream, entry.record);
    PutFixed32(&stream, entry.check);
    const uint8_t flags = (entry.true_size >= 0 ? kTrueSize : 0) |
                          (entry.extras.has_fingerprint() ? kFingerprint : 0);
    stream.push_back(static_cast<char>(flags));
    if (flags & kTrueSize) PutFixed64(&stream, static_cast<uint64_t>(entry.true_size));
    if (flags & kFingerprint) {
      PutFixed64(&stream, entry.extras.audio_hash);
      PutFixed64(&stream, static_cast<uint64_t>(entry.extras.audio_bytes));
    }
  }
  const uint64_t first = out->size();
  std::size_t at = 0;
  while (at < stream.size()) {
    std::string_view pieces[kStreamTexts];
    for (std::string_view& piece : pieces) {
      const std::size_t length = std::min(kMaxText, stream.size() - at);
      piece = std::string_view(stream).substr(at, length);
      at += length;
    }
    const bool last = at >= stream.size();
    PutText(pieces[0], out);          // Bitrate
    PutText(pieces[1], out);          // Disk label
    PutText({}, out);                 // Path
    PutText(kExtrasRecordName, out);  // File name
    PutText(pieces[2], out);          // Modified
    PutText(pieces[3], out);          // Time
    PutFixed32(out, 0);               // Size
    PutText(pieces[4], out);          // Artist
    PutText(pieces[5], out);          // Album
    if (last) {
      std::string footer(kExtrasFooterMagic);
      PutFixed64(&footer, first);
      PutText(footer, out);  // Title
    } else {
      PutText({}, out);
    }
    PutFixed32(out, 0);  // Reserved
  }
}

std::vector<ExtrasEntry> ParseEntries(std::string_view stream) {
  std::vector<ExtrasEntry> entries;
  entries.reserve(stream.size() / kEntryHead);
  const auto* data = reinterpret_cast<const unsigned char*>(stream.data());
  std::size_t at = 0;
  while (stream.size() - at >= kEntryHead) {
    ExtrasEntry entry;
    entry.record = DecodeFixed32(data + at);
    entry.check = DecodeFixed32(data + at + 4);
    const uint8_t flags = data[at + 8];
    const std::size_t length =
        kEntryHead + ((flags & kTrueSize) ? 8 : 0) + ((flags & kFingerprint) ? 16 : 0);
    if (stream.size() - at < length || (flags & ~(kTrueSize | kFingerprint)) != 0) break;
    std::size_t field = at + kEntryHead;
    if (flags & kTrueSize) {
      entry.true_size = static_cast<int64_t>(DecodeFixed64(data + field));
      field += 8;
    }
    if (flags & kFingerprint) {
      entry.extras.audio_hash = DecodeFixed64(data + field);
      entry.extras.audio_bytes = static_cast<int64_t>(DecodeFixed64(data + field + 8));
      if (entry.extras.audio_bytes <= 0) entry.extras = RecordExtras();
    }
    entries.push_back(entry);
    at += length;
  }
  return entries;
}

int64_t SizeWithEntry(int32_t stored_size, const ExtrasEntry& entry) {
  if (stored_size == kMaxStoredSize && entry.true_size >= kMaxStoredSize) return entry.true_size;
  return stored_size;
}

}  // namespace tallymere
