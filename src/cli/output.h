#pragma once
// What every command owes its caller besides its result: output that
// arrived, or a failure that says it did not; and the drive map's problems,
// which would otherwise go unseen.

#include <string_view>

#include "ports/platform.h"

namespace tallymere::cli {

// Writes bytes to standard output, remembering the cause of the first write
// that fails, which FinishStandardOutput then names.
void WriteStandardOutput(std::string_view bytes);

// Flushes standard output. When anything written to it was lost (a full
// disk, a closed pipe), prints "PREFIX: cannot write to standard output:
// CAUSE" on stderr, followed by "; " and note when one is given (say, that
// the data file was written all the same), and returns false.
bool FinishStandardOutput(std::string_view prefix, std::string_view note = {});

// The drive map's problems (lines of Data/drives.dat that were left out), one
// line each on stderr behind prefix.
void ReportDriveMapProblems(const Platform& platform, std::string_view prefix);

}  // namespace tallymere::cli
