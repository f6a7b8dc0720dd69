#pragma once
// Duplicate detection: pairs of file records whose names suggest the same
// piece of music stored twice, by one of three rules. The sets come in the
// order of a walk over every pair (record i, then each later record j), but
// are found by grouping records on the compared part of their names, so a
// full catalog takes milliseconds instead of half a billion comparisons.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalog/catalog_table.h"

namespace tallymere {

enum class DuplicateRule {
  kExact,        // the whole File names are equal
  kNotSoExact,   // their last 22 characters are equal
  kAnyPossible,  // their last 12 characters are equal
  kSameAudio,    // their audio's fingerprints and lengths are equal, whatever the names
};

// The characters at the end of a name that Not So Exact and Any Possible
// Match compare; a shorter name takes part whole.
inline constexpr int kNotSoExactCharacters = 22;
inline constexpr int kAnyPossibleCharacters = 12;

// At most this many sets are listed; the count goes on.
inline constexpr std::size_t kMaxListedDuplicateSets = 100000;

struct DuplicateSets {
  // (A, B) record indices, A before B, in the order of the pairwise walk.
  std::vector<std::pair<int, int>> pairs;
  int64_t count = 0;  // every set found, listed or not
  bool cut() const { return count > static_cast<int64_t>(pairs.size()); }
};

// The part of a File name a rule compares: all of it, or its last 22 or 12
// characters. For Same audio the "name" is the record's AudioKey, compared
// whole.
std::string_view ComparedPart(std::string_view name, DuplicateRule rule);

// What Same audio compares of a record: its fingerprint and audio length as
// 16 bytes; empty for a record without a fingerprint, which takes part in
// no set.
std::string AudioKey(const RecordExtras& extras);

// The sets among records 1 .. file_count, names compared exactly (letter case
// included, no trimming), or their AudioKeys. Lists at most max_sets of them.
DuplicateSets FindDuplicates(const CatalogTable& table, int file_count, DuplicateRule rule,
                             std::size_t max_sets = kMaxListedDuplicateSets);

// The same over the File names of records 1, 2, ... (names[0] is record 1's),
// for a reader that keeps the names but not the catalog (for Same audio the
// AudioKeys); an empty one takes no part. The pairs hold record numbers as
// above.
DuplicateSets FindDuplicates(std::span<const std::string_view> names, DuplicateRule rule,
                             std::size_t max_sets = kMaxListedDuplicateSets);

}  // namespace tallymere
