// The document and its drives: New, Open, Save, the settings and the drive
// map as the catalog sees it.

#include "session/catalog_session.h"

#include "catalog/data_file.h"
#include "common/ascii_case.h"
#include "common/format.h"
#include "lists/list_request.h"

namespace tallymere {

CatalogSession::CatalogSession(const Platform& platform) : m_platform(platform) {}

std::string CatalogSession::UntitledPath() const {
  return m_platform.ProgramFolder() + "/" + std::string(kUntitledDataFile);
}

std::string CatalogSession::TrailerTime() const { return FormatDateTime(m_platform.Now()); }

CatalogRecord CatalogSession::NewTrailer() const {
  return MakeTrailer(m_settings.txtType, m_settings.chkBitRate, TrailerTime());
}

ScanSettings CatalogSession::CurrentScanSettings() const {
  return {m_settings.txtType,
          m_settings.chkBitRate,
          m_program_settings.id3v1_code_page,
          m_max_files,
          LeaveOutRules::Parse(m_program_settings.leave_out),
          m_program_settings.include_hidden,
          m_explain_left_out};
}

void CatalogSession::UseScanSettings(const ScanSettings& settings) {
  m_settings.txtType = settings.file_type;
  m_settings.chkBitRate = settings.mp3_info_flag;
  m_program_settings.id3v1_code_page = settings.id3v1_code_page;
}

Status CatalogSession::ReadStoredSettings() { return ReadSettings(m_platform, &m_settings); }

StartProblems CatalogSession::LoadSettings() {
  StartProblems problems;
  problems.settings = tallymere::LoadSettings(m_platform, &m_settings);
  m_program_settings = ReadProgramSettings(m_platform, &problems.program_settings);
  // A rule that cannot be used is said once at start; the others are used.
  (void)LeaveOutRules::Parse(m_program_settings.leave_out, &problems.program_settings);
  problems.drive_map = m_platform.DriveMapProblems();
  return problems;
}

void CatalogSession::ProvideListTexts() const {
  // Header Text and Footer text can only open what exists: a first start
  // gets empty ones. A file that cannot be made is said when a list needs it.
  for (std::string_view name : {kHeaderFileName, kFooterFileName}) {
    const std::string path = m_platform.ProgramFolder() + "/" + std::string(name);
    if (m_platform.ReadFile(path, kSmallTextFileLimit).code() == StatusCode::kNotFound) {
      (void)m_platform.WriteFileAtomically(path, "");
    }
  }
}

std::vector<CatalogDrive> CatalogSession::MachineDrives() const {
  std::vector<CatalogDrive> drives;
  for (const DriveInfo& drive : m_platform.Drives()) {
    drives.push_back({std::string(1, drive.letter) + ":\\", drive.type, drive.floppy});
  }
  return drives;
}

void CatalogSession::SeeMachineDrives() { m_drives = MachineDrives(); }

void CatalogSession::SeeCatalogDrives() { m_drives = CatalogDrives(MachineDrives(), m_catalog); }

int CatalogSession::DriveTypeOf(std::string_view drive_root) const {
  const std::string root = AsciiUpper(drive_root);
  for (const CatalogDrive& drive : m_drives) {
    if (drive.root == root) return drive.type;
  }
  return m_platform.DriveType(drive_root);
}

bool CatalogSession::IsDiskDrive(std::string_view drive_root) const {
  const int type = DriveTypeOf(drive_root);
  return type == kDriveRemovable || type == kDriveCdRom;
}

NodeKey CatalogSession::KeyOf(std::string_view tree_key) const {
  // Removable and CD-ROM drives catalogue disks under labels of their own.
  return NodeKey::Parse(tree_key, IsDiskDrive(NodeKey::Parse(tree_key, false).drive_root()));
}

void CatalogSession::New() {
  m_catalog.Erase();
  m_data_file_path = kUntitledDataFile;
  m_data_file_seen.reset();
  m_changed = false;
  EndMp3Link();
  SeeMachineDrives();
}

Status CatalogSession::Open(const std::string& path) {
  // Looked at before the read: a file replaced during it then counts as
  // changed since, never the other way round.
  const std::optional<FileVersion> seen = m_platform.FileVersionAt(path);
  // Read into a table of its own: a damaged file must not replace the catalog.
  CatalogTable loaded;
  Status status = LoadDataFile(m_platform, path, &loaded);
  if (!RecordsWereRead(status)) return status;
  m_data_file_path = path;
  m_data_file_seen = seen;
  m_catalog = std::move(loaded);
  if (const CatalogRecord* trailer = m_catalog.LastTrailer()) {
    m_settings.txtType = TrailerFileType(*trailer);
    m_settings.chkBitRate = trailer->size;
  }
  SeeCatalogDrives();
  return status;
}

Status CatalogSession::WriteTo(const std::string& path) {
  if (Status written = SaveDataFile(m_platform, m_catalog, path); !written) return written;
  if (path == m_data_file_path) m_data_file_seen = m_platform.FileVersionAt(path);
  return Status::Ok();
}

Status CatalogSession::Save(const std::string& path) {
  if (Status written = SaveDataFile(m_platform, m_catalog, path); !written) return written;
  m_data_file_path = path;
  m_data_file_seen = m_platform.FileVersionAt(path);
  m_changed = false;
  return Status::Ok();
}

void CatalogSession::set_data_file_path(std::string path) {
  if (path != m_data_file_path) m_data_file_seen.reset();
  m_data_file_path = std::move(path);
}

bool CatalogSession::DataFileChangedOnDisk() const {
  if (!m_data_file_seen) return false;
  // A file deleted since holds nothing a save could lose.
  const std::optional<FileVersion> now = m_platform.FileVersionAt(m_data_file_path);
  return now && *now != *m_data_file_seen;
}

std::vector<int> CatalogSession::Find(const FindQuery& query) const {
  return FindRecords(m_catalog, query);
}

std::vector<int> CatalogSession::Find(const NodeKey& node) const {
  return FindRecords(m_catalog, node);
}

void CatalogSession::SendToMp3Utilities(std::vector<CatalogFile> files) {
  m_files_sent = std::move(files);
  m_mp3_link = true;
}

void CatalogSession::EndMp3Link() {
  m_mp3_link = false;
  m_files_sent.clear();
}

}  // namespace tallymere
