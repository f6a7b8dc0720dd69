#include "search/shelf_search.h"

#include <algorithm>

#include "catalog/data_file.h"
#include "common/in_order.h"

namespace tallymere {
namespace {

// How many records a search walks between looks at the cancel flag.
constexpr int kRecordsBetweenLooks = 4096;

// What one data file gave.
struct CatalogFinding {
  std::vector<ShelfRow> rows;
  int64_t matched = 0;
  int64_t total_size = 0;
  Status status;
};

bool Cancelled(const std::atomic<bool>* cancel) {
  return cancel != nullptr && cancel->load(std::memory_order_relaxed);
}

// kept: the rows the search holds so far; once it is full, matches are
// counted but no longer decoded.
void SearchCatalog(const Platform& platform, const std::string& path, int catalog,
                   const RecordMatcher& matcher, const std::atomic<bool>* cancel,
                   const std::atomic<std::size_t>& kept, CatalogFinding* finding) {
  FieldMemory memory;
  const bool full = kept.load(std::memory_order_relaxed) >= kMaxShelfRows;
  finding->status = VisitStoredFile(platform, path, [&](int number, const StoredRecord& stored) {
    if (number % kRecordsBetweenLooks == 0 && Cancelled(cancel)) return false;
    if (!matcher.Matches(stored, &memory)) return true;
    ++finding->matched;
    finding->total_size += stored.size;
    if (!full && finding->rows.size() < kMaxShelfRows) {
      ShelfRow& row = finding->rows.emplace_back();
      row.catalog = catalog;
      stored.DecodeTo(&row.record);
    }
    return true;
  });
  // A damaged file gives nothing, as File > Open refuses it whole.
  if (!RecordsWereRead(finding->status)) finding->rows.clear();
}

}  // namespace

ShelfSearchResult SearchShelf(const Platform& platform, const std::vector<std::string>& data_files,
                              const CatalogCondition& condition, ShelfSearchObserver* observer,
                              const std::atomic<bool>* cancel) {
  const RecordMatcher matcher(condition);
  ShelfSearchResult result;
  std::vector<CatalogFinding> findings(data_files.size());
  std::atomic<std::size_t> kept{0};
  const int threads = ReadingThreads();
  RunInOrder(static_cast<int>(data_files.size()), threads, 2 * threads,
             {.prepare = [](int) {},
              .work =
                  [&](int i) {
                    if (Cancelled(cancel)) return;
                    SearchCatalog(platform, data_files[static_cast<std::size_t>(i)], i, matcher,
                                  cancel, kept, &findings[static_cast<std::size_t>(i)]);
                  },
              .take =
                  [&](int i) {
                    CatalogFinding finding = std::move(findings[static_cast<std::size_t>(i)]);
                    if (Cancelled(cancel)) {
                      result.cancelled = true;
                      return false;
                    }
                    // A catalog cut short is searched as far as it goes, and named.
                    if (!finding.status) result.problems.push_back({i, finding.status});
                    if (RecordsWereRead(finding.status)) {
                      ++result.searched;
                      result.matched += finding.matched;
                      result.total_size += finding.total_size;
                    }
                    finding.rows.resize(std::min(finding.rows.size(), kMaxShelfRows - kept));
                    kept += finding.rows.size();
                    if (observer != nullptr) {
                      observer->CatalogSearched(
                          i, RecordsWereRead(finding.status) ? finding.matched : 0, &finding.rows);
                    }
                    std::move(finding.rows.begin(), finding.rows.end(),
                              std::back_inserter(result.rows));
                    return true;
                  }});
  result.cut = result.matched > static_cast<int64_t>(kept.load());
  return result;
}

std::string ShortCause(const Status& status) {
  switch (status.code()) {
    case StatusCode::kChanged:
      return "changed while read";
    case StatusCode::kNotAFile:
      return "not a file";
    case StatusCode::kTooLarge:
      return "too large";
    case StatusCode::kDamaged:
      return "damaged";
    case StatusCode::kIncomplete:
      return "cut short";
    case StatusCode::kNoAccess:
      return "no access";
    case StatusCode::kNotFound:
      return "gone";
    default:
      return "cannot be read";
  }
}

}  // namespace tallymere
