#include "platform/cd_door.h"

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <climits>  // <linux/cdrom.h> uses INT_MAX without including it

namespace tallymere {
namespace {

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

void SendCdDoorCommand(const std::string& device, std::string_view command) {
  const bool open_door = SameTextIgnoringCase(command, kCdDoorOpenCommand);
  const bool close_door = SameTextIgnoringCase(command, kCdDoorClosedCommand);
  if (!open_door && !close_door) return;
  const int fd = open(device.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  // A door locked by a mounted disc's user would refuse to move.
  ioctl(fd, CDROM_LOCKDOOR, 0);
  ioctl(fd, open_door ? CDROMEJECT : CDROMCLOSETRAY, 0);
  close(fd);
}

}  // namespace tallymere
