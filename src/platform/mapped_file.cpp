#include "platform/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/atomic_file.h"

namespace tallymere {

Result<MappedFile> MappedFile::Open(const std::string& native_path) {
  MappedFile file;
  const int fd = open(native_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    struct stat info;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
      const auto size = static_cast<std::size_t>(info.st_size);
      // Populated at once: one call maps every cached page instead of a fault
      // per few pages as the reader goes.
      void* map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
      if (map != MAP_FAILED) {
        file.m_map = map;
        file.m_size = size;
      }
    }
    close(fd);
    if (file.mapped()) return file;
  }
  // Whatever could not be mapped is read as ReadWholeFile reads it, which
  // also names the file and the cause when it cannot be read at all.
  Result<std::string> bytes = ReadWholeFile(native_path);
  if (!bytes) return bytes.status();
  file.m_copy = std::move(bytes).value();
  return file;
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : m_map(std::exchange(other.m_map, nullptr)),
      m_size(std::exchange(other.m_size, 0)),
      m_copy(std::move(other.m_copy)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    Unmap();
    m_map = std::exchange(other.m_map, nullptr);
    m_size = std::exchange(other.m_size, 0);
    m_copy = std::move(other.m_copy);
  }
  return *this;
}

MappedFile::~MappedFile() { Unmap(); }

void MappedFile::Unmap() {
  if (m_map != nullptr) munmap(m_map, m_size);
  m_map = nullptr;
  m_size = 0;
}

std::string_view MappedFile::bytes() const {
  return mapped() ? std::string_view(static_cast<const char*>(m_map), m_size)
                  : std::string_view(m_copy);
}

}  // namespace tallymere
