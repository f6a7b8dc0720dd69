#pragma once
// What Find in Catalogs looks for in a record: a text in one field or in any
// of them, the find panel's file type, and bounds on size, bitrate, playing
// time and date. The text and the type compare as the find panel's do,
// letters A to Z without regard to case.

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "catalog/data_file.h"
#include "common/letter_case.h"

namespace tallymere {

enum class SearchField { kFileName, kArtist, kTitle, kAlbum, kPath, kDiskLabel, kAny };

// Each field as the window offers it and as the command line names it.
struct SearchFieldName {
  SearchField field;
  std::string_view caption;
  std::string_view option;
};
inline constexpr std::array<SearchFieldName, 7> kSearchFields = {{
    {SearchField::kFileName, "File name", "name"},
    {SearchField::kArtist, "Artist", "artist"},
    {SearchField::kTitle, "Title", "title"},
    {SearchField::kAlbum, "Album", "album"},
    {SearchField::kPath, "Path", "path"},
    {SearchField::kDiskLabel, "Disk label", "label"},
    {SearchField::kAny, "Any of them", "any"},
}};

struct CatalogCondition {
  std::string text{};  // contained in the field; empty: every record
  SearchField field = SearchField::kFileName;
  std::string type_pattern = "*.*";  // as the find panel's File Type box
  std::string drive{};               // "D:": Paths on that drive only; empty: every drive
  // Bounds, each left out when not set. A record whose field holds no value
  // ("---", a date in another form) passes no bound on that field.
  std::optional<int64_t> min_size{};  // bytes
  std::optional<int64_t> max_size{};
  std::optional<int64_t> min_bitrate{};  // kbps
  std::optional<int64_t> min_seconds{};  // playing time
  std::optional<int64_t> max_seconds{};
  std::optional<std::time_t> modified_from{};   // on or after this moment
  std::optional<std::time_t> modified_until{};  // before this moment
};

// The answers for the fields a folder's records share (Path, Disk label,
// Artist, Album), kept from one record to the next of one walk: the tracks
// of an album repeat them, and comparing with the last costs less than
// looking through them again.
class FieldMemory {
 public:
  enum Field { kPath, kDiskLabel, kArtist, kAlbum, kFields };
  template <typename Look>
  bool Answer(Field field, std::string_view stored, const Look& look) {
    Slot& slot = m_slots[field];
    if (!slot.filled || slot.stored != stored) slot = {stored, look(stored), true};
    return slot.found;
  }

 private:
  struct Slot {
    std::string_view stored;  // in the walk's bytes, which outlive the walk's records
    bool found = false;
    bool filled = false;
  };
  std::array<Slot, kFields> m_slots{};
};

// A condition made ready for millions of records: it looks at the stored
// bytes and decodes a text only where the bytes alone cannot tell. Matches
// may be called from several threads at once, each walk with a memory of
// its own.
class RecordMatcher {
 public:
  explicit RecordMatcher(const CatalogCondition& condition);
  // File records only: the trailer (empty Path) never matches.
  bool Matches(const StoredRecord& record, FieldMemory* memory) const;

 private:
  bool TextIn(std::string_view stored) const;
  bool SharedTextIn(FieldMemory::Field field, std::string_view stored, FieldMemory* memory) const;
  bool BoundsHold(const StoredRecord& record) const;

  const CatalogCondition m_condition;
  const TextToFind m_text;
  const std::string m_extension;  // of the type pattern, lower case; empty for "*.*"
  // An ASCII text is found in the stored bytes as in the decoded text: both
  // hold its letters as the same bytes, and no byte of a decoded non-ASCII
  // letter is ASCII.
  const bool m_ascii_text;
  const bool m_has_bounds;
};

}  // namespace tallymere
