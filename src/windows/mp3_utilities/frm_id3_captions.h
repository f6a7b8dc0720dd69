#pragma once
// The MP3 Utilities window's commands and texts: the table of its menu items,
// pop-up items, toolbar buttons and text tools, and the hints of its input
// boxes.

#include <array>
#include <cstddef>
#include <string_view>

#include "windows/command_state.h"
#include "windows/command_table.h"

namespace tallymere {

inline constexpr std::string_view kMp3UtilitiesCaption = "MP3 Utilities";

// The buttons of the toolbar Tbr by their index, named after the menu items
// they run; 2, 6 and 13 only separate.
namespace id3_toolbar {
enum Button : int {
  kOpen = 1,
  kRemove = 3,
  kWrite = 4,
  kTagName = 5,
  kRemv = 7,
  kClAll = 8,
  kMan = 9,
  kIDrenam = 10,
  kStartOver = 11,
  kOops = 12,
  kRen = 14,
  kUndo = 15,
  kLast = kUndo,
};
}  // namespace id3_toolbar

enum class Id3Command {
  // File, Tag, Rename, Tools and Options menus
  kOpen,
  kExit,
  kRemove,
  kWrite,
  kTagName,
  kRen,
  kUndo,
  kRemv,
  kClAll,
  kOops,
  kStartOver,
  kIDrenam,
  kMan,
  kLog,
  kCom,
  kAlbum,
  // The list's pop-up menu mnuPop2
  kPop2R,
  kPop2Del,
  kPop2Rem,
  // The text tools' buttons
  kTrim,
  kTrim2,
  kTrimNum,
  kTrimspace,
  kUpper,
  kLower,
  kReplace,
  kReplace1,
  kInsert,
  kSwap,
  kAuto,
};
inline constexpr std::size_t kId3CommandCount = static_cast<std::size_t>(Id3Command::kAuto) + 1;

// The menus of the menu bar in order, with their captions: each has an Alt
// key of its own, so Tools takes the o as Tag has the T.
struct Id3MenuTitle {
  std::string_view place;
  std::string_view caption;
};
inline constexpr std::array<Id3MenuTitle, 5> kId3Menus = {{{"File", "&File"},
                                                           {"Tag", "&Tag"},
                                                           {"Rename", "&Rename"},
                                                           {"Tools", "T&ools"},
                                                           {"Options", "O&ptions"}}};
inline constexpr std::string_view kId3ListPopup = "mnuPop2";
inline constexpr std::string_view kTextToolsPane = "TextTools";

// The table of every command, each row with its handler, is FrmID3::kCommands
// (frm_id3_command_table.h), which can name the controller's handlers.
template <typename Controller>
using Id3CommandTable = CommandTable<Id3Command, kId3CommandCount, Controller>;

using Id3CommandState = CommandState<Id3Command, kId3CommandCount, id3_toolbar::kLast>;

inline constexpr std::string_view kTxtTextHint = "Enter text to be trimmed or inserted here";
inline constexpr std::string_view kTxtReplaceHint = "Enter text to be replaced here";
inline constexpr std::string_view kTxtWithHint = "Enter replacement text here";
inline constexpr std::string_view kOptSelectCaption = "Apply to selected file";
inline constexpr std::string_view kOptAllCaption = "Apply to ALL files";

// The preserve boxes chkTitle, chkArt, chkAlb, chkYear, chkCom, chkGenre.
inline constexpr std::array<std::string_view, 6> kPreserveBoxHints = {
    "Check it to preserve Title field in original tag",
    "Check it to preserve Artist field in original tag",
    "Check it to preserve Album field in original tag",
    "Check it to preserve Year field in original tag",
    "Check it to preserve Comment field in original tag",
    "Check it to preserve Genre field in original tag",
};

}  // namespace tallymere
