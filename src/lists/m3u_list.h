#pragma once
// The M3U playlist a list becomes while chkM3U is 1: one line per song, the
// song's native path, so that players on this machine find it; a song of a
// disk that is not mounted now keeps its catalog path (C:\Music\a.mp3), as no
// native path stands for it. Lines carry no trailing blanks and are sorted
// case-insensitively by their text; there is no header, footer, totals or
// "#EXTM3U" line. The playlist goes under the base name + ".m3u", replacing
// any file of that name in one step.

#include <string>
#include <vector>

#include "common/status.h"
#include "lists/list_entries.h"
#include "lists/list_request.h"

namespace tallymere {

// The line of one song.
std::string M3uLine(const Platform& platform, const ListEntry& entry);

// Returns the path of the playlist.
Result<std::string> WriteM3uList(const ListRequest& request, const std::vector<ListEntry>& entries);

}  // namespace tallymere
