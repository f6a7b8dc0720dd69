#pragma once
// Opening and closing the CD tray through the drive's ioctls.

#include <string>

#include "ports/platform.h"

namespace tallymere {

// Ejects or closes the tray of the drive device. Every error is ignored: a
// drive without a tray, without permission or busy simply does not move.
void MoveCdDoor(const std::string& device, CdDoorMove move);

}  // namespace tallymere
