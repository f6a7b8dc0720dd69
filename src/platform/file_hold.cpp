#include "platform/file_hold.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tallymere {
namespace {

// Closing the descriptor ends the lock; a hold of nothing has none.
class LockedFile final : public FileHold {
 public:
  explicit LockedFile(int fd) : m_fd(fd) {}
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;
  ~LockedFile() override {
    if (m_fd >= 0) close(m_fd);
  }

 private:
  int m_fd;
};

Result<std::unique_ptr<FileHold>> Hold(int fd) {
  return std::unique_ptr<FileHold>(std::make_unique<LockedFile>(fd));
}

// Whether the open file is still the one the path names.
bool StillNamed(int fd, const std::string& path) {
  struct stat held;
  struct stat named;
  return fstat(fd, &held) == 0 && stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
         held.st_ino == named.st_ino;
}

// 0 once this program holds the lock, else the errno. A signal that the
// program survives only interrupts the wait.
int WaitForLock(int fd) {
  while (flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) return errno;
  }
  return 0;
}

}  // namespace

Result<std::unique_ptr<FileHold>> HoldFileExclusively(const std::string& native_path,
                                                      const std::function<bool()>& on_busy) {
  std::optional<bool> waits;  // asked once, however often the file is replaced
  for (;;) {
    // Without waiting: the open of a pipe would wait for a writer.
    const int fd = open(native_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Hold(-1);
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      close(fd);
      return Hold(-1);
    }
    int error = flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
    if (error == EWOULDBLOCK) {
      if (!waits) waits = on_busy();
      if (!*waits) {
        close(fd);
        return Status::Error(StatusCode::kNoAccess,
                             "\"" + native_path + "\" is being changed by another program.");
      }
      error = WaitForLock(fd);
    }
    // A file system without locks: the hold is of nothing.
    if (error != 0) {
      close(fd);
      return Hold(-1);
    }
    if (StillNamed(fd, native_path)) return Hold(fd);
    // The holder before us saved a new file in its place: hold that one.
    close(fd);
  }
}

std::optional<FileVersion> NativeFileVersion(const std::string& native_path) {
  struct stat info;
  if (stat(native_path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  FileVersion version;
  version.device = static_cast<uint64_t>(info.st_dev);
  version.inode = static_cast<uint64_t>(info.st_ino);
  version.size = static_cast<int64_t>(info.st_size);
  version.modified_ns = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 +
                        static_cast<int64_t>(info.st_mtim.tv_nsec);
  return version;
}

}  // namespace tallymere
