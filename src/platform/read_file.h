#pragma once
// Whole-file reads on native paths that never hang and never grow without
// bound. Any path the program reads may name something that is not a file: a
// pipe (whose open waits for a writer), a device (/dev/zero never ends), a
// folder. Every read opens without waiting, takes regular files only, stops
// at a size no real file of its kind reaches, and notices a file that another
// program shortens or rewrites while it is read.

#include <sys/types.h>

#include <cstddef>
#include <string>

#include "common/status.h"

namespace tallymere {

// The whole content of a regular file of at most max_bytes, or a message
// naming the file and the cause: "Cannot read "X": it is a pipe, not a file",
// "... is larger than 1 MB, more than a file of its kind holds", "... changed
// while it was read; try again once nothing writes to it". Files that report
// no size (those under /proc) are read to their end, up to max_bytes.
Result<std::string> ReadWholeFile(const std::string& native_path, std::size_t max_bytes);
// The same into *bytes, whose room is reused; unspecified after a failure.
Status ReadWholeFileInto(const std::string& native_path, std::size_t max_bytes, std::string* bytes);

// What a path that is no regular file is, for messages: "it is a folder",
// "it is a pipe, not a file", "it is a device, not a file"...
std::string NotAFileCause(mode_t mode);

// "1 MB", "512 MB": a limit as the messages name it.
std::string LimitText(std::size_t max_bytes);

}  // namespace tallymere
