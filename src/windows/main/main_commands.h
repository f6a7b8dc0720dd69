#pragma once
// The main window's commands: the identity of every menu item, pop-up item,
// toolbar button and pane button, its places, and the sets of them that
// open, a scan and New turn on and off together.

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
  kDuplicate4,
  kGrid,
  kFindCatalogs,
  // Tools
  kId3,
  kAddPlay,
  kSendData,
  kFingerprint,
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
// The first command that is no menu item: the pop-up items and the panes'
// buttons follow it.
inline constexpr std::size_t kFirstPaneCommand = static_cast<std::size_t>(MainCommand::kP7);

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

// The table of every command, each row with its handler, is FrmMain::kCommands
// (main_command_table.h), which can name the controller's handlers.
template <typename Controller>
using MainCommandTable = CommandTable<MainCommand, kMainCommandCount, Controller>;

namespace main_command_table {
using enum MainCommand;

// The commands that need a catalog: enabled by Open and a scan, disabled by New.
// The pop-up items and the find panel follow the menu commands they stand for.
inline constexpr std::array kCatalogCommands = {
    kNew,        kSaveFile,   kSaveas,     kCreat,      kInfo,       kLabel,
    kSearchdisk, kDuplicate1, kDuplicate2, kDuplicate3, kDuplicate4, kFingerprint,
    kProperty,   kClip,       kDelete,     kRename,     kCorrect,    kUpdate,
    kAddDisk,    kDeleteDisk, kP1,         kP2,         kP3,         kP4,
    kP6,         kPop2Show,   kPop2Del,    kPop2Label,  kCmdFind,    kCmdAll};
// The commands on a labelled disk: enabled while one is selected in the tree.
inline constexpr std::array kDiskCommands = {kRescanDisk, kPop2Rescan};
// The commands that need MP3 information; enabled only for a music file type
// ("mp3", "audio" or one audio format).
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

using main_command_table::kAlwaysUsableToolbarButtons;
using main_command_table::kCatalogCommands;
using main_command_table::kCatalogToolbarButtons;
using main_command_table::kDiskCommands;
using main_command_table::kMp3Commands;

using MainCommandState = CommandState<MainCommand, kMainCommandCount, main_toolbar::Button::kLast>;

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
