#include "windows/command_state.h"

#include <array>

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

const std::vector<std::string>& CatalogCommands() {
  // The file list's pop-up items p1-p4 and p6 and the tree pop-up's items run
  // the commands of the same set and follow them.
  static const std::vector<std::string> kCommands = {"mnuNew",
                                                     "mnuSaveFile",
                                                     "mnuSaveas",
                                                     "mnuCreat",
                                                     "mnuInfo",
                                                     "mnuLabel",
                                                     "mnuSearchdisk",
                                                     "mnuDuplicate1",
                                                     "mnuDuplicate2",
                                                     "mnuDuplicate3",
                                                     "mnuProperty",
                                                     "mnuClip",
                                                     "mnuDelete",
                                                     "mnuRename",
                                                     "mnuCorrect",
                                                     "mnuUpdate",
                                                     "mnuAddDisk",
                                                     "mnuDeleteDisk",
                                                     "p1",
                                                     "p2",
                                                     "p3",
                                                     "p4",
                                                     "p6",
                                                     "mnuPop2Show",
                                                     "mnuPop2Del",
                                                     "mnuPop2Label",
                                                     "cmdFind",
                                                     "cmdAll"};
  return kCommands;
}

const std::vector<std::string>& Mp3Commands() {
  static const std::vector<std::string> kCommands = {"mnuId3", "mnuAddPlay", "mnuSendData",
                                                     "p7",     "p9",         "p10"};
  return kCommands;
}

const std::vector<int>& CatalogToolbarButtons() {
  static const std::vector<int> kButtons = {2, 4, 6, 7, 9, 10, 11, 12, 13, 15, 17};
  return kButtons;
}

std::string_view ToolbarCommand(int button) {
  static constexpr std::array<std::string_view, CommandState::kToolbarButtons + 1> kCommands = {
      "",
      "mnuScan",
      "mnuCreat",
      "",
      "mnuNew",
      "mnuLoad",
      "mnuSaveFile",
      "mnuSaveas",
      "",
      "mnuClip",
      "mnuDelete",
      "mnuRename",
      "",
      "mnuSearchdisk",
      "",
      "mnuUpdate",
      "mnuAddDisk",
      "mnuDeleteDisk",
      "",
      "mnuId",
      "mnuEject"};
  return button >= 1 && button <= CommandState::kToolbarButtons ? kCommands[button]
                                                                : std::string_view();
}

}  // namespace tallymere
