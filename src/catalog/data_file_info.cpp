#include "catalog/data_file_info.h"

#include "common/format.h"

namespace tallymere {

std::array<std::string, 7> DataFileInfoLabels(const std::string& data_file_path,
                                              std::optional<int64_t> file_length,
                                              const std::string& file_type,
                                              const CatalogTable& table) {
  // Data files live on this machine, so either separator may split the path.
  const std::size_t split = data_file_path.find_last_of("/\\");
  const std::string folder = split == std::string::npos ? "" : data_file_path.substr(0, split + 1);
  const std::string name =
      split == std::string::npos ? data_file_path : data_file_path.substr(split + 1);
  return {
      "File Name:   " + name,
      "Path:   " + folder,
      file_length ? "Size:   " + std::to_string(*file_length) + " bytes" : "Size:",
      "Last Updated:   " + table.Record(table.CatalogEnd()).modified,
      "File Type:   \"" + file_type + "\"",
      "Total Files Cataloged:   " + std::to_string(table.FileCount()),
      "Total File Size:   " + FormatMegabytes(static_cast<double>(table.TotalSize())) + " MB",
  };
}

}  // namespace tallymere
