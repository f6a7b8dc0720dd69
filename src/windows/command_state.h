#pragma once
// Which commands the main window offers right now: an enabled flag per menu
// command (by its name, such as "mnuSaveFile") and per toolbar button (1-20).

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

// The commands that need a catalog: enabled by Open and a scan, disabled by New.
const std::vector<std::string>& CatalogCommands();
// The commands that need MP3 information; enabled only for the file type "mp3".
const std::vector<std::string>& Mp3Commands();
// The toolbar buttons the catalog commands own.
const std::vector<int>& CatalogToolbarButtons();
// The command each toolbar button runs; empty for the five that run nothing.
std::string_view ToolbarCommand(int button);

}  // namespace tallymere
