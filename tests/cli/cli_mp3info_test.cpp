// tallymere-cli mp3info, run as the real program.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>

#include "mp3/mp3_fixtures.h"
#include "support/temp_folder.h"

namespace tallymere {
namespace {

using testing::TempFolder;

std::pair<int, std::string> RunMp3Info(const std::string& arguments, const TempFolder& folder) {
  const std::string command = std::string(TALLYMERE_CLI_PATH) + " mp3info " + arguments + " 2>" +
                              folder.Path("stderr.txt");
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  std::array<char, 4096> buffer;
  for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) out.append(buffer.data(), n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

TEST(CliMp3InfoTest, ReadsEveryFileOnItsOwnAndGoesOnAfterAnUnreadableOne) {
  TempFolder folder;
  testing::Id3v1Fields tag;
  tag.title = "Song";
  tag.artist = "Ann";
  tag.pad = '\0';
  const std::string song = folder.WriteFile("song.mp3", testing::Frame() + testing::Id3v1Block(tag));
  const std::string text = folder.WriteFile("notes.txt", "no audio here");
  const auto [status, out] =
      RunMp3Info(song + " " + folder.Path("missing.mp3") + " " + text, folder);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(out,
            "file\tbitrate\tversion\tlayer\tsample_rate\thas_tag\ttitle\tartist\talbum\tyear\t"
            "comment\tgenre\n" +
                song + "\t128\t1.0\tIII\t44100\t1\tSong\tAnn\t\t\t\tRock\n" + text +
                "\t---\t\t\t0\t0\t\t\t\t\t\t\n");
  EXPECT_NE(testing::ReadFileBytes(folder.Path("stderr.txt")).find("missing.mp3"), std::string::npos);

  const auto [json_status, json] = RunMp3Info("--json " + song, folder);
  EXPECT_EQ(json_status, 0);
  EXPECT_NE(json.find("\"title\": \"Song\\u0000"), std::string::npos) << json;
}

}  // namespace
}  // namespace tallymere
