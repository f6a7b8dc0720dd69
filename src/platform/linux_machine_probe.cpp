// The machine probe over /proc/self/mountinfo, /sys/class/block and
// /dev/disk/by-label.

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <string>

#include "platform/machine_probe.h"
#include "platform/read_file.h"
#include "platform/volume_label.h"
#include "ports/platform.h"

namespace tallymere {
namespace {

constexpr const char* kMountInfoPath = "/proc/self/mountinfo";
// A machine with thousands of mounts has a table of a megabyte or two.
constexpr std::size_t kMountTableLimit = std::size_t{64} << 20;
constexpr std::string_view kSysBlock = "/sys/class/block/";
constexpr std::string_view kByLabel = "/dev/disk/by-label/";
constexpr std::string_view kDevPrefix = "/dev/";
constexpr int64_t kMountCheckIntervalMs = 10;

std::string RealPath(const std::string& path) {
  char* resolved = realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return "";
  std::string result(resolved);
  free(resolved);
  return result;
}

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = readdir(dir)) {
    if (entry->d_name[0] != '.') names.emplace_back(entry->d_name);
  }
  closedir(dir);
  return names;
}

bool PathExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

// The sysfs folder of the whole disk a source device ("/dev/sdb1") is on, or
// empty when it has none.
std::string WholeDiskNode(std::string_view source) {
  if (!source.starts_with(kDevPrefix)) return "";
  const std::string device = RealPath(std::string(source));
  if (device.empty()) return "";
  const std::string name = device.substr(device.rfind('/') + 1);
  std::string node = RealPath(std::string(kSysBlock) + name);
  if (node.empty()) return "";
  // A partition's folder sits inside its whole disk's folder.
  if (PathExists(node + "/partition")) node.erase(node.rfind('/'));
  return node;
}

class LinuxMachineProbe : public MachineProbe {
 public:
  // Opened before the first reading of the table, so no change is missed.
  LinuxMachineProbe() : m_mount_watch(open(kMountInfoPath, O_RDONLY | O_CLOEXEC)) {}
  ~LinuxMachineProbe() override {
    if (m_mount_watch >= 0) close(m_mount_watch);
  }
  LinuxMachineProbe(const LinuxMachineProbe&) = delete;
  LinuxMachineProbe& operator=(const LinuxMachineProbe&) = delete;

  std::string MountInfoText() const override {
    Result<std::string> text = ReadWholeFile(kMountInfoPath, kMountTableLimit);
    return text.ok() ? std::move(text).value() : std::string();
  }

  bool MountsChanged() override {
    if (m_mount_watch < 0) return false;
    // A scan asks before every folder it lists; asking the kernel at most
    // every few milliseconds loses nothing, as its flag stays up until asked.
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    const int64_t now_ms = int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1000000;
    if (m_last_check_ms >= 0 && now_ms - m_last_check_ms < kMountCheckIntervalMs) return false;
    m_last_check_ms = now_ms;
    // The kernel flags the mount table file with POLLPRI|POLLERR once per change.
    pollfd watch{m_mount_watch, POLLPRI, 0};
    return poll(&watch, 1, 0) > 0 && (watch.revents & (POLLPRI | POLLERR)) != 0;
  }

  std::vector<std::string> OpticalDevices() const override {
    std::vector<std::string> devices;
    for (const std::string& name : FolderNames(std::string(kSysBlock))) {
      if (name.starts_with("sr")) devices.push_back(std::string(kDevPrefix) + name);
    }
    std::sort(devices.begin(), devices.end());
    return devices;
  }

  bool IsRemovableDevice(std::string_view source) const override {
    const std::string node = WholeDiskNode(source);
    if (node.empty()) return false;
    const Result<std::string> removable = ReadWholeFile(node + "/removable", kSmallTextFileLimit);
    if (removable.ok() && removable->starts_with("1")) return true;
    return node.find("/usb") != std::string::npos;
  }

  bool IsFloppyDevice(std::string_view source) const override {
    const std::string node = WholeDiskNode(source);
    if (node.empty()) return false;
    const Result<std::string> size = ReadWholeFile(node + "/size", kSmallTextFileLimit);
    return LooksLikeFloppy(node.substr(node.rfind('/') + 1), size.ok() ? *size : "");
  }

  std::string FileSystemLabel(std::string_view source) const override {
    if (!source.starts_with(kDevPrefix)) return "";
    const std::string device = RealPath(std::string(source));
    if (device.empty()) return "";
    const std::string folder(kByLabel);
    for (const std::string& name : FolderNames(folder)) {
      if (RealPath(folder + name) == device) return DecodeByLabelName(name);
    }
    return "";
  }

  std::string IsoVolumeIdentifier(std::string_view device) const override {
    const int fd = open(std::string(device).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return "";
    std::string descriptor(kIsoDescriptorPrefixSize, '\0');
    const ssize_t got = pread(fd, descriptor.data(), descriptor.size(), kIsoDescriptorOffset);
    close(fd);
    if (got != static_cast<ssize_t>(descriptor.size())) return "";
    return ParseIsoVolumeIdentifier(descriptor);
  }

 private:
  int m_mount_watch;
  int64_t m_last_check_ms = -1;
};

}  // namespace

bool LooksLikeFloppy(std::string_view disk_name, std::string_view size_text) {
  if (disk_name.starts_with("fd")) return true;
  // 2.88 MB: 80 tracks, 2 sides, 36 sectors.
  constexpr int64_t kLargestFloppySectors = 5760;
  int64_t sectors = 0;
  std::size_t digits = 0;
  for (; digits < size_text.size() && size_text[digits] >= '0' && size_text[digits] <= '9';
       ++digits) {
    if (sectors > kLargestFloppySectors) break;
    sectors = sectors * 10 + (size_text[digits] - '0');
  }
  return digits > 0 && sectors > 0 && sectors <= kLargestFloppySectors;
}

std::unique_ptr<MachineProbe> MakeLinuxMachineProbe() {
  return std::make_unique<LinuxMachineProbe>();
}

}  // namespace tallymere
