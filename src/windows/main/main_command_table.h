#pragma once
// The main window's command table: for every menu item, pop-up item, toolbar
// button and pane button its row, the handler it runs among them. It needs
// the controller's handlers, so it follows the controller's class.

#include "windows/main/frm_main.h"

namespace tallymere {

#define RUNS(call) TALLYMERE_RUNS(FrmMain, call)
#define RUNS_AS(call) TALLYMERE_RUNS_AS(FrmMain, call)

// Written in the scope of the enum, so the tables read as tables, and as
// members, so their rows can name the private handlers. The menus' items
// first, then the pop-up items and the panes' buttons, in enum order.
constexpr auto FrmMain::MenuRows() {
  using enum MainCommand;
  return std::array<CommandEntry<MainCommand, FrmMain>, kFirstPaneCommand>{{
      {kNew, "mnuNew", RUNS(mnuNew_Click), "&New", "File", false, main_toolbar::kNew, "Ctrl+N",
       "New data file"},
      {kLoad, "mnuLoad", RUNS(mnuLoad_Click), "&Open", "File", false, main_toolbar::kLoad, "Ctrl+O",
       "Open a data file"},
      {kSaveFile, "mnuSaveFile", RUNS(mnuSaveFile_Click), "&Save", "File", false,
       main_toolbar::kSaveFile, "Ctrl+S", "Save the data file"},
      {kSaveas, "mnuSaveas", RUNS(mnuSaveas_Click), "Save A Copy  As", "File", false,
       main_toolbar::kSaveas, "Ctrl+Shift+S", "Save a copy of the data file"},
      {kCreat, "mnuCreat", RUNS(mnuCreat_Click), "Create List", "File", true, main_toolbar::kCreat,
       "", "Create a list of the catalog"},
      {kReport, "mnuReport", RUNS(mnuReport_Click), "Create List from Search Result", "File"},
      {kScan, "mnuScan", RUNS(mnuScan_Click), "S&can", "File", true, main_toolbar::kScan, "F5",
       "Scan the drives and folders of the batch"},
      {kAddDisk, "mnuAddDisk", RUNS(mnuAddDisk_Click), "Add  a Disk to Data File", "File", false,
       main_toolbar::kAddDisk, "", "Add a disk to the data file"},
      {kUpdate, "mnuUpdate", RUNS(mnuUpdate_Click), "Update", "File", false, main_toolbar::kUpdate,
       "", "Scan the hard drives again, keeping the disks"},
      {kInfo, "mnuInfo", RUNS(mnuInfo_Click), "Data File Info", "File", true},
      {kId, "mnuId", RUNS(mnuId_Click), "MP3 Utilities", "File", true, main_toolbar::kId, "",
       "MP3 Utilities"},
      {kExit, "mnuExit", RUNS(mnuExit_Click), "E&xit", "File", true, 0, "Ctrl+Q"},
      {kClip, "mnuClip", RUNS(mnuClip_Click), "Copy File Name To Clipboard", "Edit", false,
       main_toolbar::kClip, "", "Copy the file name to the clipboard"},
      // Delete and F2 act on the file list's selection, so only while the list
      // has the focus: elsewhere they keep their usual meaning (the find text).
      {kDelete, "mnuDelete", RUNS(mnuDelete_Click), "Delete File", "Edit", true,
       main_toolbar::kDelete, "Del", "Move the selected files to the trash", false, true},
      {kRename, "mnuRename", RUNS(mnuRename_Click), "Rename File", "Edit", false,
       main_toolbar::kRename, "F2", "Rename the selected file", false, true},
      {kCorrect, "mnuCorrect", RUNS(mnuCorrect_Click), "Correct File Name", "Edit"},
      {kProperty, "mnuProperty", RUNS(mnuProperty_Click), "Properties", "Edit", true},
      {kSearchdisk, "mnuSearchdisk", RUNS(mnuSearchdisk_Click), "Show All Files in Selected",
       "View", false, main_toolbar::kSearchdisk, "",
       "Show all files in the selected folder or disk"},
      {kDuplicate1, "mnuDuplicate1", RUNS(mnuDuplicate1_Click), "Show Duplicates (Exact Match)",
       "View", true},
      {kDuplicate2, "mnuDuplicate2", RUNS(mnuDuplicate2_Click), "Show Duplicates (Not So Exact)",
       "View"},
      {kDuplicate3, "mnuDuplicate3", RUNS(mnuDuplicate3_Click),
       "Show Duplicates (Any Possible Match)", "View"},
      {kDuplicate4, "mnuDuplicate4", RUNS(mnuDuplicate4_Click), "Show Duplicates (Same Audio)",
       "View", false, 0, "", "Files whose audio is the same, whatever their names and tags"},
      {kGrid, "mnuGrid", RUNS(mnuGrid_Click), "Show Grid Lines", "View", true, 0, "", "", true},
      {kFindCatalogs, "mnuFindCatalogs", RUNS(mnuFindCatalogs_Click), "Find in Catalogs...", "View",
       true, 0, "Ctrl+Shift+F", "Search every data file of the shelf"},
      {kId3, "mnuId3", RUNS(mnuId3_Click), "Send to MP3 Utilities", "Tools"},
      {kAddPlay, "mnuAddPlay", RUNS(mnuAddPlay_Click), "Send to Playlist Editor", "Tools"},
      {kSendData, "mnuSendData", RUNS(mnuSendData_Click), "Send to Data Field Editor", "Tools"},
      {kFingerprint, "mnuFingerprint", RUNS(mnuFingerprint_Click), "Compute Audio Fingerprints",
       "Tools", false, 0, "",
       "Read the audio files of the mounted disks that have no fingerprint yet"},
      {kLabel, "mnuLabel", RUNS(mnuLabel_Click), "Disk Label", "Tools", true},
      {kDeleteDisk, "mnuDeleteDisk", RUNS(mnuDeleteDisk_Click), "Delete Disk or Folder", "Tools",
       false, main_toolbar::kDeleteDisk, "",
       "Delete the selected disk or folder from the data file"},
      {kRescanDisk, "mnuRescanDisk", RUNS(mnuRescanDisk_Click), "Rescan Disk...", "Tools", false, 0,
       "", "Read the selected disk again and replace its records"},
      {kEject, "mnuEject", RUNS(mnuEject_Click), "Open/Close CD Tray", "Tools", true,
       main_toolbar::kEject, "", "Open or close the CD tray"},
      {kOpt, "mnuOpt", RUNS(mnuOpt_Click), "Options", "Settings"},
      {kEditHeader, "mnuEditHeader", RUNS(mnuEditHeader_Click), "Header Text", "Settings", true},
      {kEditFooter, "mnuEditFooter", RUNS(mnuEditFooter_Click), "Footer text", "Settings"},
      {kHelpTopic, "mnuHelpTopic", RUNS(mnuHelpTopic_Click), "Tallymere Help", "Help", false, 0,
       "F1"},
      {kLink, "mnuLink", RUNS(mnuLink_Click), "Check for Updates", "Help"},
      {kAbout, "mnuAbout", RUNS(mnuAbout_Click), "&About Tallymere", "Help", true},
  }};
}

constexpr auto FrmMain::PaneRows() {
  using enum MainCommand;
  return std::array<CommandEntry<MainCommand, FrmMain>, kMainCommandCount - kFirstPaneCommand>{{
      {kP7, "p7", RUNS_AS(mnuId3_Click), "Send to MP3 Utilities", kFileListPopup},
      {kP9, "p9", RUNS_AS(mnuAddPlay_Click), "Send to Playlist Editor", kFileListPopup},
      {kP10, "p10", RUNS_AS(mnuSendData_Click), "Send to Data Filed Editor", kFileListPopup},
      {kP1, "p1", RUNS_AS(mnuClip_Click), "Copy to Clipboard", kFileListPopup, true},
      {kP2, "p2", RUNS_AS(mnuDelete_Click), "Delete Selected Item", kFileListPopup},
      {kP3, "p3", RUNS_AS(mnuRename_Click), "Rename Selected Item", kFileListPopup},
      {kP4, "p4", RUNS_AS(mnuCorrect_Click), "Correct Selected Item", kFileListPopup},
      {kP6, "p6", RUNS_AS(mnuProperty_Click), "Properties", kFileListPopup, true},
      {kPop2Show, "mnuPop2Show", RUNS(mnuPop2Show_Click), "Show Files in Selected", kTreePopup},
      {kPop2Label, "mnuPop2Label", RUNS(mnuPop2Label_Click), "Edit Disk Label", kTreePopup},
      {kPop2Del, "mnuPop2Del", RUNS(mnuPop2Del_Click), "Delete", kTreePopup},
      {kPop2Rescan, "mnuPop2Rescan", RUNS_AS(mnuRescanDisk_Click), "Rescan Disk...", kTreePopup},
      {kUse, "mnuUse", RUNS(m_data_editor.mnuUse_Click), "Use File Name", kDataListPopup},
      {kPop3Del, "mnuPop3Del", RUNS(m_data_editor.mnuPop3Del_Click), "Remove Selected",
       kDataListPopup},
      {kClearField, "mnuClearField", RUNS(m_data_editor.mnuClearField_Click),
       "Clear Editable Fields", kDataListPopup},
      {kPop3DelAll, "mnuPop3DelAll", RUNS(m_data_editor.mnuPop3DelAll_Click), "Remove All",
       kDataListPopup},
      {kCmdAdd, "cmdAdd", RUNS(cmdAdd_Click), "Add", kBatchPane, false, 0, "",
       "Add drive or folder"},
      {kCmdDelete, "cmdDelete", RUNS(cmdDelete_Click), "Delete", kBatchPane, false, 0, "",
       "Delete selected folder"},
      {kCmdRemove, "cmdRemove", RUNS(cmdRemove_Click), "Clear", kBatchPane, false, 0, "",
       "Clear all folders"},
      {kCmdFind, "cmdFind", RUNS(cmdFind_Click), "Find in Drive", kFindPane, false, 0, "",
       "Find files in selected drive"},
      {kCmdAll, "cmdAll", RUNS(cmdAll_Click), "Find in All", kFindPane, false, 0, "",
       "Find files in entire data file"},
      {kOpenPlay, "cmdOpenPlay", RUNS(m_playlist.cmdOpenPlay_Click), "Open a Playlist",
       kPlaylistPane, false, 0, "", "Open a playlist file"},
      {kPlay, "cmdPlay", RUNS(m_playlist.cmdPlay_Click), "Save Playlist", kPlaylistPane, false, 0,
       "", "Save playlist"},
      {kPlaylist, "cmdPlaylist", RUNS(m_playlist.cmdPlaylist_Click), "Play All", kPlaylistPane,
       false, 0, "", "Play all tracks in listview"},
      {kDelItem, "cmdDelItem", RUNS(m_playlist.cmdDelItem_Click), "Delete Selected", kPlaylistPane,
       false, 0, "", "Delete selected file(s)"},
      {kClearAll, "cmdClearAll", RUNS(m_playlist.cmdClearAll_Click), "Clear All", kPlaylistPane,
       false, 0, "", "Clear playlist window"},
      {kCmdUse, "cmdUse", RUNS(m_data_editor.cmdUse_Click), "Use File Name", kDataEditorPane},
      {kEnter, "cmdEnter", RUNS(m_data_editor.cmdEnter_Click), "Enter", kDataEditorPane},
      {kAtoT, "cmdAtoT", RUNS(m_data_editor.cmdAtoT_Click), "Artist <=> Title", kDataEditorPane},
      {kTtoA, "cmdTtoA", RUNS(m_data_editor.cmdTtoA_Click), "Title <=> Album", kDataEditorPane},
      {kUpdata, "cmdUpdata", RUNS(m_data_editor.cmdUpdata_Click), "Update", kDataEditorPane, false,
       0, "", "Update data file"},
  }};
}

constexpr MainCommandTable<FrmMain> FrmMain::CommandRows() {
  return JoinedRows(MenuRows(), PaneRows());
}

inline constexpr MainCommandTable<FrmMain> FrmMain::kCommands = CommandRows();

#undef RUNS
#undef RUNS_AS

inline constexpr const auto& kMainCommands = FrmMain::kCommands;
static_assert(InEnumOrder(kMainCommands));
static_assert(RunsItsOwnHandlers(kMainCommands));

}  // namespace tallymere
