#pragma once
// The Linux platform over a program folder of the test's, for tests that read
// and write files but need no particular drives: its Data/drives.dat maps C:
// to "/", so nothing of the machine's mount table or remembered letters is
// read or written; the user's settings are kept in its "config" folder.

#include <memory>
#include <string>

#include "mp3/bitrat.h"
#include "platform/linux_platform.h"
#include "support/temp_folder.h"

namespace tallymere::testing {

class TestPlatform {
 public:
  // Over a temporary program folder of its own.
  TestPlatform();
  // Over an existing folder, which gets the Data/drives.dat.
  explicit TestPlatform(const std::string& program_folder);

  LinuxPlatform& platform() { return *m_platform; }
  operator const Platform&() const { return *m_platform; }  // NOLINT: stands for the platform
  std::string program_folder() const { return m_platform->ProgramFolder(); }

 private:
  std::unique_ptr<TempFolder> m_own_folder;
  std::unique_ptr<LinuxPlatform> m_platform;
};

// ReadMp3Info of a native file, through a platform of its own, for tests and
// benchmarks that read files they laid out themselves.
Result<std::string> ReadMp3File(const std::string& native_path, Mp3Info* info);

}  // namespace tallymere::testing
