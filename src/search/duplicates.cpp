#include "search/duplicates.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "common/characters.h"
#include "common/little_endian.h"

namespace tallymere {

std::string_view ComparedPart(std::string_view name, DuplicateRule rule) {
  switch (rule) {
    case DuplicateRule::kNotSoExact:
      return NameEnd(name, kNotSoExactCharacters);
    case DuplicateRule::kAnyPossible:
      return NameEnd(name, kAnyPossibleCharacters);
    case DuplicateRule::kExact:
    case DuplicateRule::kSameAudio:
      break;
  }
  return name;
}

std::string AudioKey(const RecordExtras& extras) {
  if (!extras.has_fingerprint()) return {};
  std::string key;
  PutFixed64(&key, extras.audio_hash);
  PutFixed64(&key, static_cast<uint64_t>(extras.audio_bytes));
  return key;
}

DuplicateSets FindDuplicates(const CatalogTable& table, int file_count, DuplicateRule rule,
                             std::size_t max_sets) {
  std::vector<std::string_view> names;
  names.reserve(static_cast<std::size_t>(std::max(file_count, 0)));
  std::vector<std::string> keys;
  if (rule == DuplicateRule::kSameAudio) {
    keys.reserve(names.capacity());
    for (int i = 1; i <= file_count; ++i) keys.push_back(AudioKey(table.Record(i).extras));
    names.assign(keys.begin(), keys.end());
  } else {
    for (int i = 1; i <= file_count; ++i) names.push_back(table.Record(i).file_name);
  }
  return FindDuplicates(names, rule, max_sets);
}

DuplicateSets FindDuplicates(std::span<const std::string_view> names, DuplicateRule rule,
                             std::size_t max_sets) {
  // Records whose compared parts are equal form a group, in record order. The
  // pairwise walk meets record i's sets with every later member of its group,
  // in order, so walking the records and each one's later group members gives
  // the same sets in the same order.
  const std::size_t file_count = names.size();
  std::unordered_map<std::string_view, std::vector<int>> groups;
  groups.reserve(file_count);
  // Where each record stands: its group and its place in it (index 0 unused).
  std::vector<std::pair<std::vector<int>*, std::size_t>> place(file_count + 1);
  std::vector<int> no_group;  // of the records that take no part
  for (std::size_t i = 1; i <= file_count; ++i) {
    const std::string_view part = ComparedPart(names[i - 1], rule);
    if (part.empty()) {
      place[i] = {&no_group, 0};
      continue;
    }
    std::vector<int>& group = groups[part];
    place[i] = {&group, group.size()};
    group.push_back(static_cast<int>(i));
  }

  DuplicateSets sets;
  for (const auto& [part, group] : groups) {
    const auto size = static_cast<int64_t>(group.size());
    sets.count += size * (size - 1) / 2;
  }
  for (std::size_t i = 1; i <= file_count && sets.pairs.size() < max_sets; ++i) {
    const auto& [group, position] = place[i];
    for (std::size_t later = position + 1; later < group->size() && sets.pairs.size() < max_sets;
         ++later) {
      sets.pairs.emplace_back(static_cast<int>(i), (*group)[later]);
    }
  }
  return sets;
}

}  // namespace tallymere
