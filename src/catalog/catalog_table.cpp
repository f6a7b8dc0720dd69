#include "catalog/catalog_table.h"

#include <iterator>
#include <utility>

namespace tallymere {

CatalogTable::CatalogTable(CatalogTable&& other) noexcept
    : m_records(std::move(other.m_records)),
      m_empty_paths(std::move(other.m_empty_paths)),
      m_empty_file_names(std::move(other.m_empty_file_names)),
      m_trailers(std::move(other.m_trailers)),
      m_open(std::exchange(other.m_open, 0)) {
  other.Erase();
}

CatalogTable& CatalogTable::operator=(CatalogTable&& other) noexcept {
  if (this == &other) return *this;
  m_records = std::move(other.m_records);
  m_empty_paths = std::move(other.m_empty_paths);
  m_empty_file_names = std::move(other.m_empty_file_names);
  m_trailers = std::move(other.m_trailers);
  m_open = std::exchange(other.m_open, 0);
  other.Erase();
  return *this;
}

const CatalogRecord& CatalogTable::Empty() {
  static const CatalogRecord kEmpty;
  return kEmpty;
}

CatalogRecord& CatalogTable::MutableRecord(int index) {
  assert(index >= 1 && index <= kMaxRecords);
  SettleOpenRecord();
  const int held = HeldCount();
  if (index > held) {
    m_records.resize(index);
    // The records passed over are gaps, empty until written; each is above
    // every index held so far, so the hint makes these insertions cheap.
    for (int i = held + 1; i < index; ++i) {
      m_empty_paths.insert(m_empty_paths.end(), i);
      m_empty_file_names.insert(m_empty_file_names.end(), i);
    }
  } else {
    Unindex(index);
  }
  m_open = index;
  return m_records[index - 1];
}

void CatalogTable::Erase() {
  m_records.clear();
  m_empty_paths.clear();
  m_empty_file_names.clear();
  m_trailers.clear();
  m_open = 0;
}

void CatalogTable::RemoveRecord(int index) {
  assert(index >= 1 && index <= kMaxRecords);
  if (index > HeldCount()) return;
  SettleOpenRecord();
  m_records.erase(m_records.begin() + index - 1);
  // The index moves with the records: the removed one leaves it, those
  // after it come one place up.
  for (std::set<int>* indexed : {&m_empty_paths, &m_empty_file_names, &m_trailers}) {
    std::set<int> moved;
    for (int i : *indexed) {
      if (i != index) moved.insert(moved.end(), i < index ? i : i - 1);
    }
    *indexed = std::move(moved);
  }
}

void CatalogTable::SettleOpenRecord() {
  if (m_open == 0) return;
  const CatalogRecord& record = m_records[m_open - 1];
  if (record.path.empty()) m_empty_paths.insert(m_open);
  if (record.file_name.empty()) m_empty_file_names.insert(m_open);
  if (IsTrailer(record)) m_trailers.insert(m_open);
  m_open = 0;
}

void CatalogTable::Unindex(int index) {
  // A record is in a set only when its field says so, so most records need
  // no lookup at all.
  const CatalogRecord& record = m_records[index - 1];
  if (record.path.empty()) m_empty_paths.erase(index);
  if (record.file_name.empty()) m_empty_file_names.erase(index);
  if (IsTrailer(record)) m_trailers.erase(index);
}

int CatalogTable::FirstEmpty(const std::set<int>& empty, std::string CatalogRecord::*field) const {
  int first = empty.empty() ? HeldCount() + 1 : *empty.begin();
  if (m_open != 0 && m_open < first && (m_records[m_open - 1].*field).empty()) first = m_open;
  return first;
}

const CatalogRecord* CatalogTable::LastTrailer() const {
  const int written_end = StoredEnd();
  int last = 0;
  if (auto after = m_trailers.lower_bound(written_end); after != m_trailers.begin()) {
    last = *std::prev(after);
  }
  if (m_open > last && m_open < written_end && IsTrailer(m_records[m_open - 1])) last = m_open;
  return last == 0 ? nullptr : &m_records[last - 1];
}

int64_t CatalogTable::TotalSize() const {
  int64_t total = 0;
  Walk([&](int, const CatalogRecord& record) { total += record.size; });
  return total;
}

bool CatalogTable::operator==(const CatalogTable& other) const {
  // Trailing empty records are not part of what a table holds.
  const int end = std::max(StoredEnd(), other.StoredEnd());
  for (int i = 1; i < end; ++i) {
    if (!(Record(i) == other.Record(i))) return false;
  }
  return true;
}

}  // namespace tallymere
