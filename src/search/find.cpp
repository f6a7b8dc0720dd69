#include "search/find.h"

#include <algorithm>

#include "catalog/file_type.h"
#include "common/ascii_case.h"
#include "common/letter_case.h"

namespace tallymere {
namespace {

// "*." before the extension of a type pattern.
constexpr std::size_t kPatternPrefix = 2;

}  // namespace

bool MatchesFindType(std::string_view name, std::string_view extension) {
  if (extension.empty()) return true;
  if (extension == kAudioType) return IsAudioFileName(name);
  // A longer extension ("html") cannot lie in the last three characters: the
  // name must end with it instead.
  if (extension.size() > kTypeCharacters) {
    return name.size() >= extension.size() &&
           EqualNoCase(name.substr(name.size() - extension.size()), extension);
  }
  return ContainsNoCase(NameEnd(name, kTypeCharacters), extension);
}

namespace {

bool Matches(const CatalogRecord& record, const TextToFind& text, const FindQuery& query,
             std::string_view extension) {
  if (!text.FoundIn(record.file_name)) return false;
  if (!MatchesFindType(record.file_name, extension)) return false;
  if (query.all_drives) return !record.path.empty();
  return query.drive.size() == 2 && StartsWithNoCase(record.path, query.drive);
}

template <typename Condition>
std::vector<int> Collect(const CatalogTable& table, const Condition& matches) {
  std::vector<int> found;
  const int end = table.StoredEnd();
  for (int i = 1; i < end; ++i) {
    if (matches(table.Record(i))) found.push_back(i);
  }
  return found;
}

}  // namespace

std::string FindExtension(std::string_view type_pattern) {
  if (type_pattern == kAllFiles || type_pattern.size() <= kPatternPrefix) return {};
  const std::string_view extension = type_pattern.substr(kPatternPrefix);
  return AsciiLower(extension);
}

bool LiesUnderKey(const CatalogRecord& record, std::string_view key) {
  if (IsDriveRootLabel(record.disk_label)) return StartsWithNoCase(record.path, key);
  // The folder key in its three pieces, as FolderKey joins them, compared with
  // the key piece by piece rather than built for every record.
  const std::string_view path = record.path;
  const std::size_t root = std::min<std::size_t>(path.size(), kDriveRootLength);
  const std::string_view pieces[] = {path.substr(0, root), record.disk_label,
                                     path.substr(root >= 1 ? root - 1 : 0)};
  for (const std::string_view piece : pieces) {
    const std::size_t compared = std::min(piece.size(), key.size());
    if (!EqualNoCase(piece.substr(0, compared), key.substr(0, compared))) return false;
    key.remove_prefix(compared);
  }
  return key.empty();
}

std::vector<int> FindRecords(const CatalogTable& table, const FindQuery& query) {
  // The text and the type condition's extension are worked out once, not per record.
  const TextToFind text(query.text);
  const std::string extension = FindExtension(query.type_pattern);
  return Collect(
      table, [&](const CatalogRecord& record) { return Matches(record, text, query, extension); });
}

std::vector<int> FindRecords(const CatalogTable& table, const NodeKey& node) {
  return Collect(table, [&](const CatalogRecord& record) { return node.HoldsBelow(record); });
}

}  // namespace tallymere
