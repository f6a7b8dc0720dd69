#pragma once
// The main window's commands: the table of every menu item, pop-up item,
// toolbar button and pane button, and the sets of them that open, a scan and
// New turn on and off together.

#include <array>
#include <cstddef>
#include <string_view>

#include "windows/command_state.h"
#include "windows/command_table.h"

namespace tallymere {

enum class MainCommand {
  // File
  kNew,
  kLoad,
  kSaveFile,
  kSaveas,
  kCreat,
  kReport,
  kScan,
  kAddDisk,
  kUpdate,
  kInfo,
  kId,
  kExit,
  // Edit
  kClip,
  kDelete,
  kRename,
  kCorrect,
  kProperty,
  // View
  kSearchdisk,
  kDuplicate1,
  kDuplicate2,
  kDuplicate3,
  kGrid,
  kFindCatalogs,
  // Tools
  kId3,
  kAddPlay,
  kSendData,
  kLabel,
  kDeleteDisk,
  kRescanDisk,
  kEject,
  // Settings
  kOpt,
  kEditHeader,
  kEditFooter,
  // Help
  kHelpTopic,
  kLink,
  kAbout,
  // The file list's pop-up mnuPop
  kP7,
  kP9,
  kP10,
  kP1,
  kP2,
  kP3,
  kP4,
  kP6,
  // The tree's pop-up mnuPop2
  kPop2Show,
  kPop2Label,
  kPop2Del,
  kPop2Rescan,
  // LVData's pop-up mnuPop3
  kUse,
  kPop3Del,
  kClearField,
  kPop3DelAll,
  // The scan batch's and the find panel's buttons
  kCmdAdd,
  kCmdDelete,
  kCmdRemove,
  kCmdFind,
  kCmdAll,
  // The Playlist Editor's buttons
  kOpenPlay,
  kPlay,
  kPlaylist,
  kDelItem,
  kClearAll,
  // The Data Field Editor's buttons
  kCmdUse,
  kEnter,
  kAtoT,
  kTtoA,
  kUpdata,
};
inline constexpr std::size_t kMainCommandCount = static_cast<std::size_t>(MainCommand::kUpdata) + 1;

// The places of the table that are no menu.
inline constexpr std::string_view kFileListPopup = "mnuPop";
inline constexpr std::string_view kTreePopup = "mnuPop2";
inline constexpr std::string_view kDataListPopup = "mnuPop3";
inline constexpr std::string_view kBatchPane = "Batch";
inline constexpr std::string_view kFindPane = "Find";
inline constexpr std::string_view kPlaylistPane = "Playlist";
inline constexpr std::string_view kDataEditorPane = "DataEditor";

// The menus of the menu bar, in order, with their captions.
struct MenuTitle {
  std::string_view place;
  std::string_view caption;
};
inline constexpr std::array<MenuTitle, 6> kMainMenus = {{{"File", "&File"},
                                                         {"Edit", "&Edit"},
                                                         {"View", "&View"},
                                                         {"Tools", "&Tools"},
                                                         {"Settings", "&Settings"},
                                                         {"Help", "&Help"}}};

// The buttons of the toolbar T by their number; 3, 8, 12, 14 and 18 run
// nothing and only separate.
namespace main_toolbar {
enum Button : int {
  kScan = 1,
  kCreat = 2,
  kNew = 4,
  kLoad = 5,
  kSaveFile = 6,
  kSaveas = 7,
  kClip = 9,
  kDelete = 10,
  kRename = 11,
  kSearchdisk = 13,
  kUpdate = 15,
  kAddDisk = 16,
  kDeleteDisk = 17,
  kId = 19,
  kEject = 20,
  kLast = kEject,
};
}  // namespace main_toolbar

// Written in the scope of the enum, so the table reads as a table.
namespace main_command_table {
using enum MainCommand;

inline constexpr CommandTable<MainCommand, kMainCommandCount> kTable = {{
    {kNew, "mnuNew", "&New", "File", false, main_toolbar::kNew, "Ctrl+N", "New data file"},
    {kLoad, "mnuLoad", "&Open", "File", false, main_toolbar::kLoad, "Ctrl+O", "Open a data file"},
    {kSaveFile, "mnuSaveFile", "&Save", "File", false, main_toolbar::kSaveFile, "Ctrl+S",
     "Save the data file"},
    {kSaveas, "mnuSaveas", "Save A Copy  As", "File", false, main_toolbar::kSaveas, "Ctrl+Shift+S",
     "Save a copy of the data file"},
    {kCreat, "mnuCreat", "Create List", "File", true, main_toolbar::kCreat, "",
     "Create a list of the catalog"},
    {kReport, "mnuReport", "Create List from Search Result", "File"},
    {kScan, "mnuScan", "S&can", "File", true, main_toolbar::kScan, "F5",
     "Scan the drives and folders of the batch"},
    {kAddDisk, "mnuAddDisk", "Add  a Disk to Data File", "File", false, main_toolbar::kAddDisk, "",
     "Add a disk to the data file"},
    {kUpdate, "mnuUpdate", "Update", "File", false, main_toolbar::kUpdate, "",
     "Scan the hard drives again, keeping the disks"},
    {kInfo, "mnuInfo", "Data File Info", "File", true},
    {kId, "mnuId", "MP3 Utilities", "File", true, main_toolbar::kId, "", "MP3 Utilities"},
    {kExit, "mnuExit", "E&xit", "File", true, 0, "Ctrl+Q"},
    {kClip, "mnuClip", "Copy File Name To Clipboard", "Edit", false, main_toolbar::kClip, "",
     "Copy the file name to the clipboard"},
    // Delete and F2 act on the file list's selection, so only while the list
    // has the focus: elsewhere they keep their usual meaning (the find text).
    {kDelete, "mnuDelete", "Delete File", "Edit", true, main_toolbar::kDelete, "Del",
     "Move the selected files to the trash", false, true},
    {kRename, "mnuRename", "Rename File", "Edit", false, main_toolbar::kRename, "F2",
     "Rename the selected file", false, true},
    {kCorrect, "mnuCorrect", "Correct File Name", "Edit"},
    {kProperty, "mnuProperty", "Properties", "Edit", true},
    {kSearchdisk, "mnuSearchdisk", "Show All Files in Selected", "View", false,
     main_toolbar::kSearchdisk, "", "Show all files in the selected folder or disk"},
    {kDuplicate1, "mnuDuplicate1", "Show Duplicates (Exact Match)", "View", true},
    {kDuplicate2, "mnuDuplicate2", "Show Duplicates (Not So Exact)", "View"},
    {kDuplicate3, "mnuDuplicate3", "Show Duplicates (Any Possible Match)", "View"},
    {kGrid, "mnuGrid", "Show Grid Lines", "View", true, 0, "", "", true},
    {kFindCatalogs, "mnuFindCatalogs", "Find in Catalogs...", "View", true, 0, "Ctrl+Shift+F",
     "Search every data file of the shelf"},
    {kId3, "mnuId3", "Send to MP3 Utilities", "Tools"},
    {kAddPlay, "mnuAddPlay", "Send to Playlist Editor", "Tools"},
    {kSendData, "mnuSendData", "Send to Data Field Editor", "Tools"},
    {kLabel, "mnuLabel", "Disk Label", "Tools", true},
    {kDeleteDisk, "mnuDeleteDisk", "Delete Disk or Folder", "Tools", false,
     main_toolbar::kDeleteDisk, "", "Delete the selected disk or folder from the data file"},
    {kRescanDisk, "mnuRescanDisk", "Rescan Disk...", "Tools", false, 0, "",
     "Read the selected disk again and replace its records"},
    {kEject, "mnuEject", "Open/Close CD Tray", "Tools", true, main_toolbar::kEject, "",
     "Open or close the CD tray"},
    {kOpt, "mnuOpt", "Options", "Settings"},
    {kEditHeader, "mnuEditHeader", "Header Text", "Settings", true},
    {kEditFooter, "mnuEditFooter", "Footer text", "Settings"},
    {kHelpTopic, "mnuHelpTopic", "Tallymere Help", "Help", false, 0, "F1"},
    {kLink, "mnuLink", "Check for Updates", "Help"},
    {kAbout, "mnuAbout", "&About Tallymere", "Help", true},
    {kP7, "p7", "Send to MP3 Utilities", kFileListPopup},
    {kP9, "p9", "Send to Playlist Editor", kFileListPopup},
    {kP10, "p10", "Send to Data Filed Editor", kFileListPopup},
    {kP1, "p1", "Copy to Clipboard", kFileListPopup, true},
    {kP2, "p2", "Delete Selected Item", kFileListPopup},
    {kP3, "p3", "Rename Selected Item", kFileListPopup},
    {kP4, "p4", "Correct Selected Item", kFileListPopup},
    {kP6, "p6", "Properties", kFileListPopup, true},
    {kPop2Show, "mnuPop2Show", "Show Files in Selected", kTreePopup},
    {kPop2Label, "mnuPop2Label", "Edit Disk Label", kTreePopup},
    {kPop2Del, "mnuPop2Del", "Delete", kTreePopup},
    {kPop2Rescan, "mnuPop2Rescan", "Rescan Disk...", kTreePopup},
    {kUse, "mnuUse", "Use File Name", kDataListPopup},
    {kPop3Del, "mnuPop3Del", "Remove Selected", kDataListPopup},
    {kClearField, "mnuClearField", "Clear Editable Fields", kDataListPopup},
    {kPop3DelAll, "mnuPop3DelAll", "Remove All", kDataListPopup},
    {kCmdAdd, "cmdAdd", "Add", kBatchPane, false, 0, "", "Add drive or folder"},
    {kCmdDelete, "cmdDelete", "Delete", kBatchPane, false, 0, "", "Delete selected folder"},
    {kCmdRemove, "cmdRemove", "Clear", kBatchPane, false, 0, "", "Clear all folders"},
    {kCmdFind, "cmdFind", "Find in Drive", kFindPane, false, 0, "", "Find files in selected drive"},
    {kCmdAll, "cmdAll", "Find in All", kFindPane, false, 0, "", "Find files in entire data file"},
    {kOpenPlay, "cmdOpenPlay", "Open a Playlist", kPlaylistPane, false, 0, "",
     "Open a playlist file"},
    {kPlay, "cmdPlay", "Save Playlist", kPlaylistPane, false, 0, "", "Save playlist"},
    {kPlaylist, "cmdPlaylist", "Play All", kPlaylistPane, false, 0, "",
     "Play all tracks in listview"},
    {kDelItem, "cmdDelItem", "Delete Selected", kPlaylistPane, false, 0, "",
     "Delete selected file(s)"},
    {kClearAll, "cmdClearAll", "Clear All", kPlaylistPane, false, 0, "", "Clear playlist window"},
    {kCmdUse, "cmdUse", "Use File Name", kDataEditorPane},
    {kEnter, "cmdEnter", "Enter", kDataEditorPane},
    {kAtoT, "cmdAtoT", "Artist <=> Title", kDataEditorPane},
    {kTtoA, "cmdTtoA", "Title <=> Album", kDataEditorPane},
    {kUpdata, "cmdUpdata", "Update", kDataEditorPane, false, 0, "", "Update data file"},
}};

// The commands that need a catalog: enabled by Open and a scan, disabled by New.
// The pop-up items and the find panel follow the menu commands they stand for.
inline constexpr std::array kCatalogCommands = {
    kNew,        kSaveFile,   kSaveas,     kCreat,      kInfo,      kLabel,   kSearchdisk,
    kDuplicate1, kDuplicate2, kDuplicate3, kProperty,   kClip,      kDelete,  kRename,
    kCorrect,    kUpdate,     kAddDisk,    kDeleteDisk, kP1,        kP2,      kP3,
    kP4,         kP6,         kPop2Show,   kPop2Del,    kPop2Label, kCmdFind, kCmdAll};
// The commands on a labelled disk: enabled while one is selected in the tree.
inline constexpr std::array kDiskCommands = {kRescanDisk, kPop2Rescan};
// The commands that need MP3 information; enabled only for the file type "mp3".
inline constexpr std::array kMp3Commands = {kId3, kAddPlay, kSendData, kP7, kP9, kP10};
// The toolbar buttons the catalog commands own.
inline constexpr std::array kCatalogToolbarButtons = {
    main_toolbar::kCreat,     main_toolbar::kNew,        main_toolbar::kSaveFile,
    main_toolbar::kSaveas,    main_toolbar::kClip,       main_toolbar::kDelete,
    main_toolbar::kRename,    main_toolbar::kSearchdisk, main_toolbar::kUpdate,
    main_toolbar::kDeleteDisk};
// The buttons that stay usable without a catalog.
inline constexpr std::array kAlwaysUsableToolbarButtons = {
    main_toolbar::kScan, main_toolbar::kAddDisk, main_toolbar::kId, main_toolbar::kEject};

}  // namespace main_command_table

inline constexpr const auto& kMainCommands = main_command_table::kTable;
static_assert(InEnumOrder(kMainCommands));
using main_command_table::kAlwaysUsableToolbarButtons;
using main_command_table::kCatalogCommands;
using main_command_table::kCatalogToolbarButtons;
using main_command_table::kDiskCommands;
using main_command_table::kMp3Commands;

using MainCommandState =
    CommandState<MainCommand, kMainCommands.size(), main_toolbar::Button::kLast>;

// Whether a command is usable whatever the catalog holds: enabled at start-up
// and never disabled.
constexpr bool AlwaysAvailable(MainCommand command) {
  for (MainCommand catalog : kCatalogCommands) {
    if (catalog == command) return false;
  }
  for (MainCommand mp3 : kMp3Commands) {
    if (mp3 == command) return false;
  }
  for (MainCommand disk : kDiskCommands) {
    if (disk == command) return false;
  }
  return command != MainCommand::kReport;
}

}  // namespace tallymere
