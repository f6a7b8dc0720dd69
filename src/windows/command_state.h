#pragma once
// Which commands a window offers right now: an enabled flag per menu command
// (by its name, such as "mnuSaveFile") and per toolbar button, by its number.
// The toolbar as a whole can be switched off (the Data Field Editor does so
// while it is shown); its buttons then read as disabled but keep their own
// flags for when it comes back.

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tallymere {

class CommandState {
 public:
  static constexpr int kToolbarButtons = 20;

  bool Enabled(std::string_view command) const;
  void Enable(std::string_view command, bool enabled);
  void Enable(const std::vector<std::string>& commands, bool enabled);

  bool ButtonEnabled(int button) const { return m_toolbar_enabled && m_buttons.at(button - 1); }
  void EnableButton(int button, bool enabled) { m_buttons.at(button - 1) = enabled; }

  bool toolbar_enabled() const { return m_toolbar_enabled; }
  void SetToolbarEnabled(bool enabled) { m_toolbar_enabled = enabled; }

 private:
  std::map<std::string, bool, std::less<>> m_commands;
  std::array<bool, kToolbarButtons> m_buttons{};
  bool m_toolbar_enabled = true;
};

}  // namespace tallymere
