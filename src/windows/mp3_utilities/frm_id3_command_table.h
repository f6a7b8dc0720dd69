#pragma once
// The MP3 Utilities window's command table: for every menu item, pop-up item,
// toolbar button and text tool its row, the handler it runs among them. It
// needs the controller's handlers, so it follows the controller's class.

#include "windows/mp3_utilities/frm_id3.h"

namespace tallymere {

#define RUNS(call) TALLYMERE_RUNS(FrmID3, call)

// Written in the scope of the enum, so the table reads as a table.
constexpr Id3CommandTable<FrmID3> FrmID3::CommandRows() {
  using enum Id3Command;
  namespace t = id3_toolbar;
  return {{
      {kOpen, "mnuOpen", RUNS(mnuOpen_Click), "Browse for folder", "File", false, t::kOpen},
      {kExit, "mnuExit", RUNS(mnuExit_Click), "Exit Utilities", "File", true},
      {kRemove, "mnuRemove", RUNS(mnuRemove_Click), "Erase Tag", "Tag", false, t::kRemove},
      {kWrite, "mnuWrite", RUNS(mnuWrite_Click), "Write Tag", "Tag", false, t::kWrite},
      {kTagName, "mnuTagName", RUNS(mnuTagName_Click), "Write Tag Using File Name", "Tag", false,
       t::kTagName},
      {kRen, "mnuRen", RUNS(mnuRen_Click), "Rename", "Rename", false, t::kRen},
      {kUndo, "mnuUndo", RUNS(mnuUndo_Click), "Undo", "Rename", false, t::kUndo},
      {kRemv, "mnuRemv", RUNS(mnuRemv_Click), "Remove Selected File(s)", "Tools", false, t::kRemv},
      {kClAll, "mnuClAll", RUNS(mnuClAll_Click), "Clear All Files", "Tools", false, t::kClAll},
      {kOops, "mnuOops", RUNS(mnuOops_Click), "Oops!", "Tools", false, t::kOops},
      {kStartOver, "mnuStartOver", RUNS(mnuStartOver_Click), "Start Over", "Tools", false,
       t::kStartOver},
      {kIDrenam, "mnuIDrenam", RUNS(mnuIDrenam_Click), "Extract ID3 Tag", "Tools", false,
       t::kIDrenam},
      {kMan, "mnuMan", RUNS(mnuMan_Click), "Manual", "Tools", false, t::kMan},
      {kLog, "mnuLog", RUNS(mnuLog_Click), "Create Rename Log ", "Options", false, 0, "", "", true},
      {kCom, "mnuCom", RUNS(mnuCom_Click), "Include Comment Field (When exract tag)", "Options",
       false, 0, "", "", true},
      {kAlbum, "mnuAlbum", RUNS(mnuAlbum_Click), "Include Album Field (When exract tag)", "Options",
       false, 0, "", "", true},
      {kPop2R, "mnuPop2R", RUNS(mnuPop2R_Click), "Write Tag Using File Name", kId3ListPopup},
      {kPop2Del, "mnuPop2Del", RUNS(mnuPop2Del_Click), "Remove Selected File(s)", kId3ListPopup},
      {kPop2Rem, "mnuPop2Rem", RUNS(mnuPop2Rem_Click), "Clear All Files", kId3ListPopup},
      {kTrim, "cmdTrim", RUNS(cmdTrim_Click), "Trim Method 1", kTextToolsPane, false, 0, "",
       "Trim text and replace with space"},
      {kTrim2, "cmdTrim2", RUNS(cmdTrim2_Click), "Trim Method 2", kTextToolsPane, false, 0, "",
       "Trim text"},
      {kTrimNum, "cmdTrimNum", RUNS(cmdTrimNum_Click), "Trim Numbers", kTextToolsPane, false, 0, "",
       "Trim all numbers in file name"},
      {kTrimspace, "cmdTrimspace", RUNS(cmdTrimspace_Click), "\" ab \" -> \"ab\"", kTextToolsPane,
       false, 0, "", "Trim leading and trailing space"},
      {kUpper, "cmdUpper", RUNS(cmdUpper_Click), "ab --> Ab", kTextToolsPane, false, 0, "",
       "Convert first Character of every word to upper case"},
      {kLower, "cmdLower", RUNS(cmdLower_Click), "AB --> ab", kTextToolsPane, false, 0, "",
       "Convert all characters to lower case"},
      {kReplace, "cmdReplace", RUNS(cmdReplace_Click), "Replace", kTextToolsPane, false, 0, "",
       "Replace all occurrences of specified text with new text"},
      {kReplace1, "cmdReplace1", RUNS(cmdReplace1_Click), "Replace Once", kTextToolsPane, false, 0,
       "", "Replace first occurrence of specified text with new text"},
      {kInsert, "cmdInsert", RUNS(cmdInsert_Click), "Insert Text", kTextToolsPane, false, 0, "",
       "Insert text at specified location"},
      {kSwap, "cmdSwap", RUNS(cmdSwap_Click), "Artist <-> Title", kTextToolsPane, false, 0, "",
       "Swap artist and title"},
      {kAuto, "cmdAuto", RUNS(cmdAuto_Click), "Auto", kTextToolsPane, false, 0, "", "Auto rename"},
  }};
}

inline constexpr Id3CommandTable<FrmID3> FrmID3::kCommands = CommandRows();

#undef RUNS

inline constexpr const auto& kId3Commands = FrmID3::kCommands;
static_assert(InEnumOrder(kId3Commands));
static_assert(RunsItsOwnHandlers(kId3Commands));

}  // namespace tallymere
