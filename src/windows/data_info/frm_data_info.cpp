#include "windows/data_info/frm_data_info.h"

#include <optional>

#include "catalog/data_file_info.h"

namespace tallymere {

FrmDataInfo::FrmDataInfo(const CatalogSession& session)
    : m_session(session),
      m_labels{"File Name:",
               "Path:",
               "Size:",
               "Last Updated:",
               "File Type Cataloged: ",
               "Total Files Cataloged: ",
               "Total File Size: "} {}

void FrmDataInfo::Form_Load() {
  const std::string& path = m_session.data_file_path();
  if (path.empty()) return;
  // The length only of a file that exists: an unsaved catalog has none yet.
  std::optional<int64_t> length;
  if (Result<std::unique_ptr<RandomAccessFile>> file =
          m_session.platform().OpenFile(path, OpenMode::kRead)) {
    if (const Result<int64_t> bytes = (*file)->Length()) length = *bytes;
  }
  m_labels = DataFileInfoLabels(path, length, m_session.settings().txtType, m_session.catalog());
}

}  // namespace tallymere
