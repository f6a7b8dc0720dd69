#include "common/in_order.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace tallymere {
namespace {

TEST(InOrderTest, ResultsAreTakenInOrderWhateverThreadWorkedThem) {
  for (int threads : {1, 2, 4}) {
    SCOPED_TRACE(threads);
    constexpr int kItems = 200;
    std::vector<int> results(kItems, -1);
    std::vector<int> taken;
    std::vector<int> prepared;
    std::mutex lock;
    std::set<std::thread::id> workers;
    const std::thread::id caller = std::this_thread::get_id();
    RunInOrder(kItems, threads, /*ahead=*/3,
               {.prepare =
                    [&](int i) {
                      EXPECT_EQ(std::this_thread::get_id(), caller);
                      // Never more than 3 beyond the item to be taken next.
                      EXPECT_LE(i, static_cast<int>(taken.size()) + 3);
                      prepared.push_back(i);
                    },
                .work =
                    [&](int i) {
                      // Uneven work, so later items often finish first.
                      volatile int spin = (kItems - i) * 200;
                      while (spin > 0) spin = spin - 1;
                      results[static_cast<std::size_t>(i)] = i * i;
                      const std::lock_guard<std::mutex> held(lock);
                      workers.insert(std::this_thread::get_id());
                    },
                .take =
                    [&](int i) {
                      EXPECT_EQ(std::this_thread::get_id(), caller);
                      EXPECT_EQ(results[static_cast<std::size_t>(i)], i * i);
                      taken.push_back(i);
                      return true;
                    }});
    ASSERT_EQ(taken.size(), static_cast<std::size_t>(kItems));
    for (int i = 0; i < kItems; ++i) {
      EXPECT_EQ(taken[static_cast<std::size_t>(i)], i);
      EXPECT_EQ(prepared[static_cast<std::size_t>(i)], i);
    }
    EXPECT_LE(static_cast<int>(workers.size()), threads);
    if (threads == 1) {
      EXPECT_EQ(workers, std::set<std::thread::id>{caller});
    }
  }
}

TEST(InOrderTest, AStoppedRunTakesNothingMoreAndLetsTheWorkUnderWayEnd) {
  std::atomic<int> worked{0};
  std::vector<int> taken;
  RunInOrder(1000, 2, 8,
             {.prepare = [](int) {},
              .work = [&](int) { ++worked; },
              .take =
                  [&](int i) {
                    taken.push_back(i);
                    return i < 4;
                  }});
  EXPECT_EQ(taken, (std::vector<int>{0, 1, 2, 3, 4}));
  // Nothing beyond what was prepared was worked: at most 8 past item 4.
  EXPECT_LE(worked.load(), 5 + 8);
  RunInOrder(0, 4, 8,
             {.prepare = [](int) {}, .work = [](int) {}, .take = [](int) { return true; }});
}

}  // namespace
}  // namespace tallymere
