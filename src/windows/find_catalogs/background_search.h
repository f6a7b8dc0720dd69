#pragma once
// A shelf search on a thread of its own, so the window never waits for it:
// the rows of each data file are made into list rows there and handed over
// in batches to the window's thread, which takes them whenever it looks.

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ports/platform.h"
#include "search/shelf_search.h"
#include "views/list_model.h"

namespace tallymere {

class BackgroundSearch {
 public:
  using MakeRow = std::function<ListRow(const ShelfRow&)>;

  BackgroundSearch() = default;
  BackgroundSearch(const BackgroundSearch&) = delete;
  BackgroundSearch& operator=(const BackgroundSearch&) = delete;
  // Cancels a search under way and waits for it.
  ~BackgroundSearch();

  // Starts a search, cancelling the one under way first. The platform must
  // outlive the search.
  void Start(const Platform& platform, std::vector<std::string> data_files,
             CatalogCondition condition, MakeRow make_row);
  // Asks the search under way to end, without waiting: it ends soon, and
  // Take then gives its summary, marked cancelled.
  void RequestCancel() { m_cancel = true; }
  // Asks the search under way to end and waits until it has.
  void Cancel();

  // What arrived since the last Take.
  struct Progress {
    std::vector<ListRow> rows;
    int catalogs_done = 0;                      // data files searched or refused so far
    int64_t matched = 0;                        // so far
    std::optional<ShelfSearchResult> finished;  // the summary, once (rows left out)
  };
  Progress Take();
  bool running() const { return m_running; }
  // Blocks until the search under way has ended (tests and benchmarks).
  void Wait();

 private:
  class Observer;

  std::thread m_thread;
  std::atomic<bool> m_cancel{false};
  std::mutex m_lock;  // guards m_arrived
  Progress m_arrived;
  bool m_running = false;  // set and cleared on the window's thread
};

}  // namespace tallymere
