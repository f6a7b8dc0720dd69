#pragma once
// What the find and duplicate commands show around their rows: the order in
// which the file list puts found records, and the status texts that sum a
// search up. The main window and the command line both show them, so they
// read the same in both.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "search/duplicates.h"

namespace tallymere {

// The order in which the file list shows rows with these File names once it
// sorts them by its File name column, ascending: letters compared without
// regard to case (CompareNoCase), equal names in the order given. Entry k of
// the result is the position in names of the k-th row shown.
std::vector<std::size_t> FileNameOrder(std::span<const std::string_view> names);

// The three status panels after a search that listed count rows whose sizes
// add up to total_size.
struct SearchStatus {
  std::string panel1;
  std::string panel2;  // "N object(s)"
  std::string panel3;  // the total size in megabytes, "1,234.50 MB"
};

// Find in Drive and Find in All: panel 1 "Total N file(s) found.".
SearchStatus FindStatus(std::size_t count, int64_t total_size);

// Show All Files in Selected: panel 1 "Contents of:  " and the node's key.
SearchStatus NodeStatus(std::string_view key, std::size_t count, int64_t total_size);

// The result of a duplicate command over file_count files: "Found N duplicate
// set(s) in F files." for Exact Match, "Found N possible duplicate set(s) in
// F files." for the other rules, and when the list was cut, " Only the first
// L are listed.".
std::string DuplicateStatus(DuplicateRule rule, int64_t count, std::size_t listed,
                            int64_t file_count);
inline std::string DuplicateStatus(DuplicateRule rule, const DuplicateSets& sets, int file_count) {
  return DuplicateStatus(rule, sets.count, sets.pairs.size(), file_count);
}

}  // namespace tallymere
