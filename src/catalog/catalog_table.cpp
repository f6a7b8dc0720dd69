#include "catalog/catalog_table.h"

namespace tallymere {

const CatalogRecord& CatalogTable::Empty() {
  static const CatalogRecord kEmpty;
  return kEmpty;
}

CatalogRecord& CatalogTable::MutableRecord(int index) {
  assert(index >= 1 && index <= kCapacity);
  if (index > static_cast<int>(m_records.size())) m_records.resize(index);
  return m_records[index - 1];
}

void CatalogTable::RemoveRecord(int index) {
  assert(index >= 1 && index <= kCapacity);
  if (index <= static_cast<int>(m_records.size())) m_records.erase(m_records.begin() + index - 1);
}

int CatalogTable::CatalogEnd() const {
  int index = 1;
  while (index <= static_cast<int>(m_records.size()) && !m_records[index - 1].path.empty()) ++index;
  return index;
}

const CatalogRecord* CatalogTable::FindTrailer() const {
  const int end = CatalogEnd();
  if (end > kCapacity) return nullptr;
  const CatalogRecord& record = Record(end);
  return IsTrailer(record) ? &record : nullptr;
}

const CatalogRecord* CatalogTable::LastTrailer() const {
  const CatalogRecord* last = nullptr;
  for (int i = 1; i < WrittenEnd(); ++i) {
    if (IsTrailer(Record(i))) last = &Record(i);
  }
  return last;
}

int CatalogTable::WrittenEnd() const {
  int index = 1;
  while (index <= static_cast<int>(m_records.size()) && !m_records[index - 1].file_name.empty()) {
    ++index;
  }
  return index;
}

int64_t CatalogTable::TotalSize() const {
  int64_t total = 0;
  Walk([&](int, const CatalogRecord& record) { total += record.size; });
  return total;
}

bool CatalogTable::operator==(const CatalogTable& other) const {
  // Trailing empty records are not part of what a table holds.
  const int end = std::max(WrittenEnd(), other.WrittenEnd());
  for (int i = 1; i < end; ++i) {
    if (!(Record(i) == other.Record(i))) return false;
  }
  return true;
}

}  // namespace tallymere
