#include "support/test_platform.h"

#include <filesystem>
#include <fstream>

namespace tallymere::testing {

TestPlatform::TestPlatform() : m_own_folder(std::make_unique<TempFolder>()) {
  m_own_folder->WriteFile("Data/drives.dat", "C: fixed /\n");
  m_platform = std::make_unique<LinuxPlatform>(m_own_folder->path());
  m_platform->SetConfigFolder(m_own_folder->Path("config"));
}

TestPlatform::TestPlatform(const std::string& program_folder) {
  std::filesystem::create_directories(program_folder + "/Data");
  std::ofstream(program_folder + "/Data/drives.dat") << "C: fixed /\n";
  m_platform = std::make_unique<LinuxPlatform>(program_folder);
  m_platform->SetConfigFolder(program_folder + "/config");
}

Result<std::string> ReadMp3File(const std::string& native_path, Mp3Info* info) {
  static const TestPlatform platform;
  return ReadMp3Info(platform, native_path, info);
}

}  // namespace tallymere::testing
