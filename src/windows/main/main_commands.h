#pragma once
// The main window's command sets: which menu commands and toolbar buttons
// open, a scan and New turn on and off together, and the command each
// toolbar button runs.

#include <string>
#include <string_view>
#include <vector>

namespace tallymere {

// The buttons of the toolbar T by their number, named after the commands
// they run; 3, 8, 12, 14 and 18 run nothing.
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
};
}  // namespace main_toolbar

// The commands that need a catalog: enabled by Open and a scan, disabled by New.
const std::vector<std::string>& CatalogCommands();
// The commands usable whatever the catalog holds: enabled at start-up, never
// disabled.
const std::vector<std::string>& AlwaysAvailableCommands();
// The commands that need MP3 information; enabled only for the file type "mp3".
const std::vector<std::string>& Mp3Commands();
// The toolbar buttons the catalog commands own.
const std::vector<int>& CatalogToolbarButtons();
// The buttons that stay usable without a catalog.
const std::vector<int>& AlwaysUsableToolbarButtons();
// The command each toolbar button runs; empty for the five that run nothing.
std::string_view ToolbarCommand(int button);

}  // namespace tallymere
