#pragma once
// The catalog table: records numbered 1 to 32766, no stored count. The catalog
// runs from record 1 to the catalog end, the first record whose Path is empty
// (the trailer in a built catalog). Only the records up to the last non-empty
// one are held in memory; every record beyond reads as empty.

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <vector>

#include "catalog/catalog_record.h"

namespace tallymere {

class CatalogTable {
 public:
  static constexpr int kCapacity = 32766;
  // One place after the last file is needed for the trailer.
  static constexpr int kMaxFileRecords = kCapacity - 1;

  // Record i, 1 <= i <= kCapacity; records never written read as empty.
  const CatalogRecord& Record(int index) const {
    assert(index >= 1 && index <= kCapacity);
    return index <= static_cast<int>(m_records.size()) ? m_records[index - 1] : Empty();
  }
  // Record i for writing; the table grows to hold it.
  CatalogRecord& MutableRecord(int index);
  void SetRecord(int index, CatalogRecord record) { MutableRecord(index) = std::move(record); }

  // Every record back to empty.
  void Erase() { m_records.clear(); }
  // Takes record i out: every record after it moves one place up, and the
  // last one held becomes empty.
  void RemoveRecord(int index);

  // The index of the first record whose Path is empty: file records + 1.
  int CatalogEnd() const;
  int FileCount() const { return CatalogEnd() - 1; }
  // The record at the catalog end when it is a trailer, else nullptr.
  const CatalogRecord* FindTrailer() const;
  // The last record, among those the data file holds, whose File name begins
  // with "*."; opening a file takes its settings from it. nullptr when none.
  const CatalogRecord* LastTrailer() const;
  // The index after the last record the data file holds: the writer stops at
  // the first record whose File name is empty.
  int WrittenEnd() const;

  // Visits records 1 .. catalog end - 1 as (index, record).
  template <typename Visit>
  void Walk(Visit visit) const {
    for (int i = 0; i < static_cast<int>(m_records.size()) && !m_records[i].path.empty(); ++i) {
      visit(i + 1, m_records[i]);
    }
  }

  // The exact sum of the Size fields of the file records.
  int64_t TotalSize() const;

  // Records held in memory (those up to the last one written).
  int HeldCount() const { return static_cast<int>(m_records.size()); }
  void Reserve(int count) { m_records.reserve(count); }

  bool operator==(const CatalogTable& other) const;

 private:
  static const CatalogRecord& Empty();
  std::vector<CatalogRecord> m_records;
};

}  // namespace tallymere
