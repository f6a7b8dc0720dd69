// The main window's dispatcher: each command of the table runs its handler,
// and nothing runs while a long command yields to the window.

#include "windows/main/frm_main.h"

namespace tallymere {

void FrmMain::Handle(const std::function<void()>& handler) {
  // A command that yields lets the window repaint; what the user does then
  // would act on a catalog being rebuilt, so it is refused.
  if (busy()) return;
  handler();
}

void FrmMain::Run(MainCommand command) {
  Handle([this, command] {
    if (RunFileCommand(command) || RunToolsCommand(command) || RunPopupCommand(command)) return;
    RunPaneCommand(command);
  });
}

// The File and Edit menus.
bool FrmMain::RunFileCommand(MainCommand command) {
  using enum MainCommand;
  switch (command) {
    case kNew:
      mnuNew_Click();
      break;
    case kLoad:
      mnuLoad_Click();
      break;
    case kSaveFile:
      mnuSaveFile_Click();
      break;
    case kSaveas:
      mnuSaveas_Click();
      break;
    case kCreat:
      mnuCreat_Click();
      break;
    case kReport:
      mnuReport_Click();
      break;
    case kScan:
      mnuScan_Click();
      break;
    case kAddDisk:
      mnuAddDisk_Click();
      break;
    case kUpdate:
      mnuUpdate_Click();
      break;
    case kInfo:
      mnuInfo_Click();
      break;
    case kId:
      mnuId_Click();
      break;
    case kExit:
      if (close_window) close_window();
      break;
    case kClip:
      mnuClip_Click();
      break;
    case kDelete:
      mnuDelete_Click();
      break;
    case kRename:
      mnuRename_Click();
      break;
    case kCorrect:
      mnuCorrect_Click();
      break;
    case kProperty:
      mnuProperty_Click();
      break;
    default:
      return false;
  }
  return true;
}

// The View, Tools, Settings and Help menus.
bool FrmMain::RunToolsCommand(MainCommand command) {
  using enum MainCommand;
  switch (command) {
    case kSearchdisk:
      mnuSearchdisk_Click();
      break;
    case kDuplicate1:
      mnuDuplicate1_Click();
      break;
    case kDuplicate2:
      mnuDuplicate2_Click();
      break;
    case kDuplicate3:
      mnuDuplicate3_Click();
      break;
    case kGrid:
      mnuGrid_Click();
      break;
    case kFindCatalogs:
      mnuFindCatalogs_Click();
      break;
    case kId3:
      mnuId3_Click();
      break;
    case kAddPlay:
      mnuAddPlay_Click();
      break;
    case kSendData:
      mnuSendData_Click();
      break;
    case kLabel:
      mnuLabel_Click();
      break;
    case kDeleteDisk:
      mnuDeleteDisk_Click();
      break;
    case kRescanDisk:
      mnuRescanDisk_Click();
      break;
    case kEject:
      mnuEject_Click();
      break;
    case kOpt:
      mnuOpt_Click();
      break;
    case kEditHeader:
      mnuEditHeader_Click();
      break;
    case kEditFooter:
      mnuEditFooter_Click();
      break;
    case kHelpTopic:
      mnuHelpTopic_Click();
      break;
    case kLink:
      mnuLink_Click();
      break;
    case kAbout:
      if (show_about) show_about();
      break;
    default:
      return false;
  }
  return true;
}

// Pop-up items run the menu commands they stand for.
bool FrmMain::RunPopupCommand(MainCommand command) {
  using enum MainCommand;
  switch (command) {
    case kP7:
      mnuId3_Click();
      break;
    case kP9:
      mnuAddPlay_Click();
      break;
    case kP10:
      mnuSendData_Click();
      break;
    case kP1:
      mnuClip_Click();
      break;
    case kP2:
      mnuDelete_Click();
      break;
    case kP3:
      mnuRename_Click();
      break;
    case kP4:
      mnuCorrect_Click();
      break;
    case kP6:
      mnuProperty_Click();
      break;
    case kPop2Show:
      mnuPop2Show_Click();
      break;
    case kPop2Label:
      mnuPop2Label_Click();
      break;
    case kPop2Del:
      mnuPop2Del_Click();
      break;
    case kPop2Rescan:
      mnuRescanDisk_Click();
      break;
    case kUse:
      m_data_editor.mnuUse_Click();
      break;
    case kPop3Del:
      m_data_editor.mnuPop3Del_Click();
      break;
    case kClearField:
      m_data_editor.mnuClearField_Click();
      break;
    case kPop3DelAll:
      m_data_editor.mnuPop3DelAll_Click();
      break;
    default:
      return false;
  }
  return true;
}

bool FrmMain::RunPaneCommand(MainCommand command) {
  using enum MainCommand;
  switch (command) {
    case kCmdAdd:
      cmdAdd_Click();
      break;
    case kCmdDelete:
      cmdDelete_Click();
      break;
    case kCmdRemove:
      cmdRemove_Click();
      break;
    case kCmdFind:
      cmdFind_Click();
      break;
    case kCmdAll:
      cmdAll_Click();
      break;
    case kOpenPlay:
      m_playlist.cmdOpenPlay_Click();
      break;
    case kPlay:
      m_playlist.cmdPlay_Click();
      break;
    case kPlaylist:
      m_playlist.cmdPlaylist_Click();
      break;
    case kDelItem:
      m_playlist.cmdDelItem_Click();
      break;
    case kClearAll:
      m_playlist.cmdClearAll_Click();
      break;
    case kCmdUse:
      m_data_editor.cmdUse_Click();
      break;
    case kEnter:
      m_data_editor.cmdEnter_Click();
      break;
    case kAtoT:
      m_data_editor.cmdAtoT_Click();
      break;
    case kTtoA:
      m_data_editor.cmdTtoA_Click();
      break;
    case kUpdata:
      m_data_editor.cmdUpdata_Click();
      break;
    default:
      return false;
  }
  return true;
}

}  // namespace tallymere
