#include "common/sorted_list.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "common/ascii_case.h"

namespace tallymere {
namespace {

unsigned char Fold(char c) { return static_cast<unsigned char>(AsciiLower(c)); }

}  // namespace

int CompareNoCase(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  // Equal bytes fold alike, and texts sorted together often begin alike (a
  // list's lines share their folders): such beginnings are passed over a
  // word at a time.
  constexpr std::size_t kWord = sizeof(uint64_t);
  std::size_t i = 0;
  while (i + kWord <= common && std::memcmp(a.data() + i, b.data() + i, kWord) == 0) i += kWord;
  for (; i < common; ++i) {
    const unsigned char x = Fold(a[i]);
    const unsigned char y = Fold(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void SortedList::Add(std::string text) {
  const bool in_order = m_sorted_count == m_items.size() &&
                        (m_items.empty() || CompareNoCase(m_items.back(), text) <= 0);
  m_items.push_back(std::move(text));
  if (in_order) m_sorted_count = m_items.size();
}

const std::vector<std::string>& SortedList::Items() const {
  if (m_sorted_count < m_items.size()) {
    const auto before = [](const std::string& a, const std::string& b) {
      return CompareNoCase(a, b) < 0;
    };
    const auto added = m_items.begin() + static_cast<std::ptrdiff_t>(m_sorted_count);
    // Both steps are stable, and the entries in order were added before the
    // others, so equal texts keep the order in which they were added.
    std::stable_sort(added, m_items.end(), before);
    std::inplace_merge(m_items.begin(), added, m_items.end(), before);
    m_sorted_count = m_items.size();
  }
  return m_items;
}

}  // namespace tallymere
