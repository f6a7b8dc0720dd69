#include "common/in_order.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace tallymere {
namespace {

constexpr int kMostReadingThreads = 4;

// The shared state of one run: which items are prepared, claimed and done.
class Items {
 public:
  Items(int count, const InOrderSteps& steps)
      : m_done(static_cast<std::size_t>(count)), m_steps(steps) {}

  // A worker thread: claims and works items until the run stops.
  void Work() {
    std::unique_lock<std::mutex> held(m_lock);
    for (;;) {
      m_changed.wait(held, [&] { return m_stopping || m_claimed < m_prepared; });
      if (m_stopping) return;
      WorkOne(held);
    }
  }

  void Prepare(int up_to) {
    for (;;) {
      int next = 0;
      {
        const std::lock_guard<std::mutex> held(m_lock);
        if (m_prepared >= up_to) return;
        next = m_prepared;
      }
      m_steps.prepare(next);
      {
        const std::lock_guard<std::mutex> held(m_lock);
        ++m_prepared;
      }
      m_changed.notify_all();
    }
  }

  // The caller's thread: waits for item i, working other items meanwhile.
  void AwaitDone(int i) {
    std::unique_lock<std::mutex> held(m_lock);
    while (!m_done[static_cast<std::size_t>(i)]) {
      if (m_claimed < m_prepared) {
        WorkOne(held);
      } else {
        m_changed.wait(held);
      }
    }
  }

  void Stop() {
    {
      const std::lock_guard<std::mutex> held(m_lock);
      m_stopping = true;
    }
    m_changed.notify_all();
  }

 private:
  // Claims the next prepared item and works it, the lock let go meanwhile.
  void WorkOne(std::unique_lock<std::mutex>& held) {
    const int item = m_claimed++;
    held.unlock();
    m_steps.work(item);
    held.lock();
    m_done[static_cast<std::size_t>(item)] = true;
    m_changed.notify_all();
  }

  std::mutex m_lock;
  std::condition_variable m_changed;
  std::vector<bool> m_done;
  const InOrderSteps& m_steps;
  int m_prepared = 0;
  int m_claimed = 0;
  bool m_stopping = false;
};

}  // namespace

void RunInOrder(int count, int threads, int ahead, const InOrderSteps& steps) {
  Items items(count, steps);
  std::vector<std::thread> workers;
  for (int t = 1; t < std::min(threads, count); ++t)
    workers.emplace_back([&items] { items.Work(); });
  for (int next = 0; next < count; ++next) {
    items.Prepare(std::min(count, next + 1 + std::max(ahead, 0)));
    items.AwaitDone(next);
    if (!steps.take(next)) break;
  }
  items.Stop();
  for (std::thread& worker : workers) worker.join();
}

int ReadingThreads() {
  const auto cores = static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(cores, 1, kMostReadingThreads);
}

}  // namespace tallymere
