#include "platform/binary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tallymere {

BinaryFile::~BinaryFile() {
  if (m_fd >= 0) ::close(m_fd);
}

int BinaryFile::Open(const std::string& native_path, Mode mode) {
  Close();
  const int flags = (mode == Mode::kRead ? O_RDONLY : O_RDWR) | O_CLOEXEC;
  do {
    m_fd = ::open(native_path.c_str(), flags);
  } while (m_fd < 0 && errno == EINTR);
  if (m_fd < 0) return errno;
  struct stat facts;
  if (::fstat(m_fd, &facts) != 0) return errno;
  // A folder opens for reading but holds no bytes of a file.
  if (S_ISDIR(facts.st_mode)) {
    Close();
    return EISDIR;
  }
  return 0;
}

int BinaryFile::Length(int64_t* length) const {
  struct stat facts;
  if (::fstat(m_fd, &facts) != 0) return errno;
  *length = static_cast<int64_t>(facts.st_size);
  return 0;
}

int BinaryFile::ReadAt(int64_t offset, std::size_t size, std::string* bytes) const {
  bytes->assign(size, '\0');
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = ::pread(m_fd, bytes->data() + done, size - done,
                                static_cast<off_t>(offset + static_cast<int64_t>(done)));
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (got == 0) break;  // end of file
    done += static_cast<std::size_t>(got);
  }
  bytes->resize(done);
  return 0;
}

int BinaryFile::WriteAt(int64_t offset, std::string_view bytes) const {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::pwrite(m_fd, bytes.data() + done, bytes.size() - done,
                                 static_cast<off_t>(offset + static_cast<int64_t>(done)));
    if (put < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<std::size_t>(put);
  }
  return 0;
}

int BinaryFile::Close() {
  if (m_fd < 0) return 0;
  const int fd = m_fd;
  m_fd = -1;
  // After an interrupted close the descriptor is gone on Linux: never retry.
  if (::close(fd) == 0 || errno == EINTR) return 0;
  return errno;
}

std::string ErrorText(int error_number) {
  switch (error_number) {
    case ENOENT:
      return "File not found";
    case ENOTDIR:
      return "Path not found";
    case EACCES:
    case EPERM:
      return "Permission denied";
    default:
      return std::strerror(error_number);
  }
}

bool IsAccessError(int error_number) {
  switch (error_number) {
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EBUSY:
    case EISDIR:
      return true;
    default:
      return false;
  }
}

}  // namespace tallymere
