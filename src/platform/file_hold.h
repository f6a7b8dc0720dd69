#pragma once
// Holding a data file for one program's read-change-write, and telling
// whether a path still names the file it named before. The hold is an
// advisory lock (flock) on the open file. Every save replaces the file by
// renaming a new one over it, so the file a path named a moment ago may be
// one nobody will read again: a lock counts only once the path still names
// the very file that is locked, and else the file that took its place is
// locked instead.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/status.h"
#include "ports/platform.h"

namespace tallymere {

// Platform::HoldFile on Linux.
Result<std::unique_ptr<FileHold>> HoldFileExclusively(const std::string& native_path,
                                                      const std::function<bool()>& on_busy);

// Platform::FileVersionAt on Linux.
std::optional<FileVersion> NativeFileVersion(const std::string& native_path);

}  // namespace tallymere
