#pragma once
// Whole-file writes on native paths. A write never leaves a target
// half-written, and a write that is killed leaves nothing behind: the bytes go
// to a file without a name in the target's folder (O_TMPFILE), which gets a
// temporary name only once it is complete and at once replaces the target in
// one rename. Where the file system cannot make a file without a name, a
// named temporary file is used, and those a killed writer left in the folder
// are removed by the next write there.
//
// Temporary names: ".NAME.tmp-PID-N-T" beside NAME (process id, a counter,
// the clock), hidden from listings and from the scan.

#include <string>
#include <string_view>

#include "common/status.h"

namespace tallymere {

// Writes bytes to native_path atomically: written in full and flushed to
// disk, given the old file's permissions, renamed over the target, and the
// folder flushed. On failure the old file is left as it was and the message
// names the file and the cause. A symbolic link as target is followed, so the
// file it points to is replaced (or, for a dangling link, created) and the
// link kept. A target that exists and is no regular file (a device, a pipe,
// a folder) is refused and left alone.
Status WriteFileAtomically(const std::string& native_path, std::string_view bytes);

// Removes the temporary files of our naming in folder that a writer killed
// before this process started left behind, unless their writer still runs.
void RemoveStaleTemporaryFiles(const std::string& folder);

}  // namespace tallymere
