#include "platform/program_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform_fixture.h"

namespace tallymere {
namespace {

using testing::ScopedEnv;

TEST(ProgramFolderTest, WritableExecutableFolderElseDataHome) {
  testing::TempFolder folder;
  const std::string executable = folder.MakeFolder("portable");
  EXPECT_EQ(ProgramFolderFor(executable), executable);

  const ScopedEnv home("HOME", folder.Path("home"));
  {
    const ScopedEnv data("XDG_DATA_HOME", folder.Path("data/"));
    EXPECT_EQ(ProgramFolderFor("/usr/bin"), folder.Path("data/tallymere"));
    EXPECT_EQ(ProgramFolderFor(folder.Path("missing")), folder.Path("data/tallymere"));
  }
  // A relative XDG_DATA_HOME does not count; the default is made when missing.
  const ScopedEnv relative("XDG_DATA_HOME", "relative/data");
  const std::string expected = folder.Path("home/.local/share/tallymere");
  EXPECT_EQ(ProgramFolderFor("/usr/bin"), expected);
  EXPECT_TRUE(std::filesystem::is_directory(expected));
}

}  // namespace
}  // namespace tallymere
