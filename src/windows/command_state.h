#pragma once
// Which commands a window offers right now: an enabled flag per command of its
// table, indexed by the command, and one per toolbar button by its number (a
// button keeps a state of its own: Add a Disk stays usable after New while its
// menu item is not). The toolbar as a whole can be switched off (the Data
// Field Editor does so while it is shown); its buttons then read as disabled
// but keep their own flags for when it comes back.

#include <array>
#include <cstddef>

namespace tallymere {

template <typename Id, std::size_t kCommands, int kButtons>
class CommandState {
 public:
  bool Enabled(Id command) const { return m_enabled.at(static_cast<std::size_t>(command)); }
  void Enable(Id command, bool enabled) {
    m_enabled.at(static_cast<std::size_t>(command)) = enabled;
  }
  template <typename Commands>
  void Enable(const Commands& commands, bool enabled) {
    for (Id command : commands) Enable(command, enabled);
  }

  bool ButtonEnabled(int button) const { return m_toolbar_enabled && m_buttons.at(button - 1); }
  void EnableButton(int button, bool enabled) { m_buttons.at(button - 1) = enabled; }

  bool toolbar_enabled() const { return m_toolbar_enabled; }
  void SetToolbarEnabled(bool enabled) { m_toolbar_enabled = enabled; }

 private:
  std::array<bool, kCommands> m_enabled{};
  std::array<bool, kButtons> m_buttons{};
  bool m_toolbar_enabled = true;
};

}  // namespace tallymere
