#include "platform/open_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace tallymere {
namespace {

void TakeFacts(const struct stat& info, FolderEntry* facts) {
  facts->size = static_cast<int64_t>(info.st_size);
  facts->modified = info.st_mtim.tv_sec;
  facts->read_only = (info.st_mode & S_IWUSR) == 0;
}

}  // namespace

OpenFolder::OpenFolder(const std::string& native_folder) : m_path_length(native_folder.size()) {
  do {
    m_fd = open(native_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  } while (m_fd < 0 && errno == EINTR);
}

OpenFolder::~OpenFolder() {
  if (m_fd >= 0) close(m_fd);
}

bool OpenFolder::ReadFacts(const std::string& name, FolderEntry* facts) const {
  struct stat info;
  if (m_fd < 0 || fstatat(m_fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
      !S_ISREG(info.st_mode)) {
    return false;
  }
  TakeFacts(info, facts);
  return true;
}

Result<std::unique_ptr<RandomAccessFile>> OpenFolder::Open(const std::string& name,
                                                           FolderEntry* facts) const {
  if (m_fd < 0) return ErrorStatus(EBADF);
  if (m_path_length + name.size() >= PATH_MAX) return ErrorStatus(ENAMETOOLONG);
  auto file = std::make_unique<BinaryFile>();
  struct stat info;
  if (Status opened = file->OpenListedFile(m_fd, name, &info); !opened) return opened;
  TakeFacts(info, facts);
  return std::unique_ptr<RandomAccessFile>(std::move(file));
}

}  // namespace tallymere
