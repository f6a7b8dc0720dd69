// M3U playlists: time texts, the lines written for songs, and the songs read
// back from lines that this program or another player wrote.

#include "lists/m3u.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/linux_platform.h"
#include "support/temp_folder.h"

namespace tallymere {
namespace {

using testing::TempFolder;
using Lines = std::vector<std::string>;
using Songs = std::vector<PlaylistSong>;

// C: is a folder of the test's; no drive holds G:.
class M3uTest : public ::testing::Test {
 protected:
  M3uTest() {
    m_folder.MakeFolder("c/Music");
    m_folder.WriteFile("program/Data/drives.dat", "C: fixed " + m_folder.Path("c") + "\n");
    m_platform = std::make_unique<LinuxPlatform>(m_folder.Path("program"));
  }
  std::string Native(const std::string& relative) const { return m_folder.Path("c/" + relative); }

  TempFolder m_folder;
  std::unique_ptr<LinuxPlatform> m_platform;
};

TEST(TimeTextTest, SecondsAndMinutesTurnIntoEachOtherAndNoTimeCountsAsNoSeconds) {
  for (const auto& [seconds, text] : {std::pair{225, "03:45"},
                                      {3600, "60:00"},
                                      {0, "00:00"},
                                      {7387, "123:07"},
                                      {36000, "600:00"}}) {  // no 16-bit limit
    EXPECT_EQ(SecToMin(seconds), text);
    EXPECT_EQ(MinToSec(text), seconds);
  }
  EXPECT_EQ(SecToMin(-1), "00:00");
  for (const char* time : {"---", "", "3", "ab:cd", "03:4x", ":45", "03:", "-01:-01", " 3:45",
                           "99999999999999999999:00"}) {
    EXPECT_EQ(MinToSec(time), 0) << '"' << time << '"';
  }
}

TEST(TimeTextTest, ExtInfSecondsStopAtTheCommaAndFallBackToZero) {
  EXPECT_EQ(ExtInfSeconds("#EXTINF:225,Song"), 225);
  EXPECT_EQ(ExtInfSeconds("#EXTINF:225,A, B"), 225);
  EXPECT_EQ(ExtInfSeconds("#EXTINF: 40 ,Song"), 40);
  EXPECT_EQ(ExtInfSeconds("#EXTINF:36000,Ten hours"), 36000);
  EXPECT_EQ(ExtInfSeconds("#EXTINF:225.73,Song"), 225);
  // Without a comma, with no number, or "unknown" (-1): no seconds, and the
  // reading goes on.
  for (const char* line : {"#EXTINF:225", "#EXTINF:abc,Song", "#EXTINF:,Song", "#EXTINF:-1,Stream",
                           "#EXTINF:2.x,Song"}) {
    EXPECT_EQ(ExtInfSeconds(line), 0) << line;
  }
}

TEST(FileUrlTest, DecodesLocalAddressesOnly) {
  EXPECT_EQ(FilePathOfUrl("file:///home/me/a%20b.mp3"), "/home/me/a b.mp3");
  EXPECT_EQ(FilePathOfUrl("FILE://localhost/x/%C3%A9%2f.mp3"), "/x/\xC3\xA9/.mp3");
  EXPECT_EQ(FilePathOfUrl("file:/x/100%.mp3"), "/x/100%.mp3");  // a "%" that escapes nothing
  for (const char* url : {"file://server/share/a.mp3", "file://localhostname/a.mp3",
                          "file:///a%00.mp3", "http://example.org/a.mp3", "file:a.mp3"}) {
    EXPECT_EQ(FilePathOfUrl(url), std::nullopt) << url;
  }
}

TEST_F(M3uTest, WritesNativePathsAndTitlesWithoutExtension) {
  const Songs songs = {{"C:\\Music\\", "Song.mp3", "03:45"},
                       {"C:\\Music\\Pop\\", "A.mp3", "00:00"},
                       {"C:\\Music\\", "Unknown.mp3", ""},
                       {"G:\\Away\\", "Caf\xC3\xA9.mp3", "123:07"}};
  EXPECT_EQ(M3uLines(songs, *m_platform),
            (Lines{"#EXTM3U", "#EXTINF:225,Song", Native("Music/Song.mp3"), "#EXTINF:0,A",
                   Native("Music/Pop/A.mp3"), "#EXTINF:0,Unknown", Native("Music/Unknown.mp3"),
                   // No drive holds G: now: the catalog path names the song again later.
                   "#EXTINF:7387,Caf\xC3\xA9", "G:\\Away\\Caf\xC3\xA9.mp3"}));
  EXPECT_EQ(M3uLines({}, *m_platform), Lines{"#EXTM3U"});
  // What it wrote reads back (an empty time aside, which reads as 00:00).
  const Songs back = {songs[0], songs[1], songs[3]};
  EXPECT_EQ(SongsOfM3u(M3uLines(back, *m_platform), *m_platform), back);
}

// first.mp3 comes before any #EXTINF: no time; third.mp3 follows no new one:
// the time holds. Relative, network and web lines are passed over, and so is a
// native path no drive maps.
TEST_F(M3uTest, PathLinesTakeTheLastTimeReadAndOthersArePassedOver) {
  const Lines lines({"#EXTM3U", "C:\\Music\\first.mp3", "#EXTINF:225,Whatever",
                     "C:\\Music\\second.mp3", "D:\\Other\\third.mp3", "# a comment",
                     "Music\\relative.mp3", "relative.mp3", "Pop/b.mp3", "./c.mp3",
                     "\\\\server\\share\\net.mp3", "http://example.org/stream.mp3", "#EXTINF:oops",
                     "C:\\fourth.mp3", "/nowhere/else/d.mp3"});
  EXPECT_EQ(SongsOfM3u(lines, *m_platform), (Songs{{"C:\\Music\\", "first.mp3", ""},
                                                   {"C:\\Music\\", "second.mp3", "03:45"},
                                                   {"D:\\Other\\", "third.mp3", "03:45"},
                                                   {"C:\\", "fourth.mp3", "00:00"}}));
}

TEST_F(M3uTest, ReadsNativePathsAndFileAddressesOfOtherPlayers) {
  const std::string url = "file://" + Native("Music/a%20b.mp3");
  const Lines lines = {"#EXTM3U", "#EXTINF:-1,a b", url, Native("Music/c.mp3")};
  EXPECT_EQ(SongsOfM3u(lines, *m_platform),
            (Songs{{"C:\\Music\\", "a b.mp3", "00:00"}, {"C:\\Music\\", "c.mp3", "00:00"}}));
}

}  // namespace
}  // namespace tallymere
