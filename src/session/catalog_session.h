#pragma once
// One open catalog and what belongs to it: its records, the data file they
// came from or go to, whether they changed since, the settings the program
// works with, the drives of this machine as this catalog sees them, and the
// files handed to MP3 Utilities. The window controllers and the command-line
// tool both work through it: an operation does the catalog's part of a
// command and returns what came of it; asking and telling the user stay with
// the caller, so no operation here shows anything.
//
// Operations are spread over files by group: the document and its drives
// (catalog_session.cpp), scans (session_scans.cpp) and the records' own
// changes (session_records.cpp).

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog_drives.h"
#include "catalog/catalog_table.h"
#include "catalog/node_key.h"
#include "catalog/program_settings.h"
#include "catalog/settings.h"
#include "common/status.h"
#include "ports/platform.h"
#include "scan/rescan_disk.h"
#include "scan/scan_request.h"
#include "search/find.h"

namespace tallymere {

// The name a catalog has until it is saved or opened.
inline constexpr std::string_view kUntitledDataFile = "Untitled.mpd";

// What could not be used of the settings files at start-up, each named.
struct StartProblems {
  Status settings;                            // Data/lists.dat
  std::vector<std::string> program_settings;  // settings.conf
  std::vector<std::string> drive_map;         // Data/drives.dat
};

// What Update did: the files scanned afresh on the fixed drives and the
// records kept of removable disks.
struct UpdateSummary {
  int scanned = 0;
  int kept = 0;
  ScanReport report;
};

// What Compute Audio Fingerprints did.
struct FingerprintSummary {
  int computed = 0;
  int unreachable = 0;    // not mounted, another disk in the drive, changed since
  int without_audio = 0;  // read, but nothing between the tags to hash
};

// "12 audio fingerprints computed; 3 files could not be reached ...".
std::string FingerprintSummaryText(const FingerprintSummary& summary);

// What Delete Disk or Folder took out.
struct RemovedRecords {
  int count = 0;
  int64_t kept_size = 0;  // the sizes of the records that stay
};

// A file as the catalog names it, handed from one window to another.
struct CatalogFile {
  std::string path;  // with drive and closing "\"
  std::string file_name;
};

// New fields for every record of one file; what is not set stays. A rename
// gives the new name, a tag write the tag's fields and the file's new size.
struct RecordRewrite {
  CatalogFile file;
  std::optional<std::string> new_name;
  std::optional<std::string> artist;
  std::optional<std::string> title;
  std::optional<std::string> album;
  std::optional<int64_t> size;
};

class CatalogSession {
 public:
  explicit CatalogSession(const Platform& platform);
  CatalogSession(const CatalogSession&) = delete;
  CatalogSession& operator=(const CatalogSession&) = delete;

  const Platform& platform() const { return m_platform; }

  // --- The document ------------------------------------------------------------
  const CatalogTable& catalog() const { return m_catalog; }
  // For the editors that change fields in place; they mark the catalog changed.
  CatalogTable& catalog() { return m_catalog; }
  const std::string& data_file_path() const { return m_data_file_path; }
  // A new path forgets the file the catalog saw at the old one.
  void set_data_file_path(std::string path);
  bool changed() const { return m_changed; }
  void set_changed(bool changed) { m_changed = changed; }
  // The path a scan gives its catalog until it is saved: Untitled.mpd of the
  // program folder, which Save asks a name for.
  std::string UntitledPath() const;

  // --- Settings ----------------------------------------------------------------
  Settings& settings() { return m_settings; }
  const Settings& settings() const { return m_settings; }
  ProgramSettings& program_settings() { return m_program_settings; }
  const ProgramSettings& program_settings() const { return m_program_settings; }
  // What a scan of this catalog works with now: the file type, the
  // MP3-information flag and the ID3v1 code page.
  ScanSettings CurrentScanSettings() const;
  // Makes these the file type, MP3-information flag and ID3v1 code page.
  void UseScanSettings(const ScanSettings& settings);
  // The most files a scan may bring into this catalog (tests set fewer).
  void set_max_files(int max_files) { m_max_files = max_files; }
  // Scans name each entry the leave-out rules kept out in their report.
  void set_explain_left_out(bool explain) { m_explain_left_out = explain; }
  // Add a Disk and Update read the information of music only ("mp3",
  // "audio" or one audio format): for any other type the flag goes off.
  void KeepInfoForMusicOnly();
  // Start-up: makes Data/lists.dat when it is missing, reads it and the
  // program's own settings, and says what could not be used.
  StartProblems LoadSettings();
  // Reads Data/lists.dat without making anything, for tools that only read
  // the program folder: a missing file leaves the defaults without a word.
  Status ReadStoredSettings();
  // Empty Header.txt and Footer.txt in the program folder when they are
  // missing: lists include them by default and fail without them.
  void ProvideListTexts() const;

  // --- Drives as this catalog sees them ---------------------------------------------
  // The drives of this machine, by letter.
  std::vector<CatalogDrive> MachineDrives() const;
  // The drives as last seen: by SeeMachineDrives while no catalog is shown,
  // by SeeCatalogDrives once one is (its own letters included).
  const std::vector<CatalogDrive>& drives() const { return m_drives; }
  void SeeMachineDrives();
  void SeeCatalogDrives();
  // The type of a drive as seen: a letter of the catalog this machine does
  // not map has the kind its records say; else the machine's answer.
  int DriveTypeOf(std::string_view drive_root) const;
  bool IsDiskDrive(std::string_view drive_root) const;
  // What a tree key stands for, its drive's kind taken from the drives seen.
  NodeKey KeyOf(std::string_view tree_key) const;

