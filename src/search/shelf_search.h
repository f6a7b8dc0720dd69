#pragma once
// Find in Catalogs: one search over many data files. Each file is read whole
// into a buffer its thread reuses (a private copy, so a file changed while it
// is searched is refused rather than read half old, half new), its records
// are looked at as stored, and only the matching ones are decoded into rows.
// The files are searched on several threads at once and their rows taken in
// shelf order, so the result is the same whatever the threads did.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "catalog/catalog_record.h"
#include "common/status.h"
#include "ports/platform.h"
#include "search/catalog_condition.h"

namespace tallymere {

// The most rows a search holds; it goes on counting the matches beyond.
inline constexpr std::size_t kMaxShelfRows = 100000;

struct ShelfRow {
  int catalog = 0;  // index into the data files searched
  CatalogRecord record;
};

struct ShelfProblem {
  int catalog = 0;
  Status status;  // why the data file could not be read; it gave no rows
};

// Hears of a search as it goes, on the thread that runs SearchShelf.
class ShelfSearchObserver {
 public:
  virtual ~ShelfSearchObserver() = default;
  // A data file was searched (or refused), in shelf order: matched records
  // matched in it, of which these rows are kept (none once the search holds
  // kMaxShelfRows); the observer may take them.
  virtual void CatalogSearched(int /*catalog*/, int64_t /*matched*/,
                               std::vector<ShelfRow>* /*rows*/) {}
};

struct ShelfSearchResult {
  std::vector<ShelfRow> rows;  // those the observer left, in shelf and record order
  int64_t matched = 0;         // every matching record, kept or not
  int64_t total_size = 0;      // the sizes of every match
  int searched = 0;            // data files read in full
  std::vector<ShelfProblem> problems;
  bool cancelled = false;
  bool cut = false;  // more matched than kMaxShelfRows
};

// Searches the data files in order; cancel, set from any thread, ends the
// search soon (the result then says so and holds what was taken before).
ShelfSearchResult SearchShelf(const Platform& platform, const std::vector<std::string>& data_files,
                              const CatalogCondition& condition,
                              ShelfSearchObserver* observer = nullptr,
                              const std::atomic<bool>* cancel = nullptr);

// A short cause for a data file that could not be read, as a status line
// names it: "damaged", "no access", "gone", "not a file", "too large".
std::string ShortCause(const Status& status);

}  // namespace tallymere
