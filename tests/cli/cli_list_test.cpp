// tallymere-cli list, run as the real program.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "catalog/data_file.h"
#include "catalog/settings.h"
#include "cli/cli_runner.h"
#include "lists/list_fixture.h"
#include "support/test_platform.h"

namespace tallymere {
namespace {

using testing::Blanks;
using testing::CliRun;
using testing::CrLfLines;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using testing::Refused;
using testing::RunCli;
using testing::TempFolder;

// A program folder whose drive map puts C: on a folder of the test's and
// knows no G:, and a data file of five files on C: and G:.
class CliListTest : public ::testing::Test {
 protected:
  CliListTest() {
    m_folder.WriteFile("program/Data/drives.dat", "C: fixed " + m_folder.Path("c") + "\n");
    m_folder.MakeFolder("c");
    CatalogTable table;
    int index = 1;
    for (const auto& [path, name, size, bitrate] :
         {std::tuple{"C:\\Music\\Rock\\", "Love Me.mp3", 2000, "192"},
          std::tuple{"C:\\Music\\Pop\\", "b.mp3", 4096, "128"},
          std::tuple{"C:\\Music\\Pop\\", "a.mp3", 1048576, "128"},
          std::tuple{"C:\\Docs\\", "love letter.txt", 100, ""},
          std::tuple{"G:\\Songs\\", "glove.mp3", 10, "---"}}) {
      CatalogRecord record;
      record.path = path;
      record.file_name = name;
      record.size = size;
      record.bitrate = bitrate;
      record.disk_label = record.path.substr(0, 3);
      record.modified = "01/02/24 10:00:00";
      table.SetRecord(index++, record);
    }
    table.SetRecord(index, MakeTrailer("*.*", 1, "01/02/24 10:00:00"));
    EXPECT_TRUE(SaveDataFile(testing::TestPlatform(), table, data_file()).ok());
    // The settings as the Options dialog would save them with HTML output on.
    Settings settings;
    settings.chkHtml = 1;
    m_folder.WriteFile("program/Data/lists.dat", CrLfLines(SettingsLines(settings)));
  }

  CliRun List(std::vector<std::string> args) {
    args.insert(args.begin(), {"list", "--program-folder", program()});
    args.push_back(data_file());
    return RunCli(args, m_folder, m_folder.path());
  }
  std::string program() const { return m_folder.Path("program"); }
  std::string data_file() const { return m_folder.Path("songs.mpd"); }
  std::string Path(const std::string& name) const { return m_folder.Path(name); }
  std::string Read(const std::string& name) const { return testing::ReadFileBytes(Path(name)); }

