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

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The directory entries one getdents64 call may return. Most folders fit at
// once; the call after the last entries, which finds no more, is the price of
// every listing.
constexpr std::size_t kEntryBufferBytes = 64 * 1024;

// Closes the folder on every way out.
class FolderHandle {
 public:
  explicit FolderHandle(int fd) : m_fd(fd) {}
  ~FolderHandle() {
    if (m_fd >= 0) close(m_fd);
  }
  FolderHandle(const FolderHandle&) = delete;
  FolderHandle& operator=(const FolderHandle&) = delete;
  int get() const { return m_fd; }

 private:
  int m_fd;
};

bool IsFenced(const ListingFilter& filter, bool is_folder, std::string_view name) {
  if (filter.kernel_area) return !is_folder || name != filter.kernel_area_exception;
  if (!is_folder || filter.fenced_folders == nullptr) return false;
  return std::find(filter.fenced_folders->begin(), filter.fenced_folders->end(), name) !=
         filter.fenced_folders->end();
}

// One entry of the folder open as fd into *listing, when a catalog may hold it.
void TakeEntry(int fd, const char* name, unsigned char type, const ListingFilter& filter,
               bool with_file_facts, FolderListing* listing) {
  struct stat info {};
  const bool need_facts = with_file_facts && (type == DT_REG || type == DT_UNKNOWN);
  if (type == DT_UNKNOWN || need_facts) {
    // An entry that vanished or cannot be read is simply not listed.
    if (fstatat(fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) return;
    type = IFTODT(info.st_mode);
  }
  if (type != DT_REG && type != DT_DIR) return;  // links, devices, fifos, sockets

  const std::string_view name_view(name);
  if (IsFenced(filter, type == DT_DIR, name_view)) return;
  if (name_view.find('\\') != std::string_view::npos) {
    ++listing->skipped_names;
    return;
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

}  // namespace

int ListNativeFolder(const std::string& native_folder, const ListingFilter& filter,
                     bool with_file_facts, FolderListing* listing) {
  listing->entries.clear();
  listing->skipped_names = 0;
  // The entries are read with getdents64 itself: the C library's directory
  // stream would ask the kernel three more things of every folder first.
  FolderHandle folder(open(native_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() < 0) return errno;

  // Kept between listings: a scan lists thousands of folders.
  alignas(dirent64) static thread_local char buffer[kEntryBufferBytes];
  bool entered = false;
  for (;;) {
    const ssize_t filled = getdents64(folder.get(), buffer, sizeof buffer);
    if (filled < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (filled == 0) break;
    for (ssize_t pos = 0; pos < filled;) {
      const auto* entry = reinterpret_cast<const dirent64*>(buffer + pos);
      pos += entry->d_reclen;
      if (entry->d_name[0] == '.' && (!filter.with_hidden || IsDotOrDotDot(entry->d_name))) {
        continue;  // hidden, and "." and ".."
      }
      // A folder that may be read but not entered shows names whose files
      // cannot be reached: it counts as a folder that cannot be listed, so
      // its files are not lost in silence. Asked once, at its first name.
      if (!entered) {
        if (faccessat(folder.get(), ".", X_OK, AT_EACCESS) != 0) return errno;
        entered = true;
      }
      TakeEntry(folder.get(), entry->d_name, entry->d_type, filter, with_file_facts, listing);
    }
  }
  return 0;
}

}  // namespace tallymere
