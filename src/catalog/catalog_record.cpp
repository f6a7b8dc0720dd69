#include "catalog/catalog_record.h"

#include "catalog/file_type.h"
#include "common/text_encoding.h"

namespace tallymere {

namespace {

// Ends the trailer of an "audio" catalog. A reader that takes the last three
// characters of the trailer's File name as the type then matches no file,
// since no catalogued name holds "\"; "*.audio" alone would have it take
// every name ending in "dio" for the catalog's type.
constexpr std::string_view kAudioTrailerEnd = "\\\\\\";

}  // namespace

CatalogRecord MakeTrailer(std::string_view file_type, int mp3_info_flag,
                          std::string_view built_text) {
  CatalogRecord trailer;
  trailer.file_name = "*." + std::string(file_type);
  if (file_type == kAudioType) trailer.file_name += kAudioTrailerEnd;
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
  const std::string_view name = trailer.file_name;
  // Types this program writes beyond the described three letters.
  if (name == "*." + std::string(kAudioType) + std::string(kAudioTrailerEnd)) {
    return std::string(kAudioType);
  }
  if (name.size() == 2 + kLongestTypeCharacters && IsTrailer(trailer)) {
    const std::string_view type = name.substr(2);
    if (NormalFileType(type) == type) return std::string(type);
  }
  return std::string(name.size() <= 3 ? name : name.substr(name.size() - 3));
}

std::string FolderKey(const CatalogRecord& record) {
  if (IsDriveRootLabel(record.disk_label)) return record.path;
  const std::string& path = record.path;
  const std::size_t root = DriveRootOf(path).size();
  return path.substr(0, root) + record.disk_label + path.substr(root >= 1 ? root - 1 : 0);
}

}  // namespace tallymere
