#pragma once
// What the commands that scan (scan, update, update-disk) read from their
// arguments alike: a root given as a catalog path or as a folder of this
// machine, and the settings a catalog was scanned with.

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "common/status.h"
#include "ports/platform.h"
#include "scan/scan_request.h"
#include "session/catalog_session.h"

namespace tallymere::cli {

// The catalog path of a root given either way; an error text when it has
// none. Catalogs name drives in upper case, so "c:\Music" becomes "C:\Music".
Result<std::string> CatalogRoot(const Platform& platform, const std::string& root);

// The file type and MP3-information flag of Data/lists.dat; a settings file
// that cannot be read is named on stderr after prefix, and the defaults used.
ScanSettings StoredScanSettings(const Platform& platform, const char* prefix);

// -o/--output OUT.mpd of the commands that replace their data file.
void AddReplacementOutputOption(CLI::App* command, std::string* output);

// Opens FILE.mpd into the session as File > Open leaves it: the file type
// and MP3-information flag of its last trailer, or of Data/lists.dat when it
// has none (a problem with that file named on stderr after prefix). As the
// window's Update does, only music (mp3, audio, one audio format) has its
// information read; the ID3v1 code page is --id3v1-encoding's, else the
// user's setting.
Status OpenToRescan(CatalogSession* session, const std::string& file,
                    const std::string& id3v1_encoding, const char* prefix);

// --exclude PATTERN (repeatable) and --no-default-excludes, which add to or
// replace the leave-out rules of the settings for one run, and (scan only)
// --explain-excludes.
struct LeaveOutOptions {
  std::vector<std::string> exclude;
  bool no_default_excludes = false;
  bool explain = false;
};
void AddLeaveOutOptions(CLI::App* command, LeaveOutOptions* options, bool with_explain);

// Gives the session the rules of the user's settings (unless
// --no-default-excludes) followed by those of --exclude; a rule that cannot
// be used is named on stderr after prefix, and the others are used.
void UseLeaveOutRules(CatalogSession* session, const LeaveOutOptions& options, const char* prefix);

}  // namespace tallymere::cli
