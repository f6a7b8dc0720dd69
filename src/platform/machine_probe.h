#pragma once
// What the drive map asks of the machine, behind one small interface so tests
// can describe a machine in text instead of depending on the real one.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tallymere {

class MachineProbe {
 public:
  virtual ~MachineProbe() = default;

  // The text of /proc/self/mountinfo; "" when it cannot be read.
  virtual std::string MountInfoText() const = 0;
  // True once after each change of the mount table (a stick plugged in, a disc
  // mounted), possibly a few milliseconds after it. Cheap: it reads nothing.
  virtual bool MountsChanged() = 0;
  // The optical drives' devices ("/dev/sr0"), sorted.
  virtual std::vector<std::string> OpticalDevices() const = 0;
  // True when the source device's whole disk is marked removable or sits on USB.
  virtual bool IsRemovableDevice(std::string_view source) const = 0;
  // The file system label of a source device from /dev/disk/by-label, or "".
  virtual std::string FileSystemLabel(std::string_view source) const = 0;
  // The volume identifier of the ISO 9660 file system on a device, or "".
  virtual std::string IsoVolumeIdentifier(std::string_view device) const = 0;
};

// The real machine: /proc, /sys and /dev.
std::unique_ptr<MachineProbe> MakeLinuxMachineProbe();

}  // namespace tallymere
