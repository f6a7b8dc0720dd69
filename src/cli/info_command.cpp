// tallymere-cli info: what the Data File Info window shows for a data file.

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "catalog/data_file.h"
#include "catalog/data_file_info.h"
#include "cli/commands.h"
#include "platform/linux_platform.h"

namespace tallymere::cli {

int RunInfo(const Arguments& args) {
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
    std::fputs("Usage: tallymere-cli info FILE.mpd\n", stderr);
    return 1;
  }
  const std::string path = std::filesystem::absolute(args[0]).string();
  const LinuxPlatform platform(LinuxPlatform::FindProgramFolder());
  CatalogTable table;
  if (Status status = LoadDataFile(platform, path, &table); !status) {
    std::fprintf(stderr, "tallymere-cli: %s\n", status.message().c_str());
    return 1;
  }
  std::error_code error;
  const auto length = std::filesystem::file_size(path, error);
  // Opening a data file takes its file type from the trailer; without one the
  // program keeps its setting, which the command line does not have.
  const CatalogRecord* trailer = table.LastTrailer();
  const std::string file_type = trailer ? TrailerFileType(*trailer) : "";
  for (const std::string& label : DataFileInfoLabels(
           path, error ? std::nullopt : std::optional<int64_t>(length), file_type, table)) {
    std::cout << label << "\n";
  }
  return 0;
}

}  // namespace tallymere::cli
