#include "search/delete_in_data.h"

namespace tallymere {
namespace {

bool IsFullPath(const CatalogRecord& record, std::string_view full_path) {
  return full_path.size() == record.path.size() + record.file_name.size() &&
         full_path.starts_with(record.path) && full_path.ends_with(record.file_name);
}

}  // namespace

bool DeleteFileInData(CatalogTable* table, std::string_view strFileToDelete) {
  const int end = table->StoredEnd();
  for (int i = 1; i < end; ++i) {
    if (!IsFullPath(table->Record(i), strFileToDelete)) continue;
    table->RemoveRecord(i);
    return true;
  }
  return false;
}

}  // namespace tallymere
