#pragma once
// The seven texts of the Data File Info window.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "catalog/catalog_table.h"

namespace tallymere {

// data_file_path: the current data file path; file_length: the file's length
// when it exists on disk; file_type: the file type setting in force.
std::array<std::string, 7> DataFileInfoLabels(const std::string& data_file_path,
                                              std::optional<int64_t> file_length,
                                              const std::string& file_type,
                                              const CatalogTable& table);

}  // namespace tallymere
