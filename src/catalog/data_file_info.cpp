#include "catalog/data_file_info.h"

#include <utility>

#include "catalog/data_file.h"
#include "common/format.h"

namespace tallymere {

DataFileFacts FactsOf(const CatalogTable& table) {
  DataFileFacts facts;
  const int end = table.CatalogEnd();
  // A table full to its last record has no record at its end: nothing to read.
  facts.last_updated = table.Record(end).modified;
  facts.file_count = table.FileCount();
  facts.total_size = table.TotalSize();
  if (const CatalogRecord* trailer = table.LastTrailer()) {
    facts.trailer_file_type = TrailerFileType(*trailer);
  }
  return facts;
}

Status ReadDataFileFacts(std::string_view bytes, std::string_view file_name, DataFileFacts* facts) {
  DataFileFacts read;
  bool at_end = false;
  // Every record of a data file has a File name, so each one counts for the
  // last trailer; the catalog ends at the first without a Path.
  Status status = VisitDataFile(bytes, file_name, [&](int, const CatalogRecord& record) {
    if (IsTrailer(record)) read.trailer_file_type = TrailerFileType(record);
    if (at_end) return;
    if (record.path.empty()) {
      at_end = true;
      read.last_updated = record.modified;
      return;
    }
    ++read.file_count;
    read.total_size += record.size;
  });
  if (!RecordsWereRead(status)) return status;
  *facts = std::move(read);
  return status;
}

std::array<std::string, 7> DataFileInfoLabels(const std::string& data_file_path,
                                              std::optional<int64_t> file_length,
                                              const std::string& file_type,
                                              const DataFileFacts& facts) {
  // Data files live on this machine, so either separator may split the path.
  const std::size_t split = data_file_path.find_last_of("/\\");
  const std::string folder = split == std::string::npos ? "" : data_file_path.substr(0, split + 1);
  const std::string name =
      split == std::string::npos ? data_file_path : data_file_path.substr(split + 1);
  return {
      "File Name:   " + name,
      "Path:   " + folder,
      file_length ? "Size:   " + std::to_string(*file_length) + " bytes" : "Size:",
      "Last Updated:   " + facts.last_updated,
      "File Type:   \"" + file_type + "\"",
      "Total Files Cataloged:   " + std::to_string(facts.file_count),
      "Total File Size:   " + FormatMegabytes(static_cast<double>(facts.total_size)) + " MB",
  };
}

std::array<std::string, 7> DataFileInfoLabels(const std::string& data_file_path,
                                              std::optional<int64_t> file_length,
                                              const std::string& file_type,
                                              const CatalogTable& table) {
  return DataFileInfoLabels(data_file_path, file_length, file_type, FactsOf(table));
}

}  // namespace tallymere
