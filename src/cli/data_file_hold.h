#pragma once
// The data file of a command that writes one (update, update-disk,
// fingerprint, scan): held against every other such run from before it is
// read until after it is written, so two runs on one file at once both keep
// their changes, one after the other. The desktop program holds it too while
// it saves.

#include <memory>
#include <string>

#include "ports/platform.h"
#include "session/catalog_session.h"

namespace tallymere::cli {

// Holds the data file at native_path for this run; while another program
// holds it, says "PREFIX: Waiting for another program to finish with "FILE"
// ..." once on stderr and waits. Nothing held (nullptr) for a file that is
// missing or cannot be locked.
std::unique_ptr<FileHold> HoldDataFile(const Platform& platform, const std::string& native_path,
                                       const char* prefix);

// Writes the catalog back to target. Should target be the data file it was
// read from, and another program (one that does not hold data files) have
// changed that since, nothing is written and the error says so: the other
// change would be lost.
Status WriteBack(CatalogSession* session, const std::string& target);

}  // namespace tallymere::cli
