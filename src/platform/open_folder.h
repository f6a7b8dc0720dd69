#pragma once
// A native folder held open while the files a listing found in it are read:
// the Linux side of FolderFiles.

#include <string>

#include "platform/binary_file.h"
#include "ports/platform.h"

namespace tallymere {

class OpenFolder : public FolderFiles {
 public:
  explicit OpenFolder(const std::string& native_folder);
  ~OpenFolder() override;
  OpenFolder(const OpenFolder&) = delete;
  OpenFolder& operator=(const OpenFolder&) = delete;

  // False when the folder could not be opened; then nothing can be read
  // through it.
  bool ok() const { return m_fd >= 0; }

  bool ReadFacts(const std::string& name, FolderEntry* facts) const override;
  // A file whose whole path is longer than the system allows cannot be read
  // by its path either, so it is refused as such a read would be.
  Result<std::unique_ptr<RandomAccessFile>> Open(const std::string& name,
                                                 FolderEntry* facts) const override;

 private:
  int m_fd = -1;
  std::size_t m_path_length = 0;
};

}  // namespace tallymere
