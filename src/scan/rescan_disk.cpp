#include "scan/rescan_disk.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <unordered_map>

#include "catalog/catalog_record.h"
#include "common/ascii_case.h"
#include "common/format.h"
#include "common/shown_text.h"
#include "common/text_encoding.h"
#include "scan/scan_disk.h"

namespace tallymere {
namespace {

// A record's place on its disk, as the comparison matches them: in the
// form stored in the data file, so a name of bytes that are no UTF-8 (a
// Latin-1 "caf\xE9") matches the record it became when read back ("café").
struct PathAndName {
  std::string path;
  std::string name;
  bool operator==(const PathAndName&) const = default;
};

PathAndName StoredPlace(const CatalogRecord& record) {
  return {EncodeText(record.path), EncodeText(record.file_name)};
}

struct PathAndNameHash {
  std::size_t operator()(const PathAndName& key) const {
    const std::hash<std::string> hash;
    return hash(key.path) * 31 + hash(key.name);
  }
};

// Whether two Modified texts stand for the same moment: a catalog written
// before the four-digit year, or under another locale, holds its dates in
// another form, which must not make every file look changed.
bool SameMoment(const std::string& was, const std::string& now) {
  if (was == now) return true;
  const std::optional<std::time_t> moment = ParseDateTime(now);
  return moment && DateTextMayMean(was, *moment);
}

// Each field that changed, from what to what: "size 4,000 to 4,417; title
// "Intro" to "Overture"". Texts are compared as stored, so a name or tag of
// bytes that are no UTF-8 compares equal to itself read back.
std::string WhatChanged(const CatalogRecord& was, const CatalogRecord& now) {
  std::string what;
  const auto add = [&what](std::string_view field, const std::string& from, const std::string& to) {
    if (!what.empty()) what += "; ";
    what.append(field).append(" ").append(from).append(" to ").append(to);
  };
  const auto quoted = [](const std::string& text) { return "\"" + ShownText(text) + "\""; };
  if (was.size != now.size) add("size", FormatCount(was.size), FormatCount(now.size));
  if (!SameMoment(was.modified, now.modified)) add("date", was.modified, now.modified);
  const std::pair<const char*, std::string CatalogRecord::*> tags[] = {
      {"artist", &CatalogRecord::artist},
      {"title", &CatalogRecord::title},
      {"album", &CatalogRecord::album}};
  for (const auto& [field, member] : tags) {
    if (EncodeText(was.*member) != EncodeText(now.*member)) {
      add(field, quoted(was.*member), quoted(now.*member));
    }
  }
  if (was.bitrate != now.bitrate) add("bitrate", was.bitrate, now.bitrate);
  if (was.time != now.time) add("time", was.time, now.time);
  return what;
}

bool OnDisk(const NodeKey& disk, const CatalogRecord& record) {
  return !record.path.empty() && disk.HoldsBelow(record);
}

std::string Plural(int count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

}  // namespace

Result<DiskRescan> RescanDisk(const Platform& platform, const CatalogTable& catalog,
                              const NodeKey& disk, std::string_view read_root,
                              const ScanSettings& settings, ScanObserver* observer) {
  const std::string root = WithBackslash(std::string(read_root));
  // A disk added from one of its folders is read from that folder again, so
  // the files beside it are not taken for new ones.
  std::string folder = root + DiskFolder(catalog, disk);
  if (folder != root && !platform.FolderExists(folder)) folder = root;
  const ScanRequest request{{folder}, settings, disk.label(), 0};
  Result<ScanResult> scanned = ScanDisk(platform, request, observer);
  if (!scanned) return scanned.status();
  if (scanned->file_count == 0) {
    return Status::Error(StatusCode::kNotFound, "No file of the type \"" + settings.file_type +
                                                    "\" was found in " + folder);
  }
  DiskRescan rescan{disk.label(), "", std::move(*scanned), {}, 0, 0, 0};
  rescan.read_folder = std::string(disk.drive_root()) + folder.substr(root.size());
  // A disk mounted at a folder of another drive is catalogued as in its own.
  const std::string_view drive_root = disk.drive_root();
  if (root != drive_root) {
    for (int i = 1; i <= rescan.scan.file_count; ++i) {
      std::string& path = rescan.scan.table.MutableRecord(i).path;
      path.replace(0, root.size(), drive_root);
    }
  }
  CompareDisk(catalog, disk, &rescan);
  return rescan;
}

void CompareDisk(const CatalogTable& catalog, const NodeKey& disk, DiskRescan* rescan) {
  // A disk's records may stand after the trailer of an earlier scan.
  const int end = catalog.StoredEnd();
  std::unordered_map<PathAndName, int, PathAndNameHash> was;
  std::vector<bool> matched(static_cast<std::size_t>(end), false);
  for (int i = 1; i < end; ++i) {
    const CatalogRecord& record = catalog.Record(i);
    if (OnDisk(disk, record)) was.emplace(StoredPlace(record), i);
  }
  rescan->changes.clear();
  const CatalogTable& now = rescan->scan.table;
  for (int j = 1; j <= rescan->scan.file_count; ++j) {
    const CatalogRecord& record = now.Record(j);
    const auto found = was.find(StoredPlace(record));
    if (found == was.end()) {
      rescan->changes.push_back({DiskChange::Kind::kAdded, record.path + record.file_name, ""});
      continue;
    }
    matched[static_cast<std::size_t>(found->second)] = true;
    std::string what = WhatChanged(catalog.Record(found->second), record);
    if (!what.empty()) {
      rescan->changes.push_back(
          {DiskChange::Kind::kChanged, record.path + record.file_name, std::move(what)});
    }
  }
  // A file the rules now leave out was not looked for: it is no removal.
  const LeaveOutRules& rules = rescan->scan.settings.leave_out;
  for (int i = 1; i < end; ++i) {
    const CatalogRecord& record = catalog.Record(i);
    if (!OnDisk(disk, record) || matched[static_cast<std::size_t>(i)]) continue;
    const std::string path = record.path + record.file_name;
    if (rules.LeftOutFile(std::string_view(path).substr(DriveRootOf(path).size())) != nullptr) {
      continue;
    }
    rescan->changes.push_back({DiskChange::Kind::kRemoved, path, ""});
  }
  std::stable_sort(rescan->changes.begin(), rescan->changes.end(),
                   [](const DiskChange& a, const DiskChange& b) { return a.path < b.path; });
  rescan->added = rescan->removed = rescan->changed = 0;
  for (const DiskChange& change : rescan->changes) {
    switch (change.kind) {
      case DiskChange::Kind::kAdded:
        ++rescan->added;
        break;
      case DiskChange::Kind::kRemoved:
        ++rescan->removed;
        break;
      case DiskChange::Kind::kChanged:
        ++rescan->changed;
        break;
    }
  }
}

std::string DiskFolder(const CatalogTable& catalog, const NodeKey& disk) {
  std::optional<std::string_view> common;
  const int end = catalog.StoredEnd();
  for (int i = 1; i < end; ++i) {
    const CatalogRecord& record = catalog.Record(i);
    if (!OnDisk(disk, record)) continue;
    const std::string_view path =
        std::string_view(record.path).substr(DriveRootOf(record.path).size());
    if (!common) {
      common = path;
      continue;
    }
    std::size_t same = 0;
    while (same < common->size() && same < path.size() && (*common)[same] == path[same]) ++same;
    *common = common->substr(0, same);
  }
  if (!common) return {};
  // Whole folders only: "Music\Rock\" and "Music\Pop\" share "Music\".
  const std::size_t last = common->rfind('\\');
  return last == std::string_view::npos ? std::string() : std::string(common->substr(0, last + 1));
}

std::string DiskChangesSummary(const DiskRescan& rescan) {
  const bool from_folder = !rescan.read_folder.empty() &&
                           rescan.read_folder.size() > DriveRootOf(rescan.read_folder).size();
  const std::string read = from_folder ? " (read from " + rescan.read_folder + ")" : "";
  return "Disk " + rescan.label + read + ": " + Plural(rescan.added, "file", "files") + " added, " +
         std::to_string(rescan.removed) + " removed, " + std::to_string(rescan.changed) +
         " changed (size, date or tag).";
}

std::string DiskChangeLine(const DiskChange& change) {
  switch (change.kind) {
    case DiskChange::Kind::kAdded:
      return "+ " + change.path;
    case DiskChange::Kind::kRemoved:
      return "- " + change.path;
    case DiskChange::Kind::kChanged:
      break;
  }
  return "~ " + change.path + " (" + change.what + ")";
}

Status ReplaceDiskRecords(CatalogTable* catalog, const NodeKey& disk, DiskRescan* rescan,
                          std::string_view trailer_time) {
  const int end = catalog->StoredEnd();
  int old_count = 0;
  for (int i = 1; i < end; ++i) old_count += OnDisk(disk, catalog->Record(i)) ? 1 : 0;
  const int others = catalog->FileCount() - old_count;
  const int records = (end - 1) - old_count + rescan->scan.file_count;
  const bool has_trailer = catalog->CatalogEnd() < end;
  const int max_files = std::min(rescan->scan.settings.max_files, CatalogTable::kMaxFileRecords);
  if (records - (has_trailer ? 1 : 0) > max_files) {
    return Status::Error(StatusCode::kNoSpace,
                         "The disk's " + FormatCount(rescan->scan.file_count) + " files and the " +
                             FormatCount(others) +
                             " other files catalogued do not fit in one catalog, which " +
                             "holds at most " + FormatCount(max_files) + " files.");
  }

  CatalogTable result;
  result.Reserve(records + 1);
  int next = 1;
  bool placed = false;
  const auto place_disk = [&] {
    for (int j = 1; j <= rescan->scan.file_count; ++j) {
      result.SetRecord(next++, std::move(rescan->scan.table.MutableRecord(j)));
    }
    placed = true;
  };
  const CatalogRecord trailer = MakeTrailer(rescan->scan.settings.file_type,
                                            rescan->scan.settings.mp3_info_flag, trailer_time);
  const int trailer_at = catalog->CatalogEnd();
  for (int i = 1; i < end; ++i) {
    const CatalogRecord& record = catalog->Record(i);
    if (i == trailer_at) {
      if (!placed) place_disk();
      result.SetRecord(next++, trailer);
    } else if (OnDisk(disk, record)) {
      if (!placed) place_disk();
    } else {
      result.SetRecord(next++, record);
    }
  }
  if (!placed) place_disk();
  if (!has_trailer) result.SetRecord(next, trailer);
  *catalog = std::move(result);
  return Status::Ok();
}

}  // namespace tallymere
