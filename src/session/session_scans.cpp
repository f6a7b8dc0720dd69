// The scans: a new scan, Add a Disk, Update and Rescan Disk, each built in a
// table of its own so that a failure leaves the catalog as it was.

#include "catalog/file_type.h"
#include "common/ascii_case.h"
#include "common/format.h"
#include "scan/scan_disk.h"
#include "scan/update.h"
#include "session/catalog_session.h"

namespace tallymere {

void CatalogSession::KeepInfoForMusicOnly() {
  // Add a Disk and Update read no information of files that are no music.
  if (!IsMusicType(m_settings.txtType)) m_settings.chkBitRate = 0;
}

Result<ScanReport> CatalogSession::Scan(const std::vector<std::string>& roots,
                                        ScanObserver* observer, const std::string& label) {
  const ScanRequest request{roots, CurrentScanSettings(), label, 0};
  Result<ScanResult> scanned = ScanDisk(m_platform, request, observer);
  if (!scanned) return scanned.status();
  if (Status made = NewCatalogFromScan(&*scanned, nullptr, TrailerTime()); !made) return made;
  m_catalog = std::move(scanned->table);
  return std::move(scanned->report);
}

std::optional<std::string> CatalogSession::NewLabelProblem(std::string_view label) const {
  if (label.empty()) return "Please enter a label and try again.";
  if (std::optional<std::string> problem = DiskLabelProblem(label)) return problem;
  if (HoldsLabel(label)) return "A disk with the same label exists. Try again.";
  return std::nullopt;
}

bool CatalogSession::HoldsLabel(std::string_view label) const {
  bool held = false;
  m_catalog.Walk(
      [&](int, const CatalogRecord& record) { held = held || record.disk_label == label; });
  return held;
}

Result<ScanReport> CatalogSession::AddDisk(const std::string& entry, const std::string& label,
                                           ScanObserver* observer) {
  // The earlier records stay in the catalog until the disk's scan is complete
  // and known to fit beside them; a failure changes nothing.
  const int earlier = m_catalog.FileCount();
  const ScanRequest request{{entry}, CurrentScanSettings(), label, earlier};
  Result<ScanResult> disk = ScanDisk(m_platform, request, observer);
  if (!disk) return disk.status();
  // Records 1..N the new disk, then the earlier files in their order, then the trailer.
  if (!NewCatalogFromScan(&*disk, &m_catalog, TrailerTime())) {
    return Status::Error(StatusCode::kNoSpace,
                         "The disk was not added: its " + FormatCount(disk->file_count) +
                             " files and the " + FormatCount(earlier) +
                             " files already catalogued do not fit in one catalog, which holds "
                             "at most " +
                             FormatCount(m_max_files) + " files. Nothing was changed.");
  }
  m_catalog = std::move(disk->table);
  // A disk added after New or at start-up is the whole catalog. It is named as
  // a new scan names its catalog, so Save asks where to keep it instead of
  // writing the bare "Untitled.mpd" into whatever folder the program was
  // started from.
  if (m_data_file_path == kUntitledDataFile) m_data_file_path = UntitledPath();
  m_changed = true;
  return std::move(disk->report);
}

Result<UpdateSummary> CatalogSession::Update(ScanObserver* observer) {
  KeepInfoForMusicOnly();
  Result<UpdateResult> updated = UpdateHardDrives(m_platform, PlanUpdate(m_platform), m_catalog,
                                                  CurrentScanSettings(), TrailerTime(), observer);
  if (!updated) return updated.status();
  m_catalog = std::move(updated->table);
  m_changed = true;
  return UpdateSummary{updated->scanned, updated->kept, std::move(updated->report)};
}

std::optional<NodeKey> CatalogSession::DiskLabelled(std::string_view label) const {
  const int end = m_catalog.StoredEnd();
  for (int i = 1; i < end; ++i) {
    const CatalogRecord& record = m_catalog.Record(i);
    if (record.path.empty() || !EqualNoCase(record.disk_label, label)) continue;
    // A drive root is a hard drive's own label, not a disk.
    if (EqualNoCase(record.disk_label, DriveRootOf(record.path))) return std::nullopt;
    std::string key(DriveRootOf(record.path));
    key += record.disk_label + "\\";
    return NodeKey::Parse(key, true);
  }
  return std::nullopt;
}

Result<DiskRescan> CatalogSession::RescanDisk(const NodeKey& disk, std::string_view read_root,
                                              ScanObserver* observer) const {
  return tallymere::RescanDisk(m_platform, m_catalog, disk, read_root, CurrentScanSettings(),
                               observer);
}

Status CatalogSession::ReplaceDisk(const NodeKey& disk, DiskRescan* rescan) {
  if (Status replaced = ReplaceDiskRecords(&m_catalog, disk, rescan, TrailerTime()); !replaced) {
    return replaced;
  }
  m_changed = true;
  return Status::Ok();
}

}  // namespace tallymere
