#pragma once
// A list that keeps itself in ascending order, comparing texts without regard
// to letter case (ordinal, ASCII letters folded to lower case). Entries that
// compare equal keep the order in which they were added. Serves as the folder
// work list of a scan and the line buffer of the list writers.

#include <string>
#include <string_view>
#include <vector>

namespace tallymere {

// Negative, zero or positive as a sorts before, with or after b.
int CompareNoCase(std::string_view a, std::string_view b);

class SortedList {
 public:
  using const_iterator = std::vector<std::string>::const_iterator;

  void Add(std::string text);
  void Clear() {
    m_items.clear();
    m_sorted_count = 0;
  }
  bool empty() const { return m_items.empty(); }
  int size() const { return static_cast<int>(m_items.size()); }
  const std::string& operator[](int index) const { return Items()[index]; }
  const_iterator begin() const { return Items().begin(); }
  const_iterator end() const { return Items().end(); }

 private:
  // Entries are appended and sorted when next read, so building a list of
  // tens of thousands of folders out of order stays O(n log n). A read sorts
  // only the entries added since the last one and merges them in, so adding
  // a few entries between reads costs a merge, not a sort of the whole list.
  const std::vector<std::string>& Items() const;

  mutable std::vector<std::string> m_items;
  // The first m_sorted_count entries stand in order; the rest were added
  // after them, out of order.
  mutable std::size_t m_sorted_count = 0;
};

}  // namespace tallymere
