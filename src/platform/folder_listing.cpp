#include "platform/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tallymere {
namespace {

// Closes the folder on every way out.
class FolderHandle {
 public:
  explicit FolderHandle(DIR* dir) : m_dir(dir) {}
  ~FolderHandle() {
    if (m_dir != nullptr) closedir(m_dir);
  }
  FolderHandle(const FolderHandle&) = delete;
  FolderHandle& operator=(const FolderHandle&) = delete;
  DIR* get() const { return m_dir; }

 private:
  DIR* m_dir;
};

bool IsFenced(const ListingFilter& filter, bool is_folder, std::string_view name) {
  if (filter.kernel_area) return !is_folder || name != filter.kernel_area_exception;
  if (!is_folder || filter.fenced_folders == nullptr) return false;
  return std::find(filter.fenced_folders->begin(), filter.fenced_folders->end(), name) !=
         filter.fenced_folders->end();
}

}  // namespace

int ListNativeFolder(const std::string& native_folder, const ListingFilter& filter,
                     bool with_file_facts, FolderListing* listing) {
  listing->entries.clear();
  listing->skipped_names = 0;
  const int fd = open(native_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  FolderHandle folder(fdopendir(fd));
  if (folder.get() == nullptr) {
    const int error = errno;
    close(fd);
    return error;
  }

  struct stat info {};
  for (;;) {
    errno = 0;
    const dirent* entry = readdir(folder.get());
    if (entry == nullptr) {
      if (errno != 0) return errno;
      break;
    }
    const char* name = entry->d_name;
    if (name[0] == '.') continue;  // hidden, and "." and ".."

    unsigned char type = entry->d_type;
    const bool need_facts = with_file_facts && (type == DT_REG || type == DT_UNKNOWN);
    if (type == DT_UNKNOWN || need_facts) {
      // An entry that vanished or cannot be read is simply not listed.
      if (fstatat(fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
      type = IFTODT(info.st_mode);
    }
    if (type != DT_REG && type != DT_DIR) continue;  // links, devices, fifos, sockets

    const std::string_view name_view(name);
    if (IsFenced(filter, type == DT_DIR, name_view)) continue;
    if (name_view.find('\\') != std::string_view::npos) {
      ++listing->skipped_names;
      continue;
    }

    FolderEntry& out = listing->entries.emplace_back();
    out.name.assign(name_view);
    out.is_folder = type == DT_DIR;
    if (!out.is_folder && with_file_facts) {
      out.size = static_cast<int64_t>(info.st_size);
      out.modified = info.st_mtim.tv_sec;
      out.read_only = (info.st_mode & S_IWUSR) == 0;
    }
  }
  return 0;
}

}  // namespace tallymere
