#include "platform/atomic_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace tallymere {
namespace {

constexpr int kTemporaryNameAttempts = 100;
constexpr std::size_t kReadChunk = 64 * 1024;

Status Failure(std::string_view action, const std::string& path, int error) {
  return Status::FromErrno(error,
                           std::string(action) + " \"" + path + "\": " + std::strerror(error));
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Follows a symbolic link so that the file, not the link, is replaced.
std::string ResolveTarget(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char* resolved = realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;
  std::string target(resolved);
  free(resolved);
  return target;
}

// A name no other writer uses: process id, a counter and the clock.
std::string TemporaryName(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  return folder + "." + name + ".tmp-" + std::to_string(getpid()) + "-" +
         std::to_string(counter.fetch_add(1)) + "-" + std::to_string(ticks % 1000000);
}

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

// Flushes a folder's entries so a completed rename survives a crash. Some file
// systems cannot flush folders; the file itself is already in place then.
void SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

Status WriteFileAtomically(const std::string& native_path, std::string_view bytes) {
  const std::string target = ResolveTarget(native_path);
  struct stat old_info;
  const bool had_old = stat(target.c_str(), &old_info) == 0;

  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < kTemporaryNameAttempts && fd < 0; ++attempt) {
    temporary = TemporaryName(target);
    fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return Failure("Cannot write", native_path, errno);

  int error = WriteAll(fd, bytes);
  if (error == 0 && had_old) {
    if (fchmod(fd, old_info.st_mode & 07777) != 0) error = errno;
    // Only a privileged writer can hand the file back to its owner; others
    // keep their own ownership, as any editor would.
    if (error == 0 && (old_info.st_uid != geteuid() || old_info.st_gid != getegid())) {
      [[maybe_unused]] const int ignored = fchown(fd, old_info.st_uid, old_info.st_gid);
    }
  }
  if (error == 0 && fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    unlink(temporary.c_str());
    return Failure("Cannot write", native_path, error);
  }
  SyncFolder(FolderOf(target));
  return Status::Ok();
}

Result<std::string> ReadWholeFile(const std::string& native_path) {
  const int fd = open(native_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Failure("Cannot read", native_path, errno);
  std::string content;
  struct stat info;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
    content.reserve(static_cast<std::size_t>(info.st_size) + kReadChunk);
  }
  // Files under /proc report no size, so read until the end whatever fstat says.
  std::size_t used = 0;
  for (;;) {
    content.resize(used + kReadChunk);
    const ssize_t got = read(fd, content.data() + used, kReadChunk);
    if (got < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      close(fd);
      return Failure("Cannot read", native_path, error);
    }
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
  }
  close(fd);
  content.resize(used);
  return content;
}

}  // namespace tallymere
