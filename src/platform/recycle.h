#pragma once
// Moving files to the trash the way the desktop does it: ask first, then move
// each file; a file that no trash can take (a disk without a usable trash) may
// be deleted permanently instead, after a question of its own. The desktop's
// RecycleFiles service shows these questions; this is what it asks and does.

#include <string>
#include <vector>

#include "ports/platform.h"
#include "ports/ui_services.h"

namespace tallymere {

inline constexpr std::string_view kTrashTitle = "Move to Trash";
// Results besides 0 (every file went).
inline constexpr int kRecycleCancelled = 1;  // the user said no, or kept a file
inline constexpr int kRecycleFailed = 2;     // a file could be neither trashed nor deleted

// paths are native, or catalog paths ("C:\Music\a.mp3") that the platform maps.
// Stops at the first file that fails, after saying why.
int RecycleWithConfirmation(UiServices& ui, const Platform& platform,
                            const std::vector<std::string>& paths);

}  // namespace tallymere
