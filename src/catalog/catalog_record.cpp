#include "catalog/catalog_record.h"

#include "common/text_encoding.h"

namespace tallymere {

CatalogRecord MakeTrailer(std::string_view file_type, int mp3_info_flag,
                          std::string_view built_text) {
  CatalogRecord trailer;
  trailer.file_name = "*." + std::string(file_type);
  trailer.size = mp3_info_flag;
  trailer.modified = std::string(built_text);
  return trailer;
}

std::optional<std::string> DiskLabelProblem(std::string_view label) {
  if (label.find('\\') != std::string_view::npos || label.find('\0') != std::string_view::npos) {
    return "A disk label can not contain \"\\\".";
  }
  if (label.size() > kMaxStoredTextBytes && EncodeText(label).size() > kMaxStoredTextBytes) {
    return "A disk label can hold at most " + std::to_string(kMaxStoredTextBytes) +
           " bytes; this one would be cut short.";
  }
  return std::nullopt;
}

std::string TrailerFileType(const CatalogRecord& trailer) {
  const std::string& name = trailer.file_name;
  return name.size() <= 3 ? name : name.substr(name.size() - 3);
}

std::string FolderKey(const CatalogRecord& record) {
  if (IsDriveRootLabel(record.disk_label)) return record.path;
  const std::string& path = record.path;
  const std::size_t root = DriveRootOf(path).size();
  return path.substr(0, root) + record.disk_label + path.substr(root >= 1 ? root - 1 : 0);
}

}  // namespace tallymere
