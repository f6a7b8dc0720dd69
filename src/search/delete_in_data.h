#pragma once
// Removing one file's record from the catalog table (DeleteFileInData): the
// record whose Path followed by File name is the full path goes, and every
// record after it, the trailer included, moves one place up.

#include <string_view>

#include "catalog/catalog_table.h"

namespace tallymere {

// The first record whose Path and File name together equal strFileToDelete
// exactly; false, and nothing changed, when there is none.
bool DeleteFileInData(CatalogTable* table, std::string_view strFileToDelete);

}  // namespace tallymere
