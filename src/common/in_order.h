#pragma once
// Work that may run on several threads while its results are taken in order
// on the caller's thread. The scan reads the files of several folders at once
// (most of its time is the system opening and reading files, which two cores
// do in half the time), yet records them and tells its observer folder by
// folder, exactly as one thread would.

#include <functional>

namespace tallymere {

struct InOrderSteps {
  // On the caller's thread, in order, before item i may be worked on.
  std::function<void(int)> prepare;
  // On any thread, once for each prepared item; never two at once for one item.
  std::function<void(int)> work;
  // On the caller's thread, in order, once item i is worked. False stops:
  // no later item is taken, and the work under way ends first.
  std::function<bool(int)> take;
};

// Runs items 0 to count - 1 through the steps with up to `threads` threads,
// the caller's among them (1: everything on the caller's thread), preparing
// at most `ahead` items beyond the one to be taken next. Returns when every
// step has ended.
void RunInOrder(int count, int threads, int ahead, const InOrderSteps& steps);

// The threads a reader of many files gains from on this machine: one a
// core, at most 4.
int ReadingThreads();

}  // namespace tallymere
