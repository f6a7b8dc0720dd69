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

// Letters of a name that FileNameOrder packs into one number.
constexpr std::size_t kPrefixLetters = sizeof(uint64_t);

std::string ObjectsText(std::size_t count) { return std::to_string(count) + " object(s)"; }

}  // namespace

std::vector<std::size_t> FileNameOrder(std::span<const std::string_view> names) {
  // Most names differ within their first eight letters, so those letters,
  // folded as CompareNoCase folds them and packed into one number with the
  // first letter highest, order most pairs with one comparison. A name
  // shorter than eight letters is padded with zero bytes, which sort first as
  // its end does; only equal numbers need the whole names compared.
  std::vector<uint64_t> prefixes(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    uint64_t prefix = 0;
    for (std::size_t k = 0; k < kPrefixLetters; ++k) {
      const auto letter =
          k < names[i].size() ? static_cast<unsigned char>(names[i][k]) : uint8_t{0};
      prefix = prefix << 8 | (letter >= 'A' && letter <= 'Z' ? letter - 'A' + 'a' : letter);
    }
    prefixes[i] = prefix;
  }
  std::vector<std::size_t> order(names.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  // Stable, as the list's sort is, so equal names keep the order given.
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (prefixes[a] != prefixes[b]) return prefixes[a] < prefixes[b];
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

std::string DuplicateStatus(DuplicateRule rule, int64_t count, std::size_t listed,
                            int64_t file_count) {
  const std::string_view found = rule == DuplicateRule::kExact ? " duplicate set(s) in "
                                 : rule == DuplicateRule::kSameAudio
                                     ? " set(s) of the same audio in "
                                     : " possible duplicate set(s) in ";
  std::string text = "Found " + std::to_string(count) + std::string(found) +
                     std::to_string(file_count) + " files.";
  if (count > static_cast<int64_t>(listed)) {
    text += " Only the first " + std::to_string(listed) + " are listed.";
  }
  return text;
}

}  // namespace tallymere
