#include "platform/trash.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <pwd.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tallymere {

namespace {

constexpr std::string_view kInfoSuffix = ".trashinfo";
constexpr mode_t kPrivateFolderMode = 0700;
constexpr mode_t kInfoFileMode = 0600;
// Bytes a file name may have (NAME_MAX) and room kept for ".NNNNNN" and the
// info suffix, so a long name still gets an info file.
constexpr size_t kNameMax = NAME_MAX;
constexpr size_t kCounterRoom = 7;
// Collisions are the only reason to try another name, and even they end here.
constexpr int kMaxNameAttempts = 100000;

std::string Quoted(std::string_view path) { return "\"" + std::string(path) + "\""; }

std::string ErrnoText(int error) { return strerror(error); }

// A failure of a step of the move. Another device means no trash can take the
// file (kUnsupported, so deleting is all that is left); a read-only medium
// refuses deleting as well.
Status StepFailure(int error, const std::string& message) {
  if (error == EXDEV) return Status::Error(StatusCode::kUnsupported, message);
  if (error == EROFS) {
    return Status::Error(
        StatusCode::kNoAccess,
        message + " The disk is read-only: nothing on it can be moved or deleted.");
  }
  return Status::FromErrno(error, message);
}

std::string Join(std::string_view folder, std::string_view name) {
  std::string joined(folder);
  if (joined.empty() || joined.back() != '/') joined += '/';
  joined += name;
  return joined;
}

std::string ParentOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// Makes one folder. An existing entry is accepted when it is a folder; a
// symbolic link to a folder only when follow_links allows it.
int EnsureFolder(const std::string& path, bool follow_links) {
  if (mkdir(path.c_str(), kPrivateFolderMode) == 0) return 0;
  if (errno != EEXIST) return errno;
  struct stat info;
  const int rc = follow_links ? stat(path.c_str(), &info) : lstat(path.c_str(), &info);
  if (rc != 0) return errno;
  return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
}

// mkdir -p for the home trash: missing folders are made private (0700), as
// the user's data folders should be. Returns 0 or an errno value.
int EnsureFolderChain(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) == 0) return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
  if (errno != ENOENT) return errno;
  const std::string parent = ParentOf(path);
  if (parent != path) {
    const int error = EnsureFolderChain(parent);
    if (error != 0) return error;
  }
  return EnsureFolder(path, true);
}

// The device of a path, or of its nearest existing ancestor.
std::optional<uint64_t> DeviceOfNearest(std::string path, const DeviceOf& device_of) {
  for (;;) {
    if (std::optional<uint64_t> device = device_of(path)) return device;
    if (path == "/" || path.empty()) return std::nullopt;
    path = ParentOf(path);
  }
}

// A real folder (not a link) owned by uid.
bool IsOwnFolder(const std::string& path, unsigned uid) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && !S_ISLNK(info.st_mode) &&
         info.st_uid == uid;
}

// Cuts a name to at most max_bytes without splitting a UTF-8 sequence.
std::string CutName(std::string_view name, size_t max_bytes) {
  if (name.size() <= max_bytes) return std::string(name);
  size_t end = max_bytes;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
  return std::string(name.substr(0, end));
}

std::string CandidateName(const std::string& base, int attempt) {
  return attempt == 1 ? base : base + "." + std::to_string(attempt);
}

Status WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return Status::Error(ErrnoText(errno));
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return Status::Ok();
}

// Moves from to a free destination; EEXIST when the destination was taken.
int RenameNoReplace(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // File systems without the no-replace flag: the destination was checked free
  // just before, which is the best a plain rename can do.
  struct stat info;
  if (lstat(to.c_str(), &info) == 0) return EEXIST;
  return rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

}  // namespace

Result<std::string> HomeTrashFolder() {
  const char* data_home = getenv("XDG_DATA_HOME");
  // Relative values are to be ignored, so the trash never lands below
  // whatever folder the program happens to run in.
  if (data_home != nullptr && data_home[0] == '/') {
    return WithoutTrailingSlashes(data_home) + "/Trash";
  }
  std::string home;
  const char* home_env = getenv("HOME");
  if (home_env != nullptr && home_env[0] == '/') {
    home = home_env;
  } else {
    struct passwd entry;
    struct passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/') {
      home = found->pw_dir;
    }
  }
  if (home.empty()) return Status::Error("No home folder is known for the trash.");
  return WithoutTrailingSlashes(home) + "/.local/share/Trash";
}

