#include "search/catalog_condition.h"

#include "common/ascii_case.h"
#include "common/format.h"
#include "common/number_text.h"
#include "common/text_encoding.h"
#include "search/find.h"

namespace tallymere {
namespace {

// The decoded text of stored bytes, in a buffer each thread reuses.
const std::string& Decoded(std::string_view stored) {
  thread_local std::string text;
  DecodeTextTo(stored, &text);
  return text;
}

template <typename Bound>
bool AtLeast(const std::optional<int64_t>& value, const Bound& bound) {
  return !bound || (value && *value >= *bound);
}

template <typename Bound>
bool AtMost(const std::optional<int64_t>& value, const Bound& bound) {
  return !bound || (value && *value <= *bound);
}

}  // namespace

RecordMatcher::RecordMatcher(const CatalogCondition& condition)
    : m_condition(condition),
      m_text(condition.text),
      m_extension(FindExtension(condition.type_pattern)),
      m_ascii_text(IsAscii(condition.text)),
      m_has_bounds(condition.min_size || condition.max_size || condition.min_bitrate ||
                   condition.min_seconds || condition.max_seconds || condition.modified_from ||
                   condition.modified_until) {}

bool RecordMatcher::TextIn(std::string_view stored) const {
  if (m_text.empty()) return true;
  if (m_ascii_text || IsAscii(stored)) return m_text.FoundIn(stored);
  return m_text.FoundIn(Decoded(stored));
}

bool RecordMatcher::SharedTextIn(FieldMemory::Field field, std::string_view stored,
                                 FieldMemory* memory) const {
  return memory->Answer(field, stored, [this](std::string_view text) { return TextIn(text); });
}

bool RecordMatcher::BoundsHold(const StoredRecord& record) const {
  const CatalogCondition& c = m_condition;
  if (!AtLeast(record.size, c.min_size) || !AtMost(record.size, c.max_size)) return false;
  if (c.min_bitrate && !AtLeast(ParseWholeNumber(record.bitrate), c.min_bitrate)) return false;
  if (c.min_seconds || c.max_seconds) {
    const std::optional<int64_t> seconds = ParseDuration(record.time);
    if (!AtLeast(seconds, c.min_seconds) || !AtMost(seconds, c.max_seconds)) return false;
  }
  if (c.modified_from || c.modified_until) {
    const std::optional<std::time_t> when = ParseDateTime(Decoded(record.modified));
    if (!when || (c.modified_from && *when < *c.modified_from) ||
        (c.modified_until && *when >= *c.modified_until)) {
      return false;
    }
  }
  return true;
}

bool RecordMatcher::Matches(const StoredRecord& record, FieldMemory* memory) const {
  if (record.path.empty()) return false;
  if (!m_condition.drive.empty() && !StartsWithNoCase(record.path, m_condition.drive)) {
    return false;
  }
  if (!m_extension.empty()) {
    const std::string_view name =
        IsAscii(record.file_name) ? record.file_name : std::string_view(Decoded(record.file_name));
    if (!MatchesFindType(name, m_extension)) return false;
  }
  if (m_has_bounds && !BoundsHold(record)) return false;
  switch (m_condition.field) {
    case SearchField::kFileName:
      return TextIn(record.file_name);
    case SearchField::kArtist:
      return SharedTextIn(FieldMemory::kArtist, record.artist, memory);
    case SearchField::kTitle:
      return TextIn(record.title);
    case SearchField::kAlbum:
      return SharedTextIn(FieldMemory::kAlbum, record.album, memory);
    case SearchField::kPath:
      return SharedTextIn(FieldMemory::kPath, record.path, memory);
    case SearchField::kDiskLabel:
      return SharedTextIn(FieldMemory::kDiskLabel, record.disk_label, memory);
    case SearchField::kAny:
      break;
  }
  return TextIn(record.file_name) || TextIn(record.title) ||
         SharedTextIn(FieldMemory::kArtist, record.artist, memory) ||
         SharedTextIn(FieldMemory::kAlbum, record.album, memory) ||
         SharedTextIn(FieldMemory::kPath, record.path, memory) ||
         SharedTextIn(FieldMemory::kDiskLabel, record.disk_label, memory);
}

}  // namespace tallymere
