#include "search/search_results.h"

#include <algorithm>
#include <numeric>

#include "common/format.h"
#include "common/sorted_list.h"

namespace tallymere {
namespace {

std::string MegabytesText(int64_t total_size) {
  return FormatMegabytes(static_cast<double>(total_size)) + " MB";
}

std::string ObjectsText(std::size_t count) { return std::to_string(count) + " object(s)"; }

}  // namespace

std::vector<std::size_t> FileNameOrder(std::span<const std::string_view> names) {
  std::vector<std::size_t> order(names.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  // Stable, as the list's sort is, so equal names keep the order given.
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return CompareNoCase(names[a], names[b]) < 0;
  });
  return order;
}

SearchStatus FindStatus(std::size_t count, int64_t total_size) {
  return {"Total " + std::to_string(count) + " file(s) found.", ObjectsText(count),
          MegabytesText(total_size)};
}

SearchStatus NodeStatus(std::string_view key, std::size_t count, int64_t total_size) {
  return {"Contents of:  " + std::string(key), ObjectsText(count), MegabytesText(total_size)};
}

std::string DuplicateStatus(DuplicateRule rule, const DuplicateSets& sets, int file_count) {
  const std::string_view found =
      rule == DuplicateRule::kExact ? " duplicate set(s) in " : " possible duplicate set(s) in ";
  std::string text = "Found " + std::to_string(sets.count) + std::string(found) +
                     std::to_string(file_count) + " files.";
  if (sets.cut()) text += " Only the first " + std::to_string(sets.pairs.size()) + " are listed.";
  return text;
}

}  // namespace tallymere
