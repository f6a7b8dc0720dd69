#pragma once
// Whole-file reads and writes on native paths. A write never leaves a target
// half-written: the bytes go to a temporary file in the same folder, which then
// replaces the target in one rename.

#include <string>
#include <string_view>

#include "common/status.h"

namespace tallymere {

// Writes bytes to native_path atomically: a new temporary file in the target's
// folder, written in full and flushed to disk, given the old file's
// permissions, renamed over the target, and the folder flushed. On failure the
// temporary file is removed, the old file is left as it was, and the message
// names the file and the cause. A symbolic link as target is followed, so the
// file it points to is replaced and the link kept.
Status WriteFileAtomically(const std::string& native_path, std::string_view bytes);

// The whole content of a file, or a message naming the file and the cause.
Result<std::string> ReadWholeFile(const std::string& native_path);

}  // namespace tallymere
