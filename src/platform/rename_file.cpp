#include "platform/rename_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tallymere {
namespace {

bool Exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

// renameat2 with RENAME_NOREPLACE where the file system has it; else a hard
// link and an unlink (the link fails on a taken name); else, for file systems
// without hard links, a check followed by a plain rename.
int RenameNoReplace(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return errno;

  if (link(from.c_str(), to.c_str()) == 0) {
    if (unlink(from.c_str()) == 0) return 0;
    const int error = errno;
    unlink(to.c_str());
    return error;
  }
  if (errno == EEXIST) return EEXIST;
  if (Exists(to)) return EEXIST;
  return rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

std::string TemporaryNameBeside(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  return folder + ".tallymere-rename-" + std::to_string(getpid());
}

}  // namespace

int RenameWithoutReplacing(const std::string& from, const std::string& to) {
  if (from == to) return Exists(from) ? 0 : ENOENT;
  struct stat from_info;
  struct stat to_info;
  const bool same_file = lstat(from.c_str(), &from_info) == 0 && lstat(to.c_str(), &to_info) == 0 &&
                         from_info.st_dev == to_info.st_dev && from_info.st_ino == to_info.st_ino;
  if (!same_file) return RenameNoReplace(from, to);

  // Either one file under a name whose case changes (a file system that
  // ignores case) or two hard links. Moving the file aside first tells them
  // apart: only in the first case is the new name free afterwards.
  const std::string aside = TemporaryNameBeside(from);
  if (const int error = RenameNoReplace(from, aside); error != 0) return error;
  const int error = RenameNoReplace(aside, to);
  if (error != 0) rename(aside.c_str(), from.c_str());
  return error;
}

}  // namespace tallymere
