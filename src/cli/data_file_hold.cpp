#include "cli/data_file_hold.h"

#include <cstdio>

namespace tallymere::cli {

std::unique_ptr<FileHold> HoldDataFile(const Platform& platform, const std::string& native_path,
                                       const char* prefix) {
  Result<std::unique_ptr<FileHold>> hold = platform.HoldFile(native_path, [&] {
    std::fprintf(stderr, "%s: Waiting for another program to finish with \"%s\" ...\n", prefix,
                 native_path.c_str());
    return true;
  });
  // A run that waits gets its hold, or a hold of nothing.
  return hold ? std::move(*hold) : nullptr;
}

Status WriteBack(CatalogSession* session, const std::string& target) {
  if (target == session->data_file_path() && session->DataFileChangedOnDisk()) {
    return Status::Error(StatusCode::kChanged,
                         "\"" + target +
                             "\" was changed by another program after it was read, so nothing "
                             "was written; run the command again once that program has finished");
  }
  return session->WriteTo(target);
}

}  // namespace tallymere::cli
