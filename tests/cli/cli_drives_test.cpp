// tallymere-cli drives over this machine's mounts, with letters remembered
// in a test's own program folder.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/cli_runner.h"

namespace tallymere {
namespace {

using testing::CliRun;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using testing::RunCli;
using ::testing::StartsWith;
using testing::TempFolder;

// Folders no machine running the tests mounts anything on.
constexpr const char* kStickKey = "/media/tallymere-test-absent-stick";
constexpr const char* kDiscKey = "/media/tallymere-test-absent-disc";
constexpr const char* kOldKey = "/media/tallymere-test-absent-old";
constexpr const char* kDiskKey = "/mnt/tallymere-test-absent-disk";

TEST(CliDrivesTest, ShowsDisksThatAreOutAsNotReadyAndADrivesFileMapsEveryDriveAsGiven) {
  TempFolder folder;
  folder.WriteFile("program/Data/drive_letters.dat",
                   std::string("W: ") + kStickKey + " removable\n" + "X: " + kDiscKey + " cdrom\n" +
                       "Y: " + kOldKey + "\n" + "Z: " + kDiskKey + " fixed\n");
  const CliRun run = RunCli({"drives", "--program-folder", folder.Path("program")}, folder);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_THAT(run.err, IsEmpty());
  EXPECT_THAT(run.out, StartsWith("Drive\tType\tTypeName\tFolder\tLabel\tState\n"));
  EXPECT_THAT(run.out, HasSubstr("\nC:\t3\tfixed\t/\t"));
  EXPECT_THAT(run.out, HasSubstr("\nW:\t2\tremovable\t\t\tnot ready\n"));
  EXPECT_THAT(run.out, HasSubstr("\nX:\t5\tcdrom\t\t\tnot ready\n"));
  // Without a remembered type, and as a fixed disk, a drive that is gone is gone.
  EXPECT_THAT(run.out, Not(HasSubstr("\nY:")));
  EXPECT_THAT(run.out, Not(HasSubstr("\nZ:")));
  const std::string c_line = run.out.substr(run.out.find("\nC:") + 1);
  EXPECT_THAT(c_line.substr(0, c_line.find('\n')), EndsWith("\tready"));

  // A drives file replaces the letters remembered and this machine's mounts.
  folder.WriteFile("program/Data/drives.dat", "C: fixed " + folder.Path("c") + "\nE: cdrom " +
                                                  folder.Path("cd") + " MUSIC99\n");
  const CliRun mapped = RunCli({"drives", "--program-folder", folder.Path("program")}, folder);
  ASSERT_EQ(mapped.exit_code, 0) << mapped.err;
  EXPECT_EQ(mapped.out,
            "Drive\tType\tTypeName\tFolder\tLabel\tState\n"
            "C:\t3\tfixed\t" +
                folder.Path("c") +
                "\t\tready\n"
                "E:\t5\tcdrom\t" +
                folder.Path("cd") + "\tMUSIC99\tready\n");
}

}  // namespace
}  // namespace tallymere
