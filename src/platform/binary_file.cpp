#include "platform/binary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/read_file.h"

namespace tallymere {

BinaryFile::~BinaryFile() {
  if (m_fd >= 0) ::close(m_fd);
}

Status BinaryFile::Open(const std::string& native_path, OpenMode mode) {
  Close().IgnoreError();
  // Opening a pipe waits for a writer unless told not to; a regular file
  // reads and writes the same either way.
  const int flags =
      (mode == OpenMode::kRead ? O_RDONLY : O_RDWR) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  do {
    m_fd = ::open(native_path.c_str(), flags);
  } while (m_fd < 0 && errno == EINTR);
  if (m_fd < 0) return ErrorStatus(errno);
  struct stat facts;
  if (::fstat(m_fd, &facts) != 0) {
    const int error = errno;
    Close().IgnoreError();
    return ErrorStatus(error);
  }
  // A folder opens for reading but holds no bytes of a file; a device or a
  // pipe holds no file's bytes either, and may never end.
  if (!S_ISREG(facts.st_mode)) {
    Close().IgnoreError();
    return S_ISDIR(facts.st_mode) ? ErrorStatus(EISDIR) : NotAFileStatus(facts.st_mode);
  }
  return Status::Ok();
}

Status BinaryFile::OpenListedFile(int folder_fd, const std::string& name, struct stat* facts) {
  Close().IgnoreError();
  do {
    m_fd = ::openat(folder_fd, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  } while (m_fd < 0 && errno == EINTR);
  if (m_fd < 0) return ErrorStatus(errno);
  int error = 0;
  if (::fstat(m_fd, facts) != 0) {
    error = errno;
  } else if (!S_ISREG(facts->st_mode)) {
    Close().IgnoreError();
    return S_ISDIR(facts->st_mode) ? ErrorStatus(EISDIR) : NotAFileStatus(facts->st_mode);
  }
  if (error == 0) return Status::Ok();
  Close().IgnoreError();
  return ErrorStatus(error);
}

Result<int64_t> BinaryFile::Length() const {
  struct stat facts;
  if (::fstat(m_fd, &facts) != 0) return ErrorStatus(errno);
  return static_cast<int64_t>(facts.st_size);
}

Status BinaryFile::ReadAt(int64_t offset, std::size_t size, std::string* bytes) const {
  bytes->assign(size, '\0');
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = ::pread(m_fd, bytes->data() + done, size - done,
                                static_cast<off_t>(offset + static_cast<int64_t>(done)));
    if (got < 0) {
      if (errno == EINTR) continue;
      return ErrorStatus(errno);
    }
    if (got == 0) break;  // end of file
    done += static_cast<std::size_t>(got);
  }
  bytes->resize(done);
  return Status::Ok();
}

Status BinaryFile::WriteAt(int64_t offset, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::pwrite(m_fd, bytes.data() + done, bytes.size() - done,
                                 static_cast<off_t>(offset + static_cast<int64_t>(done)));
    if (put < 0) {
      if (errno == EINTR) continue;
      return ErrorStatus(errno);
    }
    done += static_cast<std::size_t>(put);
  }
  return Status::Ok();
}

Status BinaryFile::Close() {
  if (m_fd < 0) return Status::Ok();
  const int fd = m_fd;
  m_fd = -1;
  // After an interrupted close the descriptor is gone on Linux: never retry.
  if (::close(fd) == 0 || errno == EINTR) return Status::Ok();
  return ErrorStatus(errno);
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

Status ErrorStatus(int error_number) {
  return Status::FromErrno(error_number, ErrorText(error_number));
}

Status NotAFileStatus(mode_t mode) {
  std::string text = NotAFileCause(mode);
  text[0] = static_cast<char>(text[0] - 'a' + 'A');
  return Status::Error(StatusCode::kOther, std::move(text));
}

}  // namespace tallymere