  // --- File menu ------------------------------------------------------------------
  // An empty, untitled catalog; the settings stay.
  void New();
  // Reads a data file; only when it is sound does it become the catalog, its
  // path the data file path, and its last trailer's file type and
  // MP3-information flag the settings'. The changed flag stays as it was.
  // A file cut short after a record is opened too, and its kIncomplete
  // status says so.
  Status Open(const std::string& path);
  // Writes the records to a data file; the catalog's own path and flag stay.
  // Written to its own path, the new file is the one the catalog has seen.
  Status WriteTo(const std::string& path);
  // WriteTo, then the file is the catalog's and the catalog is unchanged.
  Status Save(const std::string& path);
  // Whether another program replaced or changed the data file since this
  // catalog read it or last wrote it, so that writing it now would lose that
  // change. False for a catalog that has not met the file at its path, and
  // for a file that is gone.
  bool DataFileChangedOnDisk() const;

  // --- Scans ------------------------------------------------------------------------
  // A new catalog of the roots, which replaces this one only when the scan
  // succeeds; with a label, every record carries it, as on a disk added.
  // The changed flag and the path are the caller's.
  Result<ScanReport> Scan(const std::vector<std::string>& roots, ScanObserver* observer,
                          const std::string& label = {});
  // One removable disk scanned under a label, its records put in front of
  // the catalogued ones; nothing changes when the scan fails or does not fit.
  Result<ScanReport> AddDisk(const std::string& entry, const std::string& label,
                             ScanObserver* observer);
  // Why a text cannot label a new disk ("A disk with the same label exists.
  // Try again." for one in use), or nothing.
  std::optional<std::string> NewLabelProblem(std::string_view label) const;
  bool HoldsLabel(std::string_view label) const;
  // The fixed drives scanned afresh, the disks kept.
  Result<UpdateSummary> Update(ScanObserver* observer);
  // The labelled disk of this label (letter case ignored, as the tree takes
  // labels), or nothing.
  std::optional<NodeKey> DiskLabelled(std::string_view label) const;
  // A labelled disk read again from read_root and compared with its records.
  Result<DiskRescan> RescanDisk(const NodeKey& disk, std::string_view read_root,
                                ScanObserver* observer) const;
  // The disk's records replaced by a rescan's where they stood.
  Status ReplaceDisk(const NodeKey& disk, DiskRescan* rescan);

  // --- Find -------------------------------------------------------------------------
  std::vector<int> Find(const FindQuery& query) const;
  std::vector<int> Find(const NodeKey& node) const;

  // --- The records' own changes -------------------------------------------------------
  // The first record of this file among those the data file holds; 0 for none.
  int RecordOf(std::string_view path, std::string_view file_name) const;
  // Renames the record's file on disk (onto an existing file of that name
  // when replace) and then its record.
  Status RenameFile(int record, const std::string& new_name, bool replace);
  // The record's File name alone.
  void CorrectFileName(int record, const std::string& new_name);
  // Takes the record of a full path out; false when there is none.
  bool RemoveFile(std::string_view full_path);
  // Every record of a disk to the new label.
  void Relabel(std::string_view old_label, const std::string& new_label);
  // The records under a tree node taken out, a new trailer after the rest.
  RemovedRecords DeleteBelow(const NodeKey& node);
  // The audio files of the catalog that have no fingerprint yet.
  int FilesWithoutFingerprint() const;
  // Reads each of them that is reachable now (same path, same size) and
  // keeps its fingerprint; marks the catalog changed when any was taken.
  FingerprintSummary ComputeFingerprints(const std::function<void(int done, int total)>& progress);
  // For each file, whether the catalog holds a record of it.
  std::vector<bool> HoldsFiles(const std::vector<CatalogFile>& files) const;
  // Applies the rewrites to every record of each file, marks the catalog
  // changed when any matched, and tells the listener.
  bool RewriteRecords(const std::vector<RecordRewrite>& rewrites);
  // Told of the rewrites another window made, so the file list follows.
  std::function<void(const std::vector<RecordRewrite>&)> on_records_rewritten;

  // --- MP3 Utilities ------------------------------------------------------------
  // Sends files to MP3 Utilities: the window then works on them and writes
  // what it changes back into their records, until the link ends.
  void SendToMp3Utilities(std::vector<CatalogFile> files);
  bool linked_to_mp3_utilities() const { return m_mp3_link; }
  const std::vector<CatalogFile>& files_sent() const { return m_files_sent; }
  void EndMp3Link();

 private:
  std::string TrailerTime() const;
  // The trailer of this catalog's settings, made now.
  CatalogRecord NewTrailer() const;

  const Platform& m_platform;
  CatalogTable m_catalog;
  std::string m_data_file_path{kUntitledDataFile};
  // The data file as the catalog last read or wrote it at that path.
  std::optional<FileVersion> m_data_file_seen;
  bool m_changed = false;
  Settings m_settings;
  ProgramSettings m_program_settings;
  std::vector<CatalogDrive> m_drives;
  int m_max_files = CatalogTable::kMaxFileRecords;
  bool m_explain_left_out = false;
  bool m_mp3_link = false;
  std::vector<CatalogFile> m_files_sent;
};

}  // namespace tallymere
