#include "platform/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <climits>
#include <cstring>
#include <ctime>

#include "platform/read_file.h"

namespace tallymere {
namespace {

constexpr int kTemporaryNameAttempts = 100;
// How many links a target may run through, as the kernel allows.
constexpr int kMaxLinkHops = 40;
constexpr std::string_view kTemporaryMark = ".tmp-";

Status Failure(const std::string& path, int error) {
  return Status::FromErrno(error, "Cannot write \"" + path + "\": " + std::strerror(error));
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a path stands for, following symbolic links even when the last one
// dangles, so that the file, not the link, is written. Relative link texts
// count from the link's folder.
Result<std::string> ResolveTarget(const std::string& path) {
  std::string target = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat info;
    if (lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return target;
    char text[PATH_MAX];
    const ssize_t length = readlink(target.c_str(), text, sizeof text - 1);
    if (length < 0) return Failure(path, errno);
    const std::string link(text, static_cast<std::size_t>(length));
    target = link.starts_with('/') ? link : FolderOf(target) + "/" + link;
  }
  return Failure(path, ELOOP);
}

// A name no other writer uses: process id, a counter and the clock.
std::string TemporaryName(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  return folder + "." + name + std::string(kTemporaryMark) + std::to_string(getpid()) + "-" +
         std::to_string(counter.fetch_add(1)) + "-" + std::to_string(ticks % 1000000);
}

// The process id of a temporary name of ours (".NAME.tmp-PID-N-T"), else 0.
pid_t TemporaryNameWriter(std::string_view name) {
  if (!name.starts_with('.')) return 0;
  const std::size_t mark = name.rfind(kTemporaryMark);
  if (mark == std::string_view::npos || mark < 2) return 0;
  std::string_view rest = name.substr(mark + kTemporaryMark.size());
  long numbers[3] = {0, 0, 0};
  for (long& number : numbers) {
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), number);
    if (error != std::errc() || end == rest.data()) return 0;
    rest.remove_prefix(static_cast<std::size_t>(end - rest.data()));
    if (&number != &numbers[2]) {
      if (!rest.starts_with('-')) return 0;
      rest.remove_prefix(1);
    }
  }
  return rest.empty() && numbers[0] > 0 ? static_cast<pid_t>(numbers[0]) : 0;
}

// When this program started; a temporary file older than that whose writer
// is gone was left by a killed write.
const std::time_t kProgramStart = std::time(nullptr);

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

// Writes the bytes into the open file with the old file's permissions and
// owner, flushed to disk; 0 or the errno of the first failure.
int FillFile(int fd, std::string_view bytes, const struct stat* old_info) {
  int error = WriteAll(fd, bytes);
  if (error == 0 && old_info != nullptr) {
    if (fchmod(fd, old_info->st_mode & 07777) != 0) error = errno;
    // Only a privileged writer can hand the file back to its owner; others
    // keep their own ownership, as any editor would.
    if (error == 0 && (old_info->st_uid != geteuid() || old_info->st_gid != getegid())) {
      [[maybe_unused]] const int ignored = fchown(fd, old_info->st_uid, old_info->st_gid);
    }
  }
  if (error == 0 && fsync(fd) != 0) error = errno;
  return error;
}

// The nameless way: the file exists under a name only from the link to the
// rename, two calls apart. Returns 0, an errno, or -1 when this file system
// cannot make nameless files (the caller then uses a named one).
int WriteNameless(const std::string& target, std::string_view bytes, const struct stat* old_info) {
  const int fd = open(FolderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) {
    return errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL || errno == ENOENT ? -1
                                                                                        : errno;
  }
  int error = FillFile(fd, bytes, old_info);
  std::string temporary;
  if (error == 0) {
    // Linking a descriptor by its /proc name needs no privilege.
    const std::string descriptor = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
      temporary = TemporaryName(target);
      if (linkat(AT_FDCWD, descriptor.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) ==
          0) {
        break;
      }
      temporary.clear();
      if (errno != EEXIST) break;
    }
    // No /proc, or links refused: the named way still works.
    if (temporary.empty()) error = -1;
  }
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0 && !temporary.empty()) unlink(temporary.c_str());
  return error;
}

int WriteNamed(const std::string& target, std::string_view bytes, const struct stat* old_info) {
  RemoveStaleTemporaryFiles(FolderOf(target));
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < kTemporaryNameAttempts && fd < 0; ++attempt) {
    temporary = TemporaryName(target);
    fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return errno;
  int error = FillFile(fd, bytes, old_info);
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) unlink(temporary.c_str());
  return error;
}

}  // namespace

void RemoveStaleTemporaryFiles(const std::string& folder) {
  DIR* listing = opendir(folder.c_str());
  if (listing == nullptr) return;
  while (const dirent* entry = readdir(listing)) {
    const pid_t writer = TemporaryNameWriter(entry->d_name);
    if (writer == 0) continue;
    // A writer that still runs may be writing it now.
    if (writer == getpid() || kill(writer, 0) == 0 || errno == EPERM) continue;
    struct stat info;
    if (fstatat(dirfd(listing), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode) || info.st_mtim.tv_sec >= kProgramStart) {
      continue;
    }
    unlinkat(dirfd(listing), entry->d_name, 0);
  }
  closedir(listing);
}

Status WriteFileAtomically(const std::string& native_path, std::string_view bytes) {
  const Result<std::string> target = ResolveTarget(native_path);
  if (!target) return target.status();
  struct stat old_info;
  const bool had_old = stat(target->c_str(), &old_info) == 0;
  // Renaming over a device or a pipe would put a file in its place.
  if (had_old && !S_ISREG(old_info.st_mode)) {
    return Status::Error(StatusCode::kOther, "Cannot write \"" + native_path +
                                                 "\": " + NotAFileCause(old_info.st_mode));
  }
  const struct stat* old = had_old ? &old_info : nullptr;
  int error = WriteNameless(*target, bytes, old);
  if (error < 0) error = WriteNamed(*target, bytes, old);
  if (error != 0) return Failure(native_path, error);
  SyncFolder(FolderOf(*target));
  return Status::Ok();
}

}  // namespace tallymere
