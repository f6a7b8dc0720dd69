#include "windows/main/main_commands.h"

#include <array>

#include "windows/command_state.h"

namespace tallymere {

const std::vector<std::string>& CatalogCommands() {
  // The file list's pop-up items p1-p4 and p6 and the tree pop-up's items run
  // the commands of the same set and follow them.
  static const std::vector<std::string> kCommands = {
      // File and Tools menus
      "mnuNew", "mnuSaveFile", "mnuSaveas", "mnuCreat", "mnuInfo", "mnuLabel", "mnuSearchdisk",
      "mnuDuplicate1", "mnuDuplicate2", "mnuDuplicate3", "mnuProperty", "mnuClip", "mnuDelete",
      "mnuRename", "mnuCorrect", "mnuUpdate", "mnuAddDisk", "mnuDeleteDisk",
      // pop-up menus
      "p1", "p2", "p3", "p4", "p6", "mnuPop2Show", "mnuPop2Del", "mnuPop2Label",
      // find panel
      "cmdFind", "cmdAll"};
  return kCommands;
}

const std::vector<std::string>& AlwaysAvailableCommands() {
  static const std::vector<std::string> kCommands = {
      "mnuLoad", "mnuScan", "mnuId", "mnuEject", "mnuExit", "mnuAbout", "mnuGrid", "mnuOpt",
      "mnuEditHeader", "mnuEditFooter", "mnuHelpTopic", "mnuLink",
      // LVData's pop-up: it works on the editor's own list, reachable only
      // while the editor's tab is.
      "mnuUse", "mnuPop3Del", "mnuClearField", "mnuPop3DelAll"};
  return kCommands;
}

const std::vector<std::string>& Mp3Commands() {
  static const std::vector<std::string> kCommands = {"mnuId3", "mnuAddPlay", "mnuSendData",
                                                     "p7",     "p9",         "p10"};
  return kCommands;
}

const std::vector<int>& CatalogToolbarButtons() {
  using namespace main_toolbar;
  static const std::vector<int> kButtons = {kCreat,  kNew,    kSaveFile,   kSaveas, kClip,
                                            kDelete, kRename, kSearchdisk, kUpdate, kDeleteDisk};
  return kButtons;
}

const std::vector<int>& AlwaysUsableToolbarButtons() {
  using namespace main_toolbar;
  static const std::vector<int> kButtons = {kScan, kAddDisk, kId, kEject};
  return kButtons;
}

std::string_view ToolbarCommand(int button) {
  using namespace main_toolbar;
  switch (button) {
    case kScan:
      return "mnuScan";
    case kCreat:
      return "mnuCreat";
    case kNew:
      return "mnuNew";
    case kLoad:
      return "mnuLoad";
    case kSaveFile:
      return "mnuSaveFile";
    case kSaveas:
      return "mnuSaveas";
    case kClip:
      return "mnuClip";
    case kDelete:
      return "mnuDelete";
    case kRename:
      return "mnuRename";
    case kSearchdisk:
      return "mnuSearchdisk";
    case kUpdate:
      return "mnuUpdate";
    case kAddDisk:
      return "mnuAddDisk";
    case kDeleteDisk:
      return "mnuDeleteDisk";
    case kId:
      return "mnuId";
    case kEject:
      return "mnuEject";
    default:
      return {};
  }
}

}  // namespace tallymere
