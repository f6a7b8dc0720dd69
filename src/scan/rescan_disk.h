#pragma once
// Rescan Disk: one labelled disk read again under its label and compared
// with its records, so the user sees what changed before the records are
// replaced where they stand. The comparison is one pass over the disk's
// records and one over the new ones, matched by path and name.

#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog_table.h"
#include "catalog/node_key.h"
#include "common/status.h"
#include "ports/platform.h"
#include "scan/scan_request.h"

namespace tallymere {

struct DiskChange {
  enum class Kind { kAdded, kRemoved, kChanged };
  Kind kind = Kind::kAdded;
  std::string path;  // the catalog path with the name: "E:\Sub\a.mp3"
  // What changed, each field from what to what: "size 4,000 to 4,417; date
  // 12/07/2026 14:05:09 to 12/08/2026 09:00:00; title "Intro" to "Overture"
  std::string what;
};

struct DiskRescan {
  std::string label;
  // The folder read, as a catalog path under the disk's own drive root
  // ("E:\Music\" for a disk added from that folder).
  std::string read_folder;
  // The disk's new records from record 1, their paths under the disk's own
  // drive root whichever folder it was read from.
  ScanResult scan;
  // In path order; a file renamed is one removed and one added.
  std::vector<DiskChange> changes;
  int added = 0;
  int removed = 0;
  int changed = 0;
};

// The folder of a disk its records were taken from: the deepest folder
// below the drive root that holds all of them ("Music\" for a disk added
// from E:\Music), empty for the root.
std::string DiskFolder(const CatalogTable& catalog, const NodeKey& disk);

// Reads the disk of `disk` (a labelled disk's node) from read_root: its drive
// root when its medium is there, or the catalog path of the folder it is
// mounted at elsewhere. The disk is read from the folder its records were
// taken from (DiskFolder), when that folder is there. Fails as ScanDisk
// does, and with kNotFound when the disk holds no file of the type: an empty
// result never replaces a disk.
Result<DiskRescan> RescanDisk(const Platform& platform, const CatalogTable& catalog,
                              const NodeKey& disk, std::string_view read_root,
                              const ScanSettings& settings, ScanObserver* observer = nullptr);

// Compares the disk's records in catalog with the rescan's and fills its
// changes and counts.
void CompareDisk(const CatalogTable& catalog, const NodeKey& disk, DiskRescan* rescan);

// "Disk Music01: 12 files added, 3 removed, 5 changed (size, date or tag)."
std::string DiskChangesSummary(const DiskRescan& rescan);
// "+ E:\Sub\a.mp3", "- E:\b.mp3", "~ E:\c.mp3 (size, tag)".
std::string DiskChangeLine(const DiskChange& change);

// The disk's records replaced by the rescan's where the first of them stood;
// every other record keeps its place, and the trailer, made anew at
// trailer_time with the rescan's settings, keeps its own. kNoSpace, and
// nothing changed, when the result would not fit a catalog. The rescan's
// records are moved out.
Status ReplaceDiskRecords(CatalogTable* catalog, const NodeKey& disk, DiskRescan* rescan,
                          std::string_view trailer_time);

}  // namespace tallymere
