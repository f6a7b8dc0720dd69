#pragma once
// The catalog table: records numbered from 1, no stored count. The catalog
// runs from record 1 to the catalog end, the first record whose Path is empty
// (the trailer in a built catalog). Only the records up to the last one written
// are held in memory; every record beyond reads as empty. The table grows as
// records are written, up to a bound that keeps a damaged or hostile data
// file from taking the machine's memory; programs that keep the described
// fixed table of 32,766 records open only catalogs that fit in it.
//
// Commands ask for the catalog end, the stored end and the last trailer while
// they walk a full catalog, so the table keeps an index of the records that
// answer them (those with an empty Path, with an empty File name, and the
// trailers) through every change, instead of searching the records each time.
// The index is tiny: in a built catalog those records are the trailer, any
// gaps and nothing else.

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "catalog/catalog_record.h"

namespace tallymere {

class CatalogTable {
 public:
  // The most files a catalog holds, and its records with the trailer.
  static constexpr int kMaxFileRecords = 10'000'000;
  static constexpr int kMaxRecords = kMaxFileRecords + 1;
  // The records a program with the described fixed table holds, and the
  // files among them.
  static constexpr int kDescribedCapacity = 32766;
  static constexpr int kDescribedFileRecords = kDescribedCapacity - 1;

  CatalogTable() = default;
  CatalogTable(const CatalogTable&) = default;
  CatalogTable& operator=(const CatalogTable&) = default;
  // A table moved from is empty.
  CatalogTable(CatalogTable&& other) noexcept;
  CatalogTable& operator=(CatalogTable&& other) noexcept;

  // Record i, i >= 1; records never written read as empty.
  const CatalogRecord& Record(int index) const {
    assert(index >= 1);
    return index <= static_cast<int>(m_records.size()) ? m_records[index - 1] : Empty();
  }
  // Record i for writing; the table grows to hold it. Writes through the
  // reference count until the next change of the table (MutableRecord,
  // SetRecord or Erase), which may also move the records: a reference is not
  // to be kept beyond it.
  CatalogRecord& MutableRecord(int index);
  void SetRecord(int index, CatalogRecord record) { MutableRecord(index) = std::move(record); }

  // Every record back to empty.
  void Erase();
  // Takes record i out: every record after it moves one place up, and the
  // last one held becomes empty.
  void RemoveRecord(int index);

  // The index of the first record whose Path is empty: file records + 1.
  int CatalogEnd() const { return FirstEmpty(m_empty_paths, &CatalogRecord::path); }
  int FileCount() const { return CatalogEnd() - 1; }
  // The last record, among those the data file holds, whose File name begins
  // with "*."; opening a file takes its settings from it. nullptr when none.
  const CatalogRecord* LastTrailer() const;
  // The stored end: the index after the last record the data file holds,
  // which the writer stops at (the first record whose File name is empty).
  // The trailer stands before it, and so may records of an earlier scan that
  // no walk over the files reaches.
  int StoredEnd() const { return FirstEmpty(m_empty_file_names, &CatalogRecord::file_name); }

  // Visits records 1 .. catalog end - 1 as (index, record).
  template <typename Visit>
  void Walk(Visit visit) const {
    const int end = CatalogEnd();
    for (int i = 1; i < end; ++i) visit(i, m_records[i - 1]);
  }

  // The exact sum of the Size fields of the file records.
  int64_t TotalSize() const;

  // Records held in memory (those up to the last one written).
  int HeldCount() const { return static_cast<int>(m_records.size()); }
  void Reserve(int count) { m_records.reserve(count); }

  bool operator==(const CatalogTable& other) const;

 private:
  static const CatalogRecord& Empty();
  // The first index whose field is empty, from the index and the open record.
  int FirstEmpty(const std::set<int>& empty, std::string CatalogRecord::*field) const;
  // Takes the open record into the index, as it reads now.
  void SettleOpenRecord();
  // Takes a held record out of the index, before it is handed out for writing.
  void Unindex(int index);

  std::vector<CatalogRecord> m_records;
  // Held records, the open one aside, whose Path is empty, whose File name is
  // empty, and which are trailers.
  std::set<int> m_empty_paths;
  std::set<int> m_empty_file_names;
  std::set<int> m_trailers;
  // The record last handed out by MutableRecord (0: none). What is written
  // through its reference is not in the index yet, so the queries read it.
  int m_open = 0;
};

}  // namespace tallymere