  TempFolder m_folder;
};

// Text lists, the options given taking the settings' place; --find and --type
// --drive pick files, listed sorted by folder, each folder's rows in name order.
TEST_F(CliListTest, CreateListWritesTheFilesItPicksWithTheOptionsGiven) {
  const std::string rule24(24, '='), rule89(89, '=');
  const std::tuple<std::vector<std::string>, std::string, std::vector<std::string>> cases[] = {
      {{"--by-folder", "--no-path", "--size", "--no-bitrate", "--width", "10", "-o", "out"},
       "out.txt",
       {"C:\\Music\\Rock\\", rule24, "Love Me.mp3   2000", "", "C:\\Music\\Pop\\", rule24,
        "a.mp3" + Blanks(5) + "1048576", "b.mp3" + Blanks(5) + "4096", "", "C:\\Docs\\", rule24,
        "love letter.txt   100", "", "G:\\Songs\\", rule24, "glove.mp3 10"}},
      // In all drives: names holding "love" in any letter case.
      {{"--find", "love", "--single", "--path", "--no-size", "--bitrate", "--width", "20", "-o",
        "found.txt"},
       "found.txt",
       {"C:\\Docs\\love letter.txt   ", "C:\\Music\\Rock\\Love Me.mp3   192",
        "G:\\Songs\\glove.mp3" + Blanks(13) + "---"}},
      {{"--type", "mp3", "--drive", "c", "--by-folder", "--no-path", "--no-size", "--no-bitrate",
        "-o", "typed"},
       "typed.txt",
       {"", "C:\\Music\\Pop\\", rule89, "a.mp3", "b.mp3", "", "C:\\Music\\Rock\\", rule89,
        "Love Me.mp3"}},
  };
  for (auto [args, file, lines] : cases) {
    SCOPED_TRACE(file);
    args.insert(args.end(), {"--no-header", "--no-summary", "--no-html"});
    const CliRun run = List(args);
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_THAT(run.err, IsEmpty());
    EXPECT_EQ(run.out, Path(file) + "\n");
    EXPECT_EQ(Read(file), CrLfLines(lines));
  }
}

TEST_F(CliListTest, OptionsNotGivenComeFromTheSettingsFileWhichStaysAsItWas) {
  const std::string settings_before = Read("program/Data/lists.dat");
  m_folder.WriteFile("program/Header.txt", "<b>Songs</b>\r\n");
  // The settings ask for an HTML page by folders with header and totals.
  const CliRun run = List({"-o", "LIST.TXT"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, Path("LIST.TXT.html") + "\n");
  const std::string page = Read("LIST.TXT.html");
  EXPECT_THAT(page, HasSubstr("<TITLE>" + Path("LIST.TXT.html") + "</TITLE>\r\n"));
  EXPECT_THAT(page, HasSubstr("<Center><BR><FONT SIZE=+2><b>Songs</b></FONT></CENTER>\r\n"));
  EXPECT_THAT(page, HasSubstr("<TR align=center><TD align=left><b><u><font "
                              "face=\"Arial\">C:\\Music\\Pop\\</b></u></TD></TR>\r\n"));
  EXPECT_THAT(page, HasSubstr("\r\n\r\n<TR align=center><TD align=center><FONT SIZE=+1>Total: 5 "
                              "files, 1.01 MB.  List created on "));
  EXPECT_FALSE(std::filesystem::exists(Path("LIST.TXT.txt")));
  EXPECT_EQ(Read("program/Data/lists.dat"), settings_before);
}

TEST_F(CliListTest, M3uWritesNativePathsForThisRunOnly) {
  const std::string settings_before = Read("program/Data/lists.dat");
  // Header, HTML and by-folder are forced off: no Header.txt is needed.
  const CliRun run = List({"--m3u", "--by-folder", "--html", "--header", "-o", "songs.txt"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, Path("songs.m3u") + "\n");
  const std::string c = Path("c");
  EXPECT_EQ(Read("songs.m3u"),
            CrLfLines({c + "/Docs/love letter.txt", c + "/Music/Pop/a.mp3", c + "/Music/Pop/b.mp3",
                       c + "/Music/Rock/Love Me.mp3", "G:\\Songs\\glove.mp3"}));
  EXPECT_FALSE(std::filesystem::exists(Path("songs.txt")));
  EXPECT_EQ(Read("program/Data/lists.dat"), settings_before);

  const CliRun found = List({"--m3u", "--find", "love", "-o", "love"});
  EXPECT_EQ(found.exit_code, 0) << found.err;
  EXPECT_EQ(Read("love.m3u"), CrLfLines({c + "/Docs/love letter.txt", c + "/Music/Rock/Love Me.mp3",
                                         "G:\\Songs\\glove.mp3"}));
}

TEST_F(CliListTest, FailuresGoToStderrWithExitStatusOne) {
  // Headers on and a Header.txt that cannot be read (a missing one counts as
  // empty).
  m_folder.MakeFolder("program/Header.txt");
  const CliRun no_header = List({"--header", "--no-html", "-o", "out"});
  EXPECT_EQ(no_header.exit_code, 1);
  EXPECT_THAT(no_header.out, IsEmpty());
  EXPECT_EQ(no_header.err, "tallymere-cli list: The list \"" + Path("out.txt") +
                               "\" includes the header and footer texts: Cannot read \"" +
                               program() + "/Header.txt\": it is a folder, not a file\n");
  EXPECT_FALSE(std::filesystem::exists(Path("out.txt")));

  const CliRun no_file = RunCli(
      {"list", "--program-folder", program(), "-o", Path("out"), Path("none.mpd")}, m_folder);
  EXPECT_TRUE(Refused(no_file, "tallymere-cli list: "));
  EXPECT_THAT(no_file.err, HasSubstr(Path("none.mpd")));

  for (const std::vector<std::string>& refused :
       {std::vector<std::string>{"--single", "--by-folder", "-o", "out"},
        {"--drive", "CD", "-o", "out"},
        {"--type", "*.m?3", "-o", "out"},
        {"--width", "-1", "-o", "out"},
        {}}) {
    EXPECT_TRUE(Refused(List(refused), "Usage: tallymere-cli list"))
        << ::testing::PrintToString(refused);
  }
}

TEST_F(CliListTest, LabelsNameTheDiskOfEachFileWhenAskedOrChosenInTheOptions) {
  CatalogTable table;
  ASSERT_TRUE(LoadDataFile(testing::TestPlatform(), data_file(), &table).ok());
  table.MutableRecord(5).disk_label = "SongsCD";
  ASSERT_TRUE(SaveDataFile(testing::TestPlatform(), table, data_file()).ok());
  const std::vector<std::string> options = {"--by-folder",  "--no-html", "--no-header",
                                            "--no-summary", "--no-size", "--no-bitrate",
                                            "-o",           "-"};
  std::vector<std::string> labelled = options;
  labelled.insert(labelled.begin(), "--labels");
  const CliRun run = List(labelled);
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_THAT(run.out, HasSubstr("\r\nG:\\Songs\\  [SongsCD]\r\n"));
  EXPECT_THAT(run.out, HasSubstr("\r\nC:\\Music\\Pop\\\r\n"));

  // Not asked for, the Options' choice decides: off unless saved on.
  const std::string config = m_folder.Path("config");
  const char* before = std::getenv("XDG_CONFIG_HOME");
  const std::string kept = before != nullptr ? before : "";
  ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  const CliRun plain = List(options);
  m_folder.WriteFile("config/tallymere/settings.conf", "ShowDiskLabels=1\n");
  const CliRun chosen = List(options);
  ::setenv("XDG_CONFIG_HOME", kept.c_str(), 1);
  EXPECT_THAT(plain.out, ::testing::Not(HasSubstr("[SongsCD]")));
  EXPECT_EQ(chosen.out, run.out);
}

}  // namespace
}  // namespace tallymere
