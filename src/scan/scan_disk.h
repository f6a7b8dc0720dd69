#pragma once
// The scanning engine: GetAllFolders expands the roots into the sorted folder
// work list, and ScanDisk writes one catalog record per file of the type,
// folder by folder, into a table of its own. It reaches the drives only
// through the platform and tells what it does only through its observer.
//
// Each folder is listed once: the listing that finds its subfolders also
// keeps its files of the type, and their records are written when the
// folder's turn in the work list comes. Scanning all files, the listing
// reads each file's size and modified time. Scanning one type, it reads names
// only, and the scan reads the facts of the files of the type alone, by name
// in their folder held open (FolderFiles); an MP3 file's facts come from
// opening it for its MP3 information. A file the scan cannot reach that way
// gets what a listing with file facts says of it, so it is catalogued exactly
// when that listing would have shown it.

#include <string>
#include <string_view>

#include "catalog/catalog_table.h"
#include "common/status.h"
#include "ports/platform.h"
#include "scan/scan_request.h"

namespace tallymere {

// Scans the request's roots. A subfolder that cannot be listed is skipped
// and counted in the report; a root that cannot be listed fails the scan, and
// so does finding more files of the type than a catalog holds (with
// CatalogFullMessage). A failed scan gives no records at all.
Result<ScanResult> ScanDisk(const Platform& platform, const ScanRequest& request,
                            ScanObserver* observer = nullptr);

// Makes the scan's table a catalog: after its records the records of `after`
// (Add a Disk keeps the files catalogued before the disk there; may be null)
// move behind them, then a trailer of the scan's settings made at
// trailer_time. When they would not fit a catalog nothing moves and kNoSpace
// comes back.
Status NewCatalogFromScan(ScanResult* scan, CatalogTable* after, std::string_view trailer_time);

// The text for a full catalog, shown when a scan finds more files than fit.
std::string CatalogFullMessage(int max_files = CatalogTable::kMaxFileRecords);

}  // namespace tallymere
