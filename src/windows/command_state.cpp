#include "windows/command_state.h"

namespace tallymere {

bool CommandState::Enabled(std::string_view command) const {
  const auto it = m_commands.find(command);
  return it != m_commands.end() && it->second;
}

void CommandState::Enable(std::string_view command, bool enabled) {
  const auto it = m_commands.find(command);
  if (it == m_commands.end()) {
    m_commands.emplace(std::string(command), enabled);
  } else {
    it->second = enabled;
  }
}

void CommandState::Enable(const std::vector<std::string>& commands, bool enabled) {
  for (const std::string& command : commands) Enable(command, enabled);
}

}  // namespace tallymere
