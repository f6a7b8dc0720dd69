#pragma once
// A native folder held open while the files a listing found in it are read:
// each file then costs the kernel one name to look up instead of a whole
// path, which counts when a scan reads every file of its type.

#include <string>

#include "platform/binary_file.h"
#include "ports/platform.h"

namespace tallymere {

class OpenFolder {
 public:
  explicit OpenFolder(const std::string& native_folder);
  ~OpenFolder();
  OpenFolder(const OpenFolder&) = delete;
  OpenFolder& operator=(const OpenFolder&) = delete;

  // False when the folder could not be opened; then nothing can be read
  // through it.
  bool ok() const { return m_fd >= 0; }

  // Size, modified time and read-only flag of the regular file name into
  // *facts, as a listing with file facts gives them. False when no regular
  // file of that name can be reached now (gone, a link, no permission).
  bool ReadFacts(const std::string& name, FolderEntry* facts) const;

  // Opens the regular file name for reading and fills its facts as
  // ReadFacts does.
  Status OpenFile(const std::string& name, BinaryFile* file, FolderEntry* facts) const;

 private:
  int m_fd = -1;
};

}  // namespace tallymere
