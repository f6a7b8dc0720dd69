#include "scan/update.h"

#include <algorithm>

#include "common/ascii_case.h"
#include "common/format.h"

namespace tallymere {
namespace {

// scanned: "12,345", or "more than 10,000,000" when the scan stopped at the bound.
std::string TooManyMessage(const std::string& scanned, int kept, int max_files) {
  return "The catalog was not updated: the fixed drives hold " + scanned +
         " files of the type catalogued and the removable disks " + FormatCount(kept) +
         " more, but a catalog holds at most " + FormatCount(max_files) +
         " files. Choose a narrower file type in Options (mp3, for instance) and update again. "
         "Nothing was changed.";
}

// An update without a fixed drive would keep only the disks and drop every
// other record: far more likely a drive map gone wrong than the user's wish.
std::string NoFixedDriveMessage(const Platform& platform) {
  std::string message =
      "The catalog was not updated: the drive map has no fixed drive to scan, so the update "
      "would drop every file that is not on a disk.";
  for (const std::string& problem : platform.DriveMapProblems()) message += " " + problem;
  return message + " Nothing was changed.";
}

}  // namespace

UpdatePlan PlanUpdate(const Platform& platform) {
  UpdatePlan plan;
  for (const DriveInfo& drive : platform.Drives()) {
    const std::string root = std::string(1, drive.letter) + ":\\";
    if (drive.type == kDriveRemovable || drive.type == kDriveCdRom) {
      plan.removable_roots.push_back(root);
    } else if (drive.type == kDriveFixed) {
      plan.fixed_roots.push_back(root);
    }
  }
  return plan;
}

Result<UpdateResult> UpdateHardDrives(const Platform& platform, const UpdatePlan& plan,
                                      const CatalogTable& catalog, const ScanSettings& settings,
                                      const std::string& trailer_time, ScanObserver* observer) {
  if (plan.fixed_roots.empty()) {
    return Status::Error(StatusCode::kNotFound, NoFixedDriveMessage(platform));
  }
  // The records of the removable disks, in their order.
  std::vector<int> kept;
  catalog.Walk([&](int index, const CatalogRecord& record) {
    const std::string root = AsciiUpper(DriveRootOf(record.path));
    if (std::find(plan.removable_roots.begin(), plan.removable_roots.end(), root) !=
        plan.removable_roots.end()) {
      kept.push_back(index);
    }
  });

  const ScanRequest request{plan.fixed_roots, settings, "", static_cast<int>(kept.size())};
  Result<ScanResult> scanned = ScanDisk(platform, request, observer);
  if (!scanned) {
    // A scan that would not fit stops at the limit; say so with the kept count.
    if (scanned.status().message() == CatalogFullMessage(settings.max_files)) {
      return Status::Error(StatusCode::kNoSpace,
                           TooManyMessage("more than " + FormatCount(settings.max_files),
                                          static_cast<int>(kept.size()), settings.max_files));
    }
    return Status::Error(scanned.code(),
                         "The catalog was not updated: " + scanned.status().message());
  }
  UpdateResult result;
  result.table = std::move(scanned->table);
  result.report = std::move(scanned->report);
  result.scanned = scanned->file_count;
  result.kept = static_cast<int>(kept.size());
  if (result.scanned + result.kept > settings.max_files) {
    return Status::Error(StatusCode::kNoSpace, TooManyMessage(FormatCount(result.scanned),
                                                              result.kept, settings.max_files));
  }
  int next = result.scanned + 1;
  for (int index : kept) result.table.SetRecord(next++, catalog.Record(index));
  result.table.SetRecord(next,
                         MakeTrailer(settings.file_type, settings.mp3_info_flag, trailer_time));
  return result;
}

}  // namespace tallymere
