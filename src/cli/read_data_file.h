#pragma once
// Reading a data file named on the command line. The tool names files by
// their native paths and needs no drive map for them, so it reads the bytes
// itself instead of building the machine's map first.

#include <string>

#include "catalog/data_file.h"
#include "platform/atomic_file.h"

namespace tallymere::cli {

inline Status ReadDataFile(const std::string& native_path, CatalogTable* table) {
  Result<std::string> bytes = ReadWholeFile(native_path);
  if (!bytes) return bytes.status();
  return DecodeDataFile(*bytes, native_path, table);
}

}  // namespace tallymere::cli
