#pragma once
// Scanning tests: a program folder with its own Data/drives.dat, a platform
// that can fail or invent folder listings, and the scripted UI that the
// window's scan status writes to.

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "catalog/catalog_table.h"
#include "platform/linux_platform.h"
#include "scan/scan_disk.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"
#include "windows/main/scan_status.h"

namespace tallymere::testing {

// Lists folders as the Linux platform does, except those it is told to fail
// (as a locked folder would) or to fill with invented files.
class ScanPlatform : public LinuxPlatform {
 public:
  using LinuxPlatform::LinuxPlatform;

  // folder is a catalog path with its "\".
  void FailListing(std::string folder) { m_failing.insert(std::move(folder)); }
  void InventFiles(std::string folder, int count) { m_invented[std::move(folder)] = count; }
  int ListCount(const std::string& folder) const {
    const auto it = m_list_counts.find(folder);
    return it == m_list_counts.end() ? 0 : it->second;
  }

  Result<FolderListing> ListFolder(std::string_view folder, bool with_file_facts,
                                   bool with_hidden = false) const override {
    const std::string key(folder);
    ++m_list_counts[key];
    if (m_failing.count(key) != 0) {
      return Status::Error("Cannot list \"" + key + "\": Permission denied");
    }
    if (const auto it = m_invented.find(key); it != m_invented.end()) {
      FolderListing listing;
      listing.entries.reserve(static_cast<std::size_t>(it->second));
      for (int i = 0; i < it->second; ++i) {
        FolderEntry& entry = listing.entries.emplace_back();
        entry.name = "f" + std::to_string(i) + ".mp3";
        if (with_file_facts) {
          entry.size = i;
          entry.modified = 1000;
        }
      }
      return listing;
    }
    return LinuxPlatform::ListFolder(folder, with_file_facts, with_hidden);
  }

 private:
  std::set<std::string> m_failing;
  std::map<std::string, int> m_invented;
  mutable std::map<std::string, int> m_list_counts;
};

class ScanFixture {
 public:
  // drives_lines as in drives.dat; "%ROOT%" stands for the temporary folder.
  explicit ScanFixture(std::string drives_lines = "C: fixed %ROOT%/c\n") {
    for (std::size_t pos; (pos = drives_lines.find("%ROOT%")) != std::string::npos;) {
      drives_lines.replace(pos, 6, m_folder.path());
    }
    m_folder.WriteFile("program/Data/drives.dat", drives_lines);
    m_folder.MakeFolder("c");
    m_platform = std::make_unique<ScanPlatform>(m_folder.Path("program"), [] { return 1000; });
  }

  const TempFolder& folder() const { return m_folder; }
  ScanPlatform& platform() { return *m_platform; }
  ScriptedUi& ui() { return m_ui; }
  // The files the last scan that succeeded recorded.
  int file_count() const { return m_file_count; }

  // Writes a file below the C: folder ("Music/a.mp3").
  std::string Write(std::string_view relative, std::string_view bytes = "") const {
    return m_folder.WriteFile("c/" + std::string(relative), bytes);
  }
  std::string Folder(std::string_view relative) const {
    return m_folder.MakeFolder("c/" + std::string(relative));
  }

  // Runs ScanDisk over the batch, the window's scan status watching; on
  // success its records go to *table and its report to *report.
  Status Scan(std::vector<std::string> batch, const ScanSettings& settings, CatalogTable* table,
              ScanReport* report = nullptr, std::string label = "") {
    struct Observer : ScanStatus {
      using ScanStatus::ScanStatus;
      void Progress(int folders, int files) override {
        if (progress) progress(folders, files);
      }
      std::function<void(int, int)> progress;
    } observer(m_ui, settings);
    observer.progress = m_progress;
    Result<ScanResult> scanned =
        ScanDisk(*m_platform, {std::move(batch), settings, std::move(label), 0}, &observer);
    if (!scanned) return scanned.status();
    *table = std::move(scanned->table);
    if (report != nullptr) *report = std::move(scanned->report);
    m_file_count = scanned->file_count;
    return Status::Ok();
  }
  void set_progress(std::function<void(int folders, int files)> progress) {
    m_progress = std::move(progress);
  }

 private:
  TempFolder m_folder;
  std::unique_ptr<ScanPlatform> m_platform;
  ScriptedUi m_ui;
  int m_file_count = 0;
  std::function<void(int, int)> m_progress;
};

// "Path + File name" of every file record, in record order.
inline std::vector<std::string> RecordPaths(const CatalogTable& table) {
  std::vector<std::string> paths;
  table.Walk(
      [&](int, const CatalogRecord& record) { paths.push_back(record.path + record.file_name); });
  return paths;
}

// The record whose File name is name; fails the test when there is none.
inline const CatalogRecord* FindRecord(const CatalogTable& table, const std::string& name) {
  const CatalogRecord* found = nullptr;
  table.Walk([&](int, const CatalogRecord& record) {
    if (record.file_name == name) found = &record;
  });
  return found;
}

}  // namespace tallymere::testing
