#pragma once
// Moving files to the trash the way the desktop does it: ask first, then move
// each file; a file that no trash can take (a disk without a usable one) may
// be deleted permanently instead, after a question of its own. The platform
// moves and deletes and says how it went; the questions are the window's.

#include <string>
#include <string_view>
#include <vector>

#include "ports/platform.h"
#include "ports/ui_services.h"

namespace tallymere {

// The title of the questions around moving files to the trash.
inline constexpr std::string_view kTrashTitle = "Move to Trash";

enum class RecycleOutcome {
  kAllMoved,  // every file went (to the trash, or deleted after Yes)
  kKept,      // the user said no, or kept a file
  kFailed,    // a file could be neither trashed nor deleted, and it was said why
};

// paths are catalog paths ("C:\Music\a.mp3"), which the drive map makes
// native, or native ones. Stops at the first file that fails.
RecycleOutcome RecycleWithConfirmation(UiServices& ui, const Platform& platform,
                                       const std::vector<std::string>& paths);

}  // namespace tallymere
