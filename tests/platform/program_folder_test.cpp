#include "platform/program_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "support/temp_folder.h"

namespace tallymere {
namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : m_name(name) {
    if (const char* old = getenv(name)) m_old = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnvironment() {
    if (m_old) {
      setenv(m_name, m_old->c_str(), 1);
    } else {
      unsetenv(m_name);
    }
  }

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

TEST(ProgramFolderTest, WritableExecutableFolderElseDataHome) {
  testing::TempFolder folder;
  const std::string executable = folder.MakeFolder("portable");
  EXPECT_EQ(ProgramFolderFor(executable), executable);

  const ScopedEnvironment home("HOME", folder.Path("home"));
  {
    const ScopedEnvironment data("XDG_DATA_HOME", folder.Path("data/"));
    EXPECT_EQ(ProgramFolderFor("/usr/bin"), folder.Path("data/tallymere"));
    EXPECT_EQ(ProgramFolderFor(folder.Path("missing")), folder.Path("data/tallymere"));
  }
  // A relative XDG_DATA_HOME does not count; the default is made when missing.
  const ScopedEnvironment relative("XDG_DATA_HOME", "relative/data");
  const std::string expected = folder.Path("home/.local/share/tallymere");
  EXPECT_EQ(ProgramFolderFor("/usr/bin"), expected);
  struct stat info;
  ASSERT_EQ(stat(expected.c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
}

}  // namespace
}  // namespace tallymere
