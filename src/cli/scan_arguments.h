#pragma once
// What the commands that scan (scan, update, update-disk) read from their
// arguments alike: a root given as a catalog path or as a folder of this
// machine, and the settings a catalog was scanned with.

#include <CLI/CLI.hpp>
#include <string>

#include "catalog/catalog_table.h"
#include "common/status.h"
#include "ports/platform.h"
#include "scan/scan_request.h"

namespace tallymere::cli {

// A letter a drive can have, in either case.
inline bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The catalog path of a root given either way; an error text when it has
// none. Catalogs name drives in upper case, so "c:\Music" becomes "C:\Music".
Result<std::string> CatalogRoot(const Platform& platform, const std::string& root);

// The file type and MP3-information flag of Data/lists.dat; a settings file
// that cannot be read is named on stderr after prefix, and the defaults used.
ScanSettings StoredScanSettings(const Platform& platform, const char* prefix);

// -o/--output OUT.mpd of the commands that replace their data file.
void AddReplacementOutputOption(CLI::App* command, std::string* output);

// As File > Open leaves them: the file type and MP3-information flag of the
// catalog's last trailer, or the settings file's when it has none (a problem
// with it named on stderr after prefix). As the window's Update does, only
// MP3 files have their information read.
ScanSettings CatalogScanSettings(const CatalogTable& catalog, const Platform& platform,
                                 const char* prefix);

}  // namespace tallymere::cli
