#pragma once
// Helpers for the platform tests: a described machine, a program folder with
// its own Data/drives.dat, and environment variables set for one test.

#include <stdlib.h>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/linux_platform.h"
#include "platform/machine_probe.h"
#include "support/temp_folder.h"

namespace tallymere::testing {

// A machine given as text: its mount table, optical drives, which devices are
// removable (and of those, floppies) and which carry labels.
struct FakeMachine {
  std::string mount_info;
  std::vector<std::string> optical_devices;
  std::set<std::string> removable_sources;
  std::set<std::string> floppy_sources;
  std::map<std::string, std::string> labels;      // source -> by-label name
  std::map<std::string, std::string> iso_labels;  // device -> volume identifier
  bool mounts_changed = false;
};

class FakeProbe : public MachineProbe {
 public:
  explicit FakeProbe(std::shared_ptr<FakeMachine> machine) : m_machine(std::move(machine)) {}
  std::string MountInfoText() const override { return m_machine->mount_info; }
  bool MountsChanged() override { return std::exchange(m_machine->mounts_changed, false); }
  std::vector<std::string> OpticalDevices() const override { return m_machine->optical_devices; }
  bool IsRemovableDevice(std::string_view source) const override {
    return m_machine->removable_sources.count(std::string(source)) != 0;
  }
  bool IsFloppyDevice(std::string_view source) const override {
    return m_machine->floppy_sources.count(std::string(source)) != 0;
  }
  std::string FileSystemLabel(std::string_view source) const override {
    const auto it = m_machine->labels.find(std::string(source));
    return it == m_machine->labels.end() ? "" : it->second;
  }
  std::string IsoVolumeIdentifier(std::string_view device) const override {
    const auto it = m_machine->iso_labels.find(std::string(device));
    return it == m_machine->iso_labels.end() ? "" : it->second;
  }

 private:
  std::shared_ptr<FakeMachine> m_machine;
};

// One mountinfo line for a mount point (already escaped), type and source.
inline std::string MountLine(const std::string& mount_point, const std::string& type,
                             const std::string& source) {
  return "29 1 8:1 / " + mount_point + " rw,relatime shared:1 - " + type + " " + source + " rw\n";
}

// A LinuxPlatform over a temporary program folder whose Data/drives.dat holds
// the given lines; "%ROOT%" in them stands for the temporary folder.
class DrivesFixture {
 public:
  explicit DrivesFixture(const std::string& drives_lines) {
    std::string text = drives_lines;
    for (std::size_t pos; (pos = text.find("%ROOT%")) != std::string::npos;) {
      text.replace(pos, 6, m_folder.path());
    }
    m_folder.WriteFile("program/Data/drives.dat", text);
    m_platform = std::make_unique<LinuxPlatform>(m_folder.Path("program"), [] { return 1000; });
  }
  const TempFolder& folder() const { return m_folder; }
  LinuxPlatform& platform() { return *m_platform; }

 private:
  TempFolder m_folder;
  std::unique_ptr<LinuxPlatform> m_platform;
};

// Sets (or with nullopt clears) an environment variable and puts it back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : m_name(name) {
    if (const char* old = getenv(name)) m_old = old;
    value ? setenv(name, value->c_str(), 1) : unsetenv(name);
  }
  ~ScopedEnv() { m_old ? setenv(m_name, m_old->c_str(), 1) : unsetenv(m_name); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

}  // namespace tallymere::testing
