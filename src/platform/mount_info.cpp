#include "platform/mount_info.h"

#include <algorithm>
#include <array>

namespace tallymere {
namespace {

// Field positions before the optional fields of a mountinfo line.
constexpr std::size_t kMountPointField = 4;
constexpr std::size_t kFixedFieldCount = 6;  // id parent dev root mount-point options

constexpr std::array<std::string_view, 34> kPseudoTypes = {
    "autofs",
    "binfmt_misc",
    "bpf",
    "cgroup",
    "cgroup2",
    "configfs",
    "debugfs",
    "devpts",
    "devtmpfs",
    "efivarfs",
    "fusectl",
    "hugetlbfs",
    "mqueue",
    "nsfs",
    "overlay",
    "pipefs",
    "proc",
    "pstore",
    "ramfs",
    "rpc_pipefs",
    "securityfs",
    "selinuxfs",
    "sockfs",
    "squashfs",
    "sysfs",
    "tmpfs",
    "tracefs",
    "nfsd",
    "fuse.gvfsd-fuse",
    "fuse.portal",
    "fuse.lxcfs",
    "fuse.snapfuse",
    "fuse.xdg-document-portal",
    "zonefs",
};

constexpr std::array<std::string_view, 16> kRemoteTypes = {
    "nfs",         "nfs4",        "cifs",           "smb3",      "smbfs", "ncpfs",
    "9p",          "afs",         "ceph",           "glusterfs", "davfs", "fuse.sshfs",
    "fuse.rclone", "fuse.davfs2", "fuse.glusterfs", "fuse.s3fs",
};

bool IsOctalDigit(char c) { return c >= '0' && c <= '7'; }

// Splits on spaces; mountinfo never has empty fields.
std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t pos = 0;
  while (pos < line.size()) {
    const std::size_t start = line.find_first_not_of(' ', pos);
    if (start == std::string_view::npos) break;
    std::size_t end = line.find(' ', start);
    if (end == std::string_view::npos) end = line.size();
    fields.push_back(line.substr(start, end - start));
    pos = end;
  }
  return fields;
}

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& list, std::string_view value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

}  // namespace

std::string DecodeOctalEscapes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && IsOctalDigit(text[i + 1]) &&
        IsOctalDigit(text[i + 2]) && IsOctalDigit(text[i + 3])) {
      const int value = (text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 + (text[i + 3] - '0');
      if (value <= 0xFF) {
        out.push_back(static_cast<char>(value));
        i += 3;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

std::string EncodeOctalEscapes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case ' ':
        out += "\\040";
        break;
      case '\t':
        out += "\\011";
        break;
      case '\n':
        out += "\\012";
        break;
      case '\\':
        out += "\\134";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
  std::vector<MountEntry> mounts;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::vector<std::string_view> fields = SplitFields(text.substr(pos, end - pos));
    pos = end + 1;

    if (fields.size() < kFixedFieldCount) continue;
    const auto separator = std::find(fields.begin() + kFixedFieldCount, fields.end(), "-");
    // The type and the source follow the separator.
    if (separator == fields.end() || fields.end() - separator < 3) continue;
    MountEntry entry;
    entry.mount_point = DecodeOctalEscapes(fields[kMountPointField]);
    entry.fs_type = DecodeOctalEscapes(separator[1]);
    entry.source = DecodeOctalEscapes(separator[2]);
    if (entry.mount_point.empty() || entry.mount_point[0] != '/') continue;

    // A later mount on the same point hides the earlier one.
    std::erase_if(mounts, [&](const MountEntry& m) { return m.mount_point == entry.mount_point; });
    mounts.push_back(std::move(entry));
  }
  return mounts;
}

bool IsPseudoFileSystem(std::string_view fs_type) { return Contains(kPseudoTypes, fs_type); }

bool IsRemoteFileSystem(std::string_view fs_type) { return Contains(kRemoteTypes, fs_type); }

bool IsDiscFileSystem(std::string_view fs_type) { return fs_type == "iso9660" || fs_type == "udf"; }

}  // namespace tallymere