std::optional<uint64_t> DeviceOfPath(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  return static_cast<uint64_t>(info.st_dev);
}

Result<std::string> MountTopFolder(const std::string& absolute_folder, const DeviceOf& device_of) {
  const std::optional<uint64_t> device = device_of(absolute_folder);
  if (!device) {
    return Status::FromErrno(errno,
                             "Cannot read " + Quoted(absolute_folder) + ": " + ErrnoText(errno));
  }
  std::string current = WithoutTrailingSlashes(absolute_folder);
  while (current != "/") {
    const std::string parent = ParentOf(current);
    if (device_of(parent) != device) break;
    current = parent;
  }
  return current;
}

Result<std::string> MountTrashFolder(const std::string& topdir, unsigned uid) {
  const std::string uid_text = std::to_string(uid);
  // The shared .Trash is trusted only when it is a real folder with the sticky
  // bit, so other users cannot swap or remove our part of it.
  const std::string shared = Join(topdir, ".Trash");
  struct stat info;
  if (lstat(shared.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && (info.st_mode & S_ISVTX)) {
    const std::string own = Join(shared, uid_text);
    if (EnsureFolder(own, false) == 0 && IsOwnFolder(own, uid)) return own;
  }
  const std::string own = Join(topdir, ".Trash-" + uid_text);
  const int error = EnsureFolder(own, false);
  if (error != 0) {
    return Status::Error(StatusCode::kUnsupported,
                         "The disk at " + Quoted(topdir) + " has no usable trash: cannot make " +
                             Quoted(own) + " (" + ErrnoText(error) + ").");
  }
  if (!IsOwnFolder(own, uid)) {
    return Status::Error(StatusCode::kUnsupported, "The disk at " + Quoted(topdir) +
                                                       " has no usable trash: " + Quoted(own) +
                                                       " is not a folder of this user.");
  }
  return own;
}

std::string EncodeTrashPath(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(path.size());
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    const bool kept = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                      (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
                      byte == '~' || byte == '/';
    if (kept) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0x0F];
    }
  }
  return encoded;
}

std::string TrashInfoText(std::string_view encoded_path, std::time_t deleted) {
  struct tm local {};
  localtime_r(&deleted, &local);
  char date[32];
  strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
  std::string text = "[Trash Info]\nPath=";
  text += encoded_path;
  text += "\nDeletionDate=";
  text += date;
  text += '\n';
  return text;
}

Status MoveToTrashAt(const std::string& absolute_path, const TrashLocation& trash,
                     std::time_t deleted) {
  const std::string source = WithoutTrailingSlashes(absolute_path);
  const std::string cannot = "Cannot move " + Quoted(source) + " to the trash: ";
  const size_t slash = source.rfind('/');
  if (source.empty() || source[0] != '/' || slash == std::string::npos ||
      slash + 1 == source.size()) {
    return Status::Error(cannot + "not a full path to a file.");
  }

  // Where the entry will say it came from.
  std::string path_value = source;
  if (!trash.topdir.empty()) {
    const std::string top = WithoutTrailingSlashes(trash.topdir);
    const std::string prefix = top == "/" ? "/" : top + "/";
    if (source.compare(0, prefix.size(), prefix) != 0) {
      return Status::Error(cannot + "it is not below " + Quoted(top) + ".");
    }
    path_value = source.substr(prefix.size());
  }

  // The home trash may sit behind links the user made; a disk's trash may not.
  const bool home = trash.topdir.empty();
  const std::string files = Join(trash.folder, "files");
  const std::string info = Join(trash.folder, "info");
  const std::string folders[] = {trash.folder, files, info};
  for (const std::string& folder : folders) {
    const bool is_trash_folder = &folder == &folders[0];
    const int error =
        home && is_trash_folder ? EnsureFolderChain(folder) : EnsureFolder(folder, home);
    if (error != 0) {
      return StepFailure(error, cannot + "cannot make the folder " + Quoted(folder) + " (" +
                                    ErrnoText(error) + ").");
    }
  }

  const std::string contents = TrashInfoText(EncodeTrashPath(path_value), deleted);
  const std::string base =
      CutName(source.substr(slash + 1), kNameMax - kInfoSuffix.size() - kCounterRoom);
  for (int attempt = 1; attempt <= kMaxNameAttempts; ++attempt) {
    const std::string name = CandidateName(base, attempt);
    const std::string info_path = Join(info, name + std::string(kInfoSuffix));
    const int fd = open(info_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                        kInfoFileMode);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      const int error = errno;
      return StepFailure(
          error, cannot + "cannot write in " + Quoted(info) + " (" + ErrnoText(error) + ").");
    }
    Status written = WriteAll(fd, contents);
    if (close(fd) != 0 && written.ok()) written = Status::Error(ErrnoText(errno));
    if (!written.ok()) {
      unlink(info_path.c_str());
      return Status::Error(cannot + "cannot write " + Quoted(info_path) + " (" + written.message() +
                           ").");
    }
    const int error = RenameNoReplace(source, Join(files, name));
    if (error == 0) return Status::Ok();
    unlink(info_path.c_str());
    // A leftover entry in files/ without its info file: take the next name.
    if (error == EEXIST) continue;
    return StepFailure(error, cannot + ErrnoText(error) + ".");
  }
  return Status::Error(cannot + "every name for it is taken in " + Quoted(info) + ".");
}

