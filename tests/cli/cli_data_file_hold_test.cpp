// Runs of tallymere-cli that write one data file at once: each waits while
// another program holds the file and then works on the file as that program
// left it, so no change is lost; runs that only read never wait.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/file.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "catalog/data_file.h"
#include "cli/cli_runner.h"
#include "mp3/mp3_fixtures.h"
#include "support/test_platform.h"

namespace tallymere {
namespace {

using testing::CliRun;
using ::testing::ElementsAre;
using testing::FinishCli;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using testing::ReadFileBytes;
using testing::StartCli;
using testing::StartedCli;

// What another program does with the data file: an advisory lock on the
// file the path names now, held until Release or the end of the test.
class OtherProgram {
 public:
  explicit OtherProgram(const std::string& path) : m_fd(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    EXPECT_GE(m_fd, 0) << path;
    EXPECT_EQ(flock(m_fd, LOCK_EX | LOCK_NB), 0) << path;
  }
  ~OtherProgram() { Release(); }
  void Release() {
    if (m_fd >= 0) close(m_fd);
    m_fd = -1;
  }

 private:
  int m_fd;
};

CatalogRecord Record(const std::string& label, const std::string& path, const std::string& name) {
  CatalogRecord record;
  record.disk_label = label;
  record.path = path;
  record.file_name = name;
  record.modified = "then";
  record.size = 1000;
  return record;
}

class CliDataFileHoldTest : public ::testing::Test {
 protected:
  // A CD in E: and a stick in F:, each with a song the catalog lacks.
  CliDataFileHoldTest() {
    const std::string root = m_folder.path();
    m_folder.WriteFile("program/Data/drives.dat", "C: fixed " + root + "/c\nE: cdrom " + root +
                                                      "/e\nF: removable " + root + "/f\n");
    m_folder.WriteFile("c/Music/song.mp3", testing::Frame());
    m_folder.WriteFile("e/Album/track.mp3", testing::Frame());
    m_folder.WriteFile("e/Album/new.mp3", testing::Frame());
    m_folder.WriteFile("f/Songs/a.mp3", testing::Frame());
    m_folder.WriteFile("f/Songs/b.mp3", testing::Frame());
  }

  void WriteCatalog(const std::vector<CatalogRecord>& records) const {
    CatalogTable table;
    int index = 1;
    for (const CatalogRecord& record : records) table.SetRecord(index++, record);
    table.SetRecord(index, MakeTrailer("mp3", 0, "then"));
    ASSERT_TRUE(SaveDataFile(testing::TestPlatform(), table, m_file).ok());
  }

  StartedCli Start(std::vector<std::string> args, const std::string& name) const {
    args.insert(args.begin() + 1, {"--program-folder", m_folder.Path("program")});
    return StartCli(args, m_folder, "", "", name);
  }

  // Waits until the run says it waits for the data file; false when it does
  // not within the time a run may take.
  bool SaysItWaits(const StartedCli& run, const std::string& command) const {
    const std::string line = "tallymere-cli " + command +
                             ": Waiting for another program to finish with \"" + m_file +
                             "\" ...\n";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
      if (ReadFileBytes(run.err_path) == line) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ADD_FAILURE() << command << " said \"" << ReadFileBytes(run.err_path) << "\"";
    return false;
  }

  // "Path+File name label" of every record but the trailer.
  std::vector<std::string> Records() const {
    CatalogTable table;
    EXPECT_TRUE(LoadDataFile(testing::TestPlatform(), m_file, &table).ok());
    std::vector<std::string> records;
    for (int i = 1; i < table.StoredEnd(); ++i) {
      const CatalogRecord& r = table.Record(i);
      if (!IsTrailer(r)) records.push_back(r.path + r.file_name + " " + r.disk_label);
    }
    return records;
  }

