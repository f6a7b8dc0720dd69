#pragma once
// Keeps keyboard and mouse input away from the program's windows while a long
// command runs and yields to the event loop, so no second command can start
// inside the first. Unlike excluding input events from processing, which only
// postpones them and replays every key once the command ends, the blocker
// swallows them. Painting, timers and window moves go on.
//
// A dialog the command itself opens (a question, an error) gets its input as
// usual, since the command waits for it. A request from the window system to
// close a window is refused while the blocker lives; with kDefer it is carried
// out once the outermost blocker ends, so the user's close is not lost.
//
// The controller glue holds one for the length of every long command:
//   InputBlocker blocker;   // before the command's first YieldToUi
//   controller.mnuScan_Click();

#include <memory>

namespace tallymere {

class InputBlocker {
 public:
  enum class CloseRequests { kDefer, kRefuse };

  explicit InputBlocker(CloseRequests closes = CloseRequests::kDefer);
  ~InputBlocker();
  InputBlocker(const InputBlocker&) = delete;
  InputBlocker& operator=(const InputBlocker&) = delete;

  // True while any blocker lives.
  static bool IsActive();

 private:
  class Filter;
  std::unique_ptr<Filter> m_filter;
};

}  // namespace tallymere
