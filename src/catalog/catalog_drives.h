#pragma once
// The drives a catalog is seen on: those of this machine that can hold
// catalogued files (floppy or removable, fixed, CD-ROM), and every further
// drive letter the catalog's records use. A catalog made on another computer,
// or before a drive went away, names letters this machine does not map; they
// are drives without a disk, of the kind their records say.

#include <string>
#include <vector>

#include "catalog/catalog_table.h"

namespace tallymere {

// A drive as a catalog sees it: its root ("C:\"), its drive type and, for a
// removable drive, whether it reads floppy disks.
struct CatalogDrive {
  std::string root;
  int type = 0;
  bool floppy = false;
};

// Removable, fixed and CD-ROM drives hold catalogued files; network drives
// and RAM disks are never shown.
bool IsShownDriveType(int type);

// The machine's shown drives and, for each letter the catalog's records use
// that none of them has, a drive without a disk: a CD-ROM drive when every
// record of the letter belongs to a labelled disk, else a hard drive. Sorted
// by letter.
std::vector<CatalogDrive> CatalogDrives(const std::vector<CatalogDrive>& machine,
                                        const CatalogTable& catalog);

// The type of a drive root among these; kDriveNone for one they lack.
int TypeOfRoot(std::string_view root, const std::vector<CatalogDrive>& drives);

}  // namespace tallymere