  testing::TempFolder m_folder;
  const std::string m_file = m_folder.Path("cat.mpd");
};

// Two rescans of different disks wait while another program writes a disk of
// its own; each then reads the file the one before it wrote, so all three
// changes are kept.
TEST_F(CliDataFileHoldTest, RunsThatWaitWorkOnTheFileAsTheProgramBeforeThemLeftIt) {
  const CatalogRecord cd = Record("MyCD", "E:\\Album\\", "track.mp3");
  const CatalogRecord stick = Record("Stick", "F:\\Songs\\", "a.mp3");
  WriteCatalog({cd, stick});
  const std::string before = ReadFileBytes(m_file);
  OtherProgram other(m_file);
  const StartedCli first = Start({"update-disk", "--label", "MyCD", "--quiet", m_file}, "first");
  const StartedCli second = Start({"update-disk", "--label", "Stick", "--quiet", m_file}, "second");
  ASSERT_TRUE(SaysItWaits(first, "update-disk"));
  ASSERT_TRUE(SaysItWaits(second, "update-disk"));
  EXPECT_EQ(ReadFileBytes(m_file), before);

  // Read-only commands and a dry run do not wait for the file.
  const CliRun info = testing::RunCli({"info", m_file}, m_folder);
  EXPECT_EQ(info.exit_code, 0) << info.err;
  const CliRun dry =
      FinishCli(Start({"update-disk", "--label", "MyCD", "--dry-run", "--quiet", m_file}, "dry"));
  EXPECT_EQ(dry.exit_code, 0) << dry.err;
  EXPECT_THAT(dry.out, HasSubstr("+ E:\\Album\\new.mp3\n"));

  // The other program saves a new file in the old one's place, as every save
  // does, and ends.
  WriteCatalog({cd, stick, Record("Other", "Q:\\", "far.mp3")});
  other.Release();
  for (const StartedCli& run : {first, second}) {
    const CliRun finished = FinishCli(run);
    EXPECT_EQ(finished.exit_code, 0) << finished.err;
    EXPECT_THAT(finished.err, HasSubstr("Written to \"" + m_file + "\"."));
  }
  EXPECT_THAT(Records(),
              ElementsAre("E:\\Album\\new.mp3 MyCD", "E:\\Album\\track.mp3 MyCD",
                          "F:\\Songs\\a.mp3 Stick", "F:\\Songs\\b.mp3 Stick", "Q:\\far.mp3 Other"));
}

// update and fingerprint hold the file from before their read; a scan, which
// never reads it, waits to replace it until the other program is done.
TEST_F(CliDataFileHoldTest, UpdateFingerprintAndScanWaitForTheOtherProgram) {
  WriteCatalog({Record("MyCD", "E:\\Album\\", "track.mp3")});
  const std::vector<std::vector<std::string>> commands = {
      {"update", "--quiet", m_file},
      {"fingerprint", m_file},
      {"scan", "F:\\Songs", "--no-mp3-info", "--quiet", "-o", m_file},
  };
  for (const std::vector<std::string>& command : commands) {
    const std::string before = ReadFileBytes(m_file);
    OtherProgram other(m_file);
    const StartedCli run = Start(command, command[0]);
    ASSERT_TRUE(SaysItWaits(run, command[0]));
    EXPECT_EQ(ReadFileBytes(m_file), before) << command[0];
    other.Release();
    const CliRun finished = FinishCli(run);
    EXPECT_EQ(finished.exit_code, 0) << finished.err;
  }
  EXPECT_THAT(Records(), ElementsAre("F:\\Songs\\a.mp3 F:\\", "F:\\Songs\\b.mp3 F:\\"));

  // Nobody holding the file, nothing is said.
  const CliRun update = FinishCli(Start({"update", "--quiet", m_file}, "alone"));
  EXPECT_EQ(update.exit_code, 0) << update.err;
  EXPECT_THAT(update.err, IsEmpty());
}

}  // namespace
}  // namespace tallymere
