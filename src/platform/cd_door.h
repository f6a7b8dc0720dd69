#pragma once
// Opening and closing the CD tray through the drive's ioctls.

#include <string>
#include <string_view>

namespace tallymere {

inline constexpr std::string_view kCdDoorOpenCommand = "set cd door open";
inline constexpr std::string_view kCdDoorClosedCommand = "set cd door closed";

// "set cd door open" ejects, "set cd door closed" closes the tray (either
// case); any other command text does nothing. Every error is ignored: a drive
// without a tray, without permission or busy simply does not move.
void SendCdDoorCommand(const std::string& device, std::string_view command);

}  // namespace tallymere
