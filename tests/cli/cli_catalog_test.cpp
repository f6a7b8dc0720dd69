// tallymere-cli dump and info, run as the real program.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>

#include "catalog/data_file.h"
#include "support/temp_folder.h"

namespace tallymere {
namespace {

using testing::TempFolder;

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

CliRun RunCli(const std::string& arguments, const TempFolder& folder) {
  const std::string err_path = folder.Path("stderr.txt");
  const std::string command =
      std::string(TALLYMERE_CLI_PATH) + " " + arguments + " 2>" + err_path;
  CliRun run;
  FILE* pipe = popen(command.c_str(), "r");
  std::array<char, 4096> buffer;
  for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) run.out.append(buffer.data(), n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = testing::ReadFileBytes(err_path);
  return run;
}

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

TEST(CliCatalogTest, DumpPrintsEveryRecordAsTableOrJson) {
  TempFolder folder;
  const std::string path = folder.Path("m.mpd");
  ASSERT_TRUE(SaveDataFile(TwoFiles(), path).ok());

  const CliRun table = RunCli("dump " + path, folder);
  EXPECT_EQ(table.status, 0);
  EXPECT_EQ(table.out,
            "index\tbitrate\tdisk_label\tpath\tfile_name\tmodified\ttime\tsize\tartist\talbum\ttitle\n"
            "1\t128\tC:\\\tC:\\Music\\\tCaf\xC3\xA9 1.mp3\tthen\t04:09\t1048576\tAnn\t\"Best\"\tOne\n"
            "2\t128\tC:\\\tC:\\Music\\\tb.mp3\tthen\t04:09\t1048576\tAnn\t\"Best\"\tOne\n"
            "3\t\t\t\t*.mp3\tbuilt\t\t1\t\t\t\n");

  const CliRun json = RunCli("dump --json " + path, folder);
  EXPECT_EQ(json.status, 0);
  EXPECT_NE(json.out.find("{\"index\":1,\"bitrate\":\"128\",\"disk_label\":\"C:\\\\\",\"path\":"
                          "\"C:\\\\Music\\\\\",\"file_name\":\"Caf\xC3\xA9\\t1.mp3\""),
            std::string::npos)
      << json.out;
  EXPECT_NE(json.out.find("\"artist\":\"Ann\\u0000\\u0000\",\"album\":\"\\\"Best\\\"\""),
            std::string::npos);
}

TEST(CliCatalogTest, InfoShowsWhatTheDataFileInfoWindowShows) {
  TempFolder folder;
  const std::string path = folder.Path("m.mpd");
  ASSERT_TRUE(SaveDataFile(TwoFiles(), path).ok());
  const CliRun info = RunCli("info " + path, folder);
  EXPECT_EQ(info.status, 0);
  EXPECT_EQ(info.out, "File Name:   m.mpd\nPath:   " + folder.path() + "/\nSize:   " +
                          std::to_string(testing::ReadFileBytes(path).size()) +
                          " bytes\nLast Updated:   built\nFile Type:   \"mp3\"\n"
                          "Total Files Cataloged:   2\nTotal File Size:   2.00 MB\n");
}

TEST(CliCatalogTest, DamagedFileGoesToStderrWithExitStatusOne) {
  TempFolder folder;
  std::string bytes = EncodeDataFile(TwoFiles());
  bytes.resize(bytes.size() - 3);
  const std::string path = folder.WriteFile("cut.mpd", bytes);
  for (const char* command : {"dump ", "info "}) {
    const CliRun run = RunCli(command + path, folder);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_NE(run.err.find("is damaged: record 3 at byte offset"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(path), std::string::npos);
  }
  EXPECT_EQ(RunCli("dump", folder).status, 1);
  EXPECT_EQ(RunCli("frobnicate", folder).status, 1);
}

}  // namespace
}  // namespace tallymere
