#pragma once
// The seven texts of the Data File Info window, and the figures they show,
// taken from a catalog in memory or read from a data file's bytes.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "catalog/catalog_table.h"
#include "common/status.h"

namespace tallymere {

struct DataFileFacts {
  std::string last_updated;  // Modified of the record at the catalog end
  int file_count = 0;        // the records before the catalog end
  int64_t total_size = 0;    // their Size fields, summed exactly
  // The file type of the last trailer the data file holds, which opening the
  // file makes the setting; nothing when it holds none.
  std::optional<std::string> trailer_file_type;

  bool operator==(const DataFileFacts&) const = default;
};

DataFileFacts FactsOf(const CatalogTable& table);

// The same figures read record by record, for a reader that need not hold the
// catalog: they equal FactsOf the table DecodeDataFile makes of the bytes, and
// a damaged file gives DecodeDataFile's message. *facts changes only on success.
Status ReadDataFileFacts(std::string_view bytes, std::string_view file_name, DataFileFacts* facts);

// data_file_path: the current data file path; file_length: the file's length
// when it exists on disk; file_type: the file type setting in force.
std::array<std::string, 7> DataFileInfoLabels(const std::string& data_file_path,
                                              std::optional<int64_t> file_length,
                                              const std::string& file_type,
                                              const DataFileFacts& facts);
std::array<std::string, 7> DataFileInfoLabels(const std::string& data_file_path,
                                              std::optional<int64_t> file_length,
                                              const std::string& file_type,
                                              const CatalogTable& table);

}  // namespace tallymere
