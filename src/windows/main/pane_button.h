#pragma once
// A button or pop-up item of a side-panel pane, for the view to build: the
// name of its control (its handler is name + "_Click"), its caption and its
// tool tip (empty for none).

#include <string_view>

namespace tallymere {

struct PaneButton {
  std::string_view name;
  std::string_view caption;
  std::string_view tool_tip;
};

}  // namespace tallymere
