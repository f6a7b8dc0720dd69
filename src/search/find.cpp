#include "search/find.h"

#include <algorithm>

#include "common/characters.h"

namespace tallymere {
namespace {

// The type condition looks at this many characters at the end of a name.
constexpr int kTypeCharacters = 3;
constexpr std::string_view kAnyType = "*.*";
// "*." before the extension of a type pattern.
constexpr std::size_t kPatternPrefix = 2;
// "C:\" begins every path and key.
constexpr std::size_t kDriveRootLength = 3;

char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Fold(x) == Fold(y); });
}

bool StartsWithNoCase(std::string_view text, std::string_view start) {
  return text.size() >= start.size() && EqualNoCase(text.substr(0, start.size()), start);
}

bool MatchesType(std::string_view name, std::string_view extension) {
  if (extension.empty()) return true;
  // A longer extension ("html") cannot lie in the last three characters: the
  // name must end with it instead.
  if (extension.size() > static_cast<std::size_t>(kTypeCharacters)) {
    return name.size() >= extension.size() &&
           EqualNoCase(name.substr(name.size() - extension.size()), extension);
  }
  return ContainsNoCase(NameEnd(name, kTypeCharacters), extension);
}

bool Matches(const CatalogRecord& record, const FindQuery& query, std::string_view extension) {
  if (!ContainsNoCase(record.file_name, query.text)) return false;
  if (!MatchesType(record.file_name, extension)) return false;
  if (query.all_drives) return !record.path.empty();
  return query.drive.size() == 2 && StartsWithNoCase(record.path, query.drive);
}

template <typename Condition>
std::vector<int> Collect(const CatalogTable& table, const Condition& matches) {
  std::vector<int> found;
  for (int i = 1; !table.Record(i).file_name.empty(); ++i) {
    if (matches(table.Record(i))) found.push_back(i);
    if (i == CatalogTable::kCapacity) break;
  }
  return found;
}

}  // namespace

bool ContainsNoCase(std::string_view text, std::string_view part) {
  if (part.empty()) return true;
  return std::search(text.begin(), text.end(), part.begin(), part.end(),
                     [](char x, char y) { return Fold(x) == Fold(y); }) != text.end();
}

std::string FindExtension(std::string_view type_pattern) {
  if (type_pattern == kAnyType || type_pattern.size() <= kPatternPrefix) return {};
  std::string extension(type_pattern.substr(kPatternPrefix));
  for (char& c : extension) c = Fold(c);
  return extension;
}

bool MatchesFind(const CatalogRecord& record, const FindQuery& query) {
  return Matches(record, query, FindExtension(query.type_pattern));
}

NodeCondition::NodeCondition(std::string_view key, std::string_view text, bool fixed_drive)
    : m_fixed_drive(fixed_drive) {
  if (fixed_drive) {
    m_path_prefix = key;
  } else if (key.size() == text.size() + 4) {
    m_label = text;  // the disk's own node: drive root, label, "\"
  } else {
    // A folder on the disk: drive root, label, "\", the folder below it.
    const std::size_t label_end = key.find('\\', 3);
    m_label = key.substr(3, label_end == std::string_view::npos ? key.npos : label_end - 3);
    m_path_prefix = std::string(key.substr(0, 3));
    if (label_end != std::string_view::npos) m_path_prefix += key.substr(label_end + 1);
  }
}

bool NodeCondition::Matches(const CatalogRecord& record) const {
  if (m_fixed_drive) return StartsWithNoCase(record.path, m_path_prefix);
  if (!EqualNoCase(record.disk_label, m_label)) return false;
  return m_path_prefix.empty() || StartsWithNoCase(record.path, m_path_prefix);
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

std::string_view NodeTextOfKey(std::string_view key) {
  if (key.size() <= kDriveRootLength) return key;
  std::string_view folder = key.substr(0, key.size() - (key.ends_with('\\') ? 1 : 0));
  return folder.substr(folder.rfind('\\') + 1);
}

std::vector<int> FindRecords(const CatalogTable& table, const FindQuery& query) {
  // The type condition's extension is worked out once, not per record.
  const std::string extension = FindExtension(query.type_pattern);
  return Collect(table,
                 [&](const CatalogRecord& record) { return Matches(record, query, extension); });
}

std::vector<int> FindRecords(const CatalogTable& table, const NodeCondition& condition) {
  return Collect(table, [&](const CatalogRecord& record) { return condition.Matches(record); });
}

}  // namespace tallymere
