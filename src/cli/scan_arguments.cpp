#include "cli/scan_arguments.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "catalog/file_type.h"
#include "catalog/settings.h"
#include "cli/command_line.h"
#include "common/ascii_case.h"

namespace tallymere::cli {
namespace {

bool IsCatalogPath(std::string_view root) {
  return root.size() >= 2 && root[1] == ':' && IsDriveLetter(root[0]);
}

}  // namespace

Result<std::string> CatalogRoot(const Platform& platform, const std::string& root) {
  if (IsCatalogPath(root)) {
    std::string catalog = root;
    catalog[0] = AsciiUpper(catalog[0]);
    return catalog;
  }
  char resolved[PATH_MAX];
  if (realpath(root.c_str(), resolved) == nullptr) {
    return Status::Error("cannot scan \"" + root + "\": " + std::strerror(errno));
  }
  const std::optional<std::string> catalog = platform.ToCatalog(resolved);
  if (!catalog) {
    return Status::Error("cannot scan \"" + root + "\": no drive holds the folder " + resolved);
  }
  return *catalog;
}

ScanSettings StoredScanSettings(const Platform& platform, const char* prefix) {
  Settings stored;
  if (Status status = ReadSettings(platform, &stored); !status) {
    std::fprintf(stderr, "%s: %s; using the default settings\n", prefix, status.message().c_str());
  }
  ScanSettings settings;
  settings.file_type = stored.txtType;
  settings.mp3_info_flag = stored.chkBitRate;
  return settings;
}

void AddReplacementOutputOption(CLI::App* command, std::string* output) {
  command
      ->add_option("-o,--output", *output,
                   "Write the catalog here and leave FILE.mpd as it is\n"
                   "(default: replace FILE.mpd)")
      ->type_name("OUT.mpd")
      ->check(NotEmpty());
}

ScanSettings CatalogScanSettings(const CatalogTable& catalog, const Platform& platform,
                                 const char* prefix) {
  ScanSettings settings;
  if (const CatalogRecord* trailer = catalog.LastTrailer()) {
    settings.file_type = TrailerFileType(*trailer);
    settings.mp3_info_flag = trailer->size;
  } else {
    settings = StoredScanSettings(platform, prefix);
  }
  if (settings.file_type != kMp3Type) settings.mp3_info_flag = 0;
  return settings;
}

}  // namespace tallymere::cli