Status MoveToTrash(const std::string& native_path, const DeviceOf& device_of) {
  if (native_path.empty()) return Status::Error("No file to move to the trash.");
  std::string absolute = native_path;
  if (absolute[0] != '/') {
    std::unique_ptr<char, decltype(&free)> cwd(getcwd(nullptr, 0), &free);
    if (!cwd) return Status::Error("Cannot find " + Quoted(native_path) + ".");
    absolute = Join(cwd.get(), native_path);
  }
  absolute = WithoutTrailingSlashes(absolute);
  const std::string cannot = "Cannot move " + Quoted(absolute) + " to the trash: ";
  const std::string name = absolute.substr(absolute.rfind('/') + 1);
  if (absolute == "/" || name == "." || name == "..") {
    return Status::Error(cannot + "not a file or folder name.");
  }

  // The entry's folder, with links resolved, names where the entry really is;
  // the entry itself is moved as it is, even when it is a link.
  std::unique_ptr<char, decltype(&free)> parent(realpath(ParentOf(absolute).c_str(), nullptr),
                                                &free);
  if (!parent) {
    const int error = errno;
    return Status::FromErrno(error, cannot + (error == ENOENT ? std::string("it does not exist.")
                                                              : ErrnoText(error) + "."));
  }
  const std::string source = Join(parent.get(), name);
  struct stat entry;
  if (lstat(source.c_str(), &entry) != 0) {
    const int error = errno;
    return Status::FromErrno(error, cannot + (error == ENOENT ? std::string("it does not exist.")
                                                              : ErrnoText(error) + "."));
  }
  const std::optional<uint64_t> folder_device = device_of(parent.get());
  if (!folder_device) return Status::FromErrno(errno, cannot + ErrnoText(errno) + ".");

  const std::time_t now = std::time(nullptr);
  Result<std::string> home = HomeTrashFolder();
  if (home.ok() && DeviceOfNearest(*home, device_of) == folder_device) {
    return MoveToTrashAt(source, TrashLocation{*home, ""}, now);
  }

  Result<std::string> topdir = MountTopFolder(parent.get(), device_of);
  if (!topdir.ok()) return Status::Error(topdir.code(), cannot + topdir.status().message());
  Result<std::string> disk_trash = MountTrashFolder(*topdir, getuid());
  if (!disk_trash.ok()) {
    return Status::Error(disk_trash.code(), cannot + disk_trash.status().message());
  }
  return MoveToTrashAt(source, TrashLocation{*disk_trash, *topdir}, now);
}

Status DeleteTree(const std::string& native_path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path target(native_path);
  if (fs::is_directory(fs::symlink_status(target, error))) {
    fs::remove_all(target, error);
  } else if (!fs::remove(target, error) && !error) {
    error = std::make_error_code(std::errc::no_such_file_or_directory);
  }
  if (!error) return Status::Ok();
  return Status::FromErrno(error.value(),
                           "Cannot delete " + Quoted(native_path) + ": " + error.message() + ".");
}

}  // namespace tallymere
