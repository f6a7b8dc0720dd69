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
  // True when the source device is a floppy disk (LooksLikeFloppy).
  virtual bool IsFloppyDevice(std::string_view source) const = 0;
  // The file system label of a source device from /dev/disk/by-label, or "".
  virtual std::string FileSystemLabel(std::string_view source) const = 0;
  // The volume identifier of the ISO 9660 file system on a device, or "".
  virtual std::string IsoVolumeIdentifier(std::string_view device) const = 0;
};

// A whole disk is a floppy when the kernel names it a floppy drive ("fd0") or
// it holds at most 2.88 MB, the largest floppy there is (a USB floppy drive
// shows as "sdb" of 1.44 MB). size_text is its sysfs "size", in 512-byte
// sectors; an empty or unreadable size (no disk) says nothing.
bool LooksLikeFloppy(std::string_view disk_name, std::string_view size_text);

// The real machine: /proc, /sys and /dev.
std::unique_ptr<MachineProbe> MakeLinuxMachineProbe();

}  // namespace tallymere
