#include "windows/find_catalogs/background_search.h"

namespace tallymere {

// Runs on the search's thread: makes each data file's rows and hands them
// over under the lock.
class BackgroundSearch::Observer : public ShelfSearchObserver {
 public:
  Observer(BackgroundSearch& owner, const MakeRow& make_row)
      : m_owner(owner), m_make_row(make_row) {}

  void CatalogSearched(int /*catalog*/, int64_t matched, std::vector<ShelfRow>* rows) override {
    std::vector<ListRow> made;
    made.reserve(rows->size());
    for (const ShelfRow& row : *rows) made.push_back(m_make_row(row));
    rows->clear();
    const std::lock_guard<std::mutex> held(m_owner.m_lock);
    Progress& arrived = m_owner.m_arrived;
    std::move(made.begin(), made.end(), std::back_inserter(arrived.rows));
    ++arrived.catalogs_done;
    arrived.matched += matched;
  }

 private:
  BackgroundSearch& m_owner;
  const MakeRow& m_make_row;
};

BackgroundSearch::~BackgroundSearch() { Cancel(); }

void BackgroundSearch::Start(const Platform& platform, std::vector<std::string> data_files,
                             CatalogCondition condition, MakeRow make_row) {
  Cancel();
  m_cancel = false;
  {
    const std::lock_guard<std::mutex> held(m_lock);
    m_arrived = Progress();
  }
  m_running = true;
  m_thread = std::thread([this, &platform, files = std::move(data_files),
                          condition = std::move(condition), make_row = std::move(make_row)] {
    Observer observer(*this, make_row);
    ShelfSearchResult result = SearchShelf(platform, files, condition, &observer, &m_cancel);
    const std::lock_guard<std::mutex> held(m_lock);
    m_arrived.finished = std::move(result);
  });
}

void BackgroundSearch::Cancel() {
  if (!m_thread.joinable()) return;
  m_cancel = true;
  m_thread.join();
  m_running = false;
}

void BackgroundSearch::Wait() {
  if (m_thread.joinable()) m_thread.join();
}

BackgroundSearch::Progress BackgroundSearch::Take() {
  Progress taken;
  {
    const std::lock_guard<std::mutex> held(m_lock);
    taken = std::move(m_arrived);
    m_arrived = Progress();
  }
  if (taken.finished) {
    if (m_thread.joinable()) m_thread.join();
    m_running = false;
  }
  return taken;
}

}  // namespace tallymere
