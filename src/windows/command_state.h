#pragma once
// Which commands a window offers right now: an enabled flag per menu command
// (by its name, such as "mnuSaveFile") and per toolbar button, by its number.

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

  bool ButtonEnabled(int button) const { return m_buttons.at(button - 1); }
  void EnableButton(int button, bool enabled) { m_buttons.at(button - 1) = enabled; }

 private:
  std::map<std::string, bool, std::less<>> m_commands;
  std::array<bool, kToolbarButtons> m_buttons{};
};

}  // namespace tallymere
