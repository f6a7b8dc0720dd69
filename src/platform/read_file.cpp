#include "platform/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tallymere {
namespace {

// Files that report no size are read in pieces of this much.
constexpr std::size_t kReadPiece = 64 * 1024;
constexpr std::size_t kMegabyte = 1024 * 1024;

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

Status Failure(const std::string& path, int error) {
  return Status::FromErrno(error, "Cannot read " + Quoted(path) + ": " + std::strerror(error));
}

Status Refusal(StatusCode code, const std::string& path, const std::string& cause) {
  return Status::Error(code, "Cannot read " + Quoted(path) + ": " + cause);
}

// Closes the file on every way out.
struct FileHandle {
  int fd;
  ~FileHandle() {
    if (fd >= 0) close(fd);
  }
};

bool SameFacts(const struct stat& a, const struct stat& b) {
  return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
         a.st_mtim.tv_nsec == b.st_mtim.tv_nsec && a.st_ino == b.st_ino;
}

}  // namespace

std::string NotAFileCause(mode_t mode) {
  if (S_ISDIR(mode)) return "it is a folder, not a file";
  if (S_ISFIFO(mode)) return "it is a pipe, not a file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a file";
  if (S_ISSOCK(mode)) return "it is a socket, not a file";
  return "it is not a regular file";
}

std::string LimitText(std::size_t max_bytes) {
  if (max_bytes >= kMegabyte) return std::to_string(max_bytes / kMegabyte) + " MB";
  return std::to_string(max_bytes) + " bytes";
}

Result<std::string> ReadWholeFile(const std::string& native_path, std::size_t max_bytes) {
  std::string content;
  if (Status read = ReadWholeFileInto(native_path, max_bytes, &content); !read) return read;
  return content;
}

Status ReadWholeFileInto(const std::string& native_path, std::size_t max_bytes,
                         std::string* bytes) {
  // Without O_NONBLOCK, opening a pipe waits for a writer that may never come.
  FileHandle file{open(native_path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
  if (file.fd < 0) return Failure(native_path, errno);
  struct stat before;
  if (fstat(file.fd, &before) != 0) return Failure(native_path, errno);
  if (!S_ISREG(before.st_mode)) {
    return Refusal(StatusCode::kNotAFile, native_path, NotAFileCause(before.st_mode));
  }
  const auto too_large = [&] {
    return Refusal(
        StatusCode::kTooLarge, native_path,
        "it is larger than " + LimitText(max_bytes) + ", more than a file of its kind ever holds");
  };
  const auto reported = static_cast<std::size_t>(before.st_size);
  if (reported > max_bytes) return too_large();

  // One byte more than the size asks, so a file that grows is noticed; files
  // under /proc report no size and are read piece by piece.
  std::string& content = *bytes;
  content.resize(reported > 0 ? reported + 1 : kReadPiece);
  std::size_t used = 0;
  for (;;) {
    if (used == content.size()) {
      if (used > max_bytes) return too_large();
      content.resize(used + kReadPiece);
    }
    const ssize_t got = read(file.fd, content.data() + used, content.size() - used);
    if (got < 0) {
      if (errno == EINTR) continue;
      return Failure(native_path, errno);
    }
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
  }
  if (used > max_bytes) return too_large();
  content.resize(used);

  // A file shortened, grown or rewritten while it was read gives bytes that
  // belong to no version of it.
  struct stat after;
  const bool changed = fstat(file.fd, &after) != 0 || !SameFacts(before, after) ||
                       (reported > 0 && used != reported);
  if (changed) {
    return Refusal(StatusCode::kChanged, native_path,
                   "the file changed while it was read; try again once nothing writes to it");
  }
  return Status::Ok();
}

}  // namespace tallymere
