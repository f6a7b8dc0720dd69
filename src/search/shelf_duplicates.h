#pragma once
// The duplicate commands over a shelf of data files: their file records
// taken as one catalog, the first file's records first, and walked pair by
// pair as one catalog's would be (the same rules, the same order of sets).
// A shelf can hold millions of records, more than their names would fit in
// memory beside the rest, so each compared name is kept as a 128-bit hash
// only (two names that differ share one with a chance of about 1 in 10^30),
// and the rows of the sets listed are read afterwards from their files.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ports/platform.h"
#include "search/duplicates.h"
#include "search/shelf_search.h"

namespace tallymere {

struct ShelfDuplicateSets {
  // The records that stand in a listed set, each once, in shelf and record
  // order.
  std::vector<ShelfRow> rows;
  // The listed sets (A, B) as indices into rows, A before B on the shelf, in
  // the order of the pairwise walk.
  std::vector<std::pair<std::size_t, std::size_t>> pairs;
  int64_t count = 0;                   // every set found, listed or not
  int64_t files = 0;                   // the file records walked
  std::vector<ShelfProblem> problems;  // data files left out, as the search leaves them
  bool cut() const { return count > static_cast<int64_t>(pairs.size()); }
};

ShelfDuplicateSets FindShelfDuplicates(const Platform& platform,
                                       const std::vector<std::string>& data_files,
                                       DuplicateRule rule,
                                       std::size_t max_sets = kMaxListedDuplicateSets);

}  // namespace tallymere
