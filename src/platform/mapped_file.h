#pragma once
// A file's bytes for reading once, mapped into memory rather than copied. A
// full catalog's data file is megabytes, and copying it touches as many fresh
// pages, each a page fault that costs more than reading its bytes; a mapping
// takes the pages the page cache holds already. Files that cannot be mapped
// (empty ones, pipes, files under /proc) are read into memory instead.
//
// A mapped file that another program shortens while it is mapped ends the
// process with SIGBUS when the lost bytes are read, so only short-lived
// readers (the command-line tool) use it. Saving replaces a data file by a
// rename, which never disturbs a mapping of the old one.

#include <cstddef>
#include <string>
#include <string_view>

#include "common/status.h"

namespace tallymere {

class MappedFile {
 public:
  // The file's bytes, or the message ReadWholeFile gives for the same file.
  static Result<MappedFile> Open(const std::string& native_path);

  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  ~MappedFile();

  std::string_view bytes() const;
  // True when the bytes are mapped, false when they were read into memory.
  bool mapped() const { return m_map != nullptr; }

 private:
  MappedFile() = default;
  void Unmap();

  void* m_map = nullptr;
  std::size_t m_size = 0;
  std::string m_copy;  // the bytes of a file that could not be mapped
};

}  // namespace tallymere
