// The records' own changes: renaming and correcting a file's record, taking
// records out, relabelling a disk, and the fields other windows write back.

#include <unordered_map>

#include "search/delete_in_data.h"
#include "session/catalog_session.h"

namespace tallymere {

int CatalogSession::RecordOf(std::string_view path, std::string_view file_name) const {
  const int end = m_catalog.StoredEnd();
  for (int i = 1; i < end; ++i) {
    const CatalogRecord& record = m_catalog.Record(i);
    if (record.path == path && record.file_name == file_name) return i;
  }
  return 0;
}

Status CatalogSession::RenameFile(int record, const std::string& new_name, bool replace) {
  const CatalogRecord& file = m_catalog.Record(record);
  const std::string from = file.path + file.file_name;
  const std::string to = file.path + new_name;
  // Onto another file in one step: should the rename fail, it is still there.
  Status renamed = replace ? m_platform.ReplaceFile(from, to) : m_platform.RenameFile(from, to);
  if (!renamed) return renamed;
  CorrectFileName(record, new_name);
  return Status::Ok();
}

void CatalogSession::CorrectFileName(int record, const std::string& new_name) {
  m_catalog.MutableRecord(record).file_name = new_name;
  m_changed = true;
}

bool CatalogSession::RemoveFile(std::string_view full_path) {
  if (!DeleteFileInData(&m_catalog, full_path)) return false;
  m_changed = true;
  return true;
}

void CatalogSession::Relabel(std::string_view old_label, const std::string& new_label) {
  const int end = m_catalog.CatalogEnd();
  for (int i = 1; i < end; ++i) {
    if (m_catalog.Record(i).disk_label == old_label)
      m_catalog.MutableRecord(i).disk_label = new_label;
  }
  m_changed = true;
}

RemovedRecords CatalogSession::DeleteBelow(const NodeKey& node) {
  // The records that stay, in their order, and a new trailer after them.
  CatalogTable kept;
  RemovedRecords removed;
  int next = 1;
  m_catalog.Walk([&](int, const CatalogRecord& record) {
    if (node.HoldsBelow(record)) {
      ++removed.count;
      return;
    }
    removed.kept_size += record.size;
    kept.SetRecord(next++, record);
  });
  kept.SetRecord(next, NewTrailer());
  m_catalog = std::move(kept);
  m_changed = true;
  return removed;
}

std::vector<bool> CatalogSession::HoldsFiles(const std::vector<CatalogFile>& files) const {
  // One walk over the records, each file looked up: a batch of thousands
  // over a full catalog stays quick.
  std::unordered_map<std::string, std::size_t> position;
  for (std::size_t i = 0; i < files.size(); ++i) {
    position.emplace(FileIdentity(files[i].path, files[i].file_name), i);
  }
  std::vector<bool> held(files.size(), false);
  m_catalog.Walk([&](int, const CatalogRecord& record) {
    const auto found = position.find(FileIdentity(record.path, record.file_name));
    if (found != position.end()) held[found->second] = true;
  });
  return held;
}

bool CatalogSession::RewriteRecords(const std::vector<RecordRewrite>& rewrites) {
  std::unordered_map<std::string, const RecordRewrite*> rewrite_of;
  for (const RecordRewrite& rewrite : rewrites) {
    rewrite_of.emplace(FileIdentity(rewrite.file.path, rewrite.file.file_name), &rewrite);
  }
  bool matched = false;
  const int end = m_catalog.CatalogEnd();
  for (int index = 1; index < end; ++index) {
    const CatalogRecord& record = m_catalog.Record(index);
    const auto found = rewrite_of.find(FileIdentity(record.path, record.file_name));
    if (found == rewrite_of.end()) continue;
    const RecordRewrite& rewrite = *found->second;
    CatalogRecord& target = m_catalog.MutableRecord(index);
    if (rewrite.new_name) target.file_name = *rewrite.new_name;
    if (rewrite.artist) target.artist = *rewrite.artist;
    if (rewrite.title) target.title = *rewrite.title;
    if (rewrite.album) target.album = *rewrite.album;
    if (rewrite.size) target.size = *rewrite.size;
    matched = true;
  }
  if (matched) m_changed = true;
  if (on_records_rewritten) on_records_rewritten(rewrites);
  return matched;
}

}  // namespace tallymere
