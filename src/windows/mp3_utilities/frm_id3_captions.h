#pragma once
// The MP3 Utilities window's texts for its view: menu captions with their
// toolbar buttons, the text tools' captions and tool tips, and the hints of
// the input boxes. The controller's handlers carry the same names.

#include <array>
#include <string_view>

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

struct Id3MenuItem {
  std::string_view name;  // the handler is name + "_Click"
  std::string_view menu;  // the menu it belongs to
  std::string_view caption;
  int button;  // toolbar button, 0 for none
};

// In menu order; a separator follows mnuOpen in the File menu.
inline constexpr std::array<Id3MenuItem, 16> kId3MenuItems = {{
    {"mnuOpen", "File", "Browse for folder", id3_toolbar::kOpen},
    {"mnuExit", "File", "Exit Utilities", 0},
    {"mnuRemove", "Tag", "Erase Tag", id3_toolbar::kRemove},
    {"mnuWrite", "Tag", "Write Tag", id3_toolbar::kWrite},
    {"mnuTagName", "Tag", "Write Tag Using File Name", id3_toolbar::kTagName},
    {"mnuRen", "Rename", "Rename", id3_toolbar::kRen},
    {"mnuUndo", "Rename", "Undo", id3_toolbar::kUndo},
    {"mnuRemv", "Tools", "Remove Selected File(s)", id3_toolbar::kRemv},
    {"mnuClAll", "Tools", "Clear All Files", id3_toolbar::kClAll},
    {"mnuOops", "Tools", "Oops!", id3_toolbar::kOops},
    {"mnuStartOver", "Tools", "Start Over", id3_toolbar::kStartOver},
    {"mnuIDrenam", "Tools", "Extract ID3 Tag", id3_toolbar::kIDrenam},
    {"mnuMan", "Tools", "Manual", id3_toolbar::kMan},
    {"mnuLog", "Options", "Create Rename Log ", 0},
    {"mnuCom", "Options", "Include Comment Field (When exract tag)", 0},
    {"mnuAlbum", "Options", "Include Album Field (When exract tag)", 0},
}};
// Toolbar buttons that only separate.
inline constexpr std::array<int, 3> kId3ToolbarSeparators = {2, 6, 13};

// The list's pop-up menu mnuPop2.
inline constexpr std::array<Id3MenuItem, 3> kId3PopupItems = {{
    {"mnuPop2R", "Popup", "Write Tag Using File Name", 0},
    {"mnuPop2Del", "Popup", "Remove Selected File(s)", 0},
    {"mnuPop2Rem", "Popup", "Clear All Files", 0},
}};

struct Id3ToolButton {
  std::string_view name;
  std::string_view caption;
  std::string_view tool_tip;
};

inline constexpr std::array<Id3ToolButton, 11> kId3ToolButtons = {{
    {"cmdTrim", "Trim Method 1", "Trim text and replace with space"},
    {"cmdTrim2", "Trim Method 2", "Trim text"},
    {"cmdTrimNum", "Trim Numbers", "Trim all numbers in file name"},
    {"cmdTrimspace", "\" ab \" -> \"ab\"", "Trim leading and trailing space"},
    {"cmdUpper", "ab --> Ab", "Convert first Character of every word to upper case"},
    {"cmdLower", "AB --> ab", "Convert all characters to lower case"},
    {"cmdReplace", "Replace", "Replace all occurrences of specified text with new text"},
    {"cmdReplace1", "Replace Once", "Replace first occurrence of specified text with new text"},
    {"cmdInsert", "Insert Text", "Insert text at specified location"},
    {"cmdSwap", "Artist <-> Title", "Swap artist and title"},
    {"cmdAuto", "Auto", "Auto rename"},
}};

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
