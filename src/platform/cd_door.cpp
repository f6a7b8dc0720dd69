#include "platform/cd_door.h"

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <climits>  // <linux/cdrom.h> uses INT_MAX without including it

namespace tallymere {

void MoveCdDoor(const std::string& device, CdDoorMove move) {
  const int fd = open(device.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  // A door locked by a mounted disc's user would refuse to move.
  ioctl(fd, CDROM_LOCKDOOR, 0);
  ioctl(fd, move == CdDoorMove::kOpen ? CDROMEJECT : CDROMCLOSETRAY, 0);
  close(fd);
}

}  // namespace tallymere
