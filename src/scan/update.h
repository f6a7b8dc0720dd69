#pragma once
// Update: the hard-drive part of a catalog scanned afresh, the removable and
// CD-ROM disks kept. Every fixed drive of the drive map is scanned from its
// root; the records of drives that are removable or CD-ROM now (mounted or
// not: a stick that is out keeps its letter and its type) are kept in their
// order after the scanned ones, and a new trailer ends the catalog. Records
// of drives that are neither (network drives, drives gone) are dropped.
//
// The catalog is built in a table of its own, so a failure (no fixed drive in
// the map, a fixed drive that cannot be listed, more records than a catalog
// holds) leaves the caller's catalog exactly as it was.

#include <string>
#include <vector>

#include "catalog/catalog_table.h"
#include "common/status.h"
#include "ports/platform.h"
#include "scan/scan_disk.h"
#include "scan/scan_request.h"

namespace tallymere {

struct UpdatePlan {
  std::vector<std::string> fixed_roots;      // scanned, in drive-letter order
  std::vector<std::string> removable_roots;  // whose records are kept
};

// The drives of the map as Update sees them now.
UpdatePlan PlanUpdate(const Platform& platform);

struct UpdateResult {
  CatalogTable table;  // scanned records, kept records, trailer
  int scanned = 0;     // files found on the fixed drives
  int kept = 0;        // records kept of the removable disks
  ScanReport report;   // folders and names the scan had to leave out
};

// Scans the plan's fixed drives and joins the kept records of catalog.
// trailer_time is the trailer's Modified text.
Result<UpdateResult> UpdateHardDrives(const Platform& platform, const UpdatePlan& plan,
                                      const CatalogTable& catalog, const ScanSettings& settings,
                                      const std::string& trailer_time,
                                      ScanObserver* observer = nullptr);

}  // namespace tallymere
