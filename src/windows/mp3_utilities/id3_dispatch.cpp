// The MP3 Utilities window's dispatcher: each command of the table runs its
// handler, and nothing runs while a long command of either window yields.

#include "windows/mp3_utilities/frm_id3.h"

namespace tallymere {

void FrmID3::Handle(const std::function<void()>& handler) {
  // What the user does while a command yields would act on a batch or a
  // catalog being changed, so it is refused.
  if (busy()) return;
  handler();
}

void FrmID3::Run(Id3Command command) {
  Handle([this, command] {
    if (!RunMenuCommand(command)) RunTextTool(command);
  });
}

void FrmID3::Tbr_ButtonClick(int button) {
  if (const std::optional<Id3Command> command = CommandOfButton(kId3Commands, button)) {
    Run(*command);
  }
}

bool FrmID3::RunMenuCommand(Id3Command command) {
  using enum Id3Command;
  switch (command) {
    case kOpen:
      mnuOpen_Click();
      break;
    case kExit:
      mnuExit_Click();
      break;
    case kRemove:
      mnuRemove_Click();
      break;
    case kWrite:
      mnuWrite_Click();
      break;
    case kTagName:
      mnuTagName_Click();
      break;
    case kRen:
      mnuRen_Click();
      break;
    case kUndo:
      mnuUndo_Click();
      break;
    case kRemv:
      mnuRemv_Click();
      break;
    case kClAll:
      mnuClAll_Click();
      break;
    case kOops:
      mnuOops_Click();
      break;
    case kStartOver:
      mnuStartOver_Click();
      break;
    case kIDrenam:
      mnuIDrenam_Click();
      break;
    case kMan:
      mnuMan_Click();
      break;
    case kLog:
      mnuLog_Click();
      break;
    case kCom:
      mnuCom_Click();
      break;
    case kAlbum:
      mnuAlbum_Click();
      break;
    case kPop2R:
      mnuPop2R_Click();
      break;
    case kPop2Del:
      mnuPop2Del_Click();
      break;
    case kPop2Rem:
      mnuPop2Rem_Click();
      break;
    default:
      return false;
  }
  return true;
}

bool FrmID3::RunTextTool(Id3Command command) {
  using enum Id3Command;
  switch (command) {
    case kTrim:
      cmdTrim_Click();
      break;
    case kTrim2:
      cmdTrim2_Click();
      break;
    case kTrimNum:
      cmdTrimNum_Click();
      break;
    case kTrimspace:
      cmdTrimspace_Click();
      break;
    case kUpper:
      cmdUpper_Click();
      break;
    case kLower:
      cmdLower_Click();
      break;
    case kReplace:
      cmdReplace_Click();
      break;
    case kReplace1:
      cmdReplace1_Click();
      break;
    case kInsert:
      cmdInsert_Click();
      break;
    case kSwap:
      cmdSwap_Click();
      break;
    case kAuto:
      cmdAuto_Click();
      break;
    default:
      return false;
  }
  return true;
}

}  // namespace tallymere
