// tallymere-cli dump, info and mp3info, run as the real program.

#include <gtest/gtest.h>

#include "catalog/data_file.h"
#include "cli/cli_runner.h"
#include "mp3/mp3_fixtures.h"
#include "support/test_platform.h"

namespace tallymere {
namespace {

using testing::CliRun;
using testing::RunCli;
using testing::TempFolder;

CatalogTable TwoFiles() {
  CatalogTable table;
  CatalogRecord record;
  record.bitrate = "128";
  record.disk_label = "C:\\";
  record.path = "C:\\Music\\";
  record.file_name = "Caf\xC3\xA9\t1.mp3";
  record.modified = "then";
  record.time = "04:09";
  record.size = 1048576;
  record.artist = std::string("Ann\0\0", 5);
  record.album = "\"Best\"";
  record.title = "One";
  table.SetRecord(1, record);
  record.file_name = "b.mp3";
  table.SetRecord(2, record);
  table.SetRecord(3, MakeTrailer("mp3", 1, "built"));
  return table;
}

TEST(CliCatalogTest, DumpPrintsEveryRecordAsTableOrJsonAndInfoWhatTheInfoWindowShows) {
  TempFolder folder;
  const std::string path = folder.Path("m.mpd");
  ASSERT_TRUE(SaveDataFile(testing::TestPlatform(), TwoFiles(), path).ok());

  const CliRun table = RunCli({"dump", path}, folder);
  EXPECT_EQ(table.exit_code, 0);
  EXPECT_EQ(
      table.out,
      "index\tbitrate\tdisk_label\tpath\tfile_name\tmodified\ttime\tsize\tartist\talbum\ttitle\n"
      "1\t128\tC:\\\tC:\\Music\\\tCaf\xC3\xA9 1.mp3\tthen\t04:09\t1048576\tAnn\t\"Best\"\tOne\n"
      "2\t128\tC:\\\tC:\\Music\\\tb.mp3\tthen\t04:09\t1048576\tAnn\t\"Best\"\tOne\n"
      "3\t\t\t\t*.mp3\tbuilt\t\t1\t\t\t\n");

  const CliRun json = RunCli({"dump", "--json", path}, folder);
  EXPECT_EQ(json.exit_code, 0);
  EXPECT_NE(json.out.find("{\"index\":1,\"bitrate\":\"128\",\"disk_label\":\"C:\\\\\",\"path\":"
                          "\"C:\\\\Music\\\\\",\"file_name\":\"Caf\xC3\xA9\\t1.mp3\""),
            std::string::npos)
      << json.out;
  EXPECT_NE(json.out.find("\"artist\":\"Ann\\u0000\\u0000\",\"album\":\"\\\"Best\\\"\""),
            std::string::npos);

  const CliRun info = RunCli({"info", path}, folder);
  EXPECT_EQ(info.exit_code, 0);
  EXPECT_EQ(info.out, "File Name:   m.mpd\nPath:   " + folder.path() +
                          "/\nSize:   " + std::to_string(testing::ReadFileBytes(path).size()) +
                          " bytes\nLast Updated:   built\nFile Type:   \"mp3\"\n"
                          "Total Files Cataloged:   2\nTotal File Size:   2.00 MB\n");
}

TEST(CliCatalogTest, DamagedFileGoesToStderrWithExitStatusOne) {
  TempFolder folder;
  std::string bytes = EncodeDataFile(TwoFiles());
  bytes.resize(bytes.size() - 3);
  const std::string path = folder.WriteFile("cut.mpd", bytes);
  for (const char* command : {"dump", "info"}) {
    const CliRun run = RunCli({command, path}, folder);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_NE(run.err.find("is damaged: record 3 at byte offset"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(path), std::string::npos);
  }
  EXPECT_EQ(RunCli({"dump"}, folder).exit_code, 1);
  EXPECT_EQ(RunCli({"frobnicate"}, folder).exit_code, 1);
}

TEST(CliCatalogTest, Mp3InfoReadsEveryFileOnItsOwnAndGoesOnAfterAnUnreadableOne) {
  TempFolder folder;
  const std::string song = folder.WriteFile(
      "song.mp3",
      testing::Frame() + testing::Id3v1Block({.title = "Song", .artist = "Ann", .pad = '\0'}));
  const std::string text = folder.WriteFile("notes.txt", "no audio here");
  const CliRun run = RunCli({"mp3info", song, folder.Path("missing.mp3"), text}, folder);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out,
            "file\tbitrate\tversion\tlayer\tsample_rate\thas_tag\ttitle\tartist\talbum\tyear\t"
            "comment\tgenre\n" +
                song + "\t128\t1.0\tIII\t44100\t1\tSong\tAnn\t\t\t\tRock\n" + text +
                "\t---\t\t\t0\t0\t\t\t\t\t\t\n");
  EXPECT_NE(run.err.find("missing.mp3"), std::string::npos);

  const CliRun json = RunCli({"mp3info", "--json", song}, folder);
  EXPECT_EQ(json.exit_code, 0);
  EXPECT_NE(json.out.find("\"title\": \"Song\\u0000"), std::string::npos) << json.out;
}

}  // namespace
}  // namespace tallymere
