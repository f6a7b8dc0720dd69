#include "lists/html_list.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "catalog/text_file.h"
#include "list_fixture.h"

namespace tallymere {
namespace {

using testing::CrLfLines;
using testing::Song;
using testing::SongCatalog;
using testing::SongFileList;

const std::string kNbsp = "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";
const std::string kCell = "<TR align=center><TD align=left><font face=\"Arial\"><font size=-1>";
const std::string kEnd = "</TD></TR>";

using Lines = std::vector<std::string>;

class HtmlListTest : public testing::ListTest {
 protected:
  // The lines of the page a writer wrote, which must have succeeded.
  Lines Page(const Result<std::string>& written, const std::string& name = "list.html") const {
    return DecodeTextFile(Listed(written, name));
  }
  // The lines between the "File List" heading and "</TABLE>".
  static Lines Rows(const Lines& page) {
    Lines rows;
    bool in_table = false;
    for (const std::string& line : page) {
      if (line == "</TABLE>") break;
      if (in_table) rows.push_back(line);
      if (line.find("<b>File List</b>") != std::string::npos) in_table = true;
    }
    return rows;
  }
  // The lines of Header.txt as a page shows them.
  static Lines HeaderLines(const Lines& page) {
    Lines header;
    for (const std::string& line : page) {
      if (line.starts_with("<Center><BR><FONT SIZE=+2>")) header.push_back(line);
    }
    return header;
  }
};

TEST_F(HtmlListTest, OneTablePageWithDefaultColoursIsWrittenLineForLine) {
  m_settings.chkPath = 1;
  m_settings.chkSize = 1;
  m_settings.chkBitRate = 1;
  m_settings.chkHeader = 1;
  m_settings.chkSum = 1;
  WriteProgramFile("Header.txt", "My <i>Music</i>\r\n");
  const auto written =
      WriteHtml1(Request(), SongCatalog({{"C:\\Music\\", "b.mp3", 4096, "128"},
                                         {"C:\\Music\\", "A.mp3", 1048576, "---"}}));
  ASSERT_TRUE(written.ok()) << written.status().message();
  EXPECT_EQ(*written, Output("list.html"));
  EXPECT_EQ(
      Read("list.html"),
      CrLfLines({"<HTML>",
                 "<HEAD>",
                 "<TITLE>" + Output("list.html") + "</TITLE>",
                 "</HEAD><BODY TEXT=#000000 BGCOLOR=\"#FFFFD2\" LINK=#0000EE VLINK=#551A8B "
                 "ALINK=#FF0000>",
                 "<Center>",
                 "<Center><BR><FONT SIZE=+2>My <i>Music</i></FONT></CENTER>",
                 "<BR>",
                 "<hr>",
                 "<BR>",
                 "<BR>",
                 "<CENTER><TABLE BORDER=1 WIDTH=89% BGCOLOR=\"#FFFFB0\"><FONT COLOR=#000000><FONT "
                 "SIZE=2>",
                 "<TR align=center><TD align=center><FONT SIZE=+1><b>File List</b></TD></TR>",
                 kCell + "C:\\Music\\A.mp3" + kNbsp + "(1048576 bytes, ---K)" + kEnd,
                 kCell + "C:\\Music\\b.mp3" + kNbsp + "(4096 bytes, 128K)" + kEnd,
                 "",
                 "<TR align=center><TD align=center><FONT SIZE=+1>" + Totals("2", "1.00") + kEnd,
                 "</TABLE>",
                 "<BR>",
                 "<BR>",
                 "<hr>",
                 "<BR><BR><CENTER><FONT SIZE=+1>List created by Tallymere</CENTER>",
                 "<CENTER><FONT SIZE=+1>Free download at: <A "
                 "HREF=https://tallymere.example.org/download/>https://tallymere.example.org/"
                 "download/</A>",
                 "</BODY>",
                 "</HTML>"}));
  // The footer text never belongs to a page, and no text list is written.
  EXPECT_FALSE(std::filesystem::exists(Output("list.txt")));
}

TEST_F(HtmlListTest, ByFolderPageHeadsEachRunAndAlignsCellsAsTheOptionSays) {
  m_settings.cmbAlign = "Center";
  m_settings.txtTW = "75";
  m_settings.cmbBW = 3;
  m_settings.TBcolor = 0x00102030;
  m_settings.PGcolor = 0x000000FF;
  const std::string cell = "<TR align=center><TD align=Center><font face=\"Arial\"><font size=-1>";
  const auto heading = [](const std::string& path) {
    return "<TR align=center><TD align=left><b><u><font face=\"Arial\">" + path +
           "</b></u></TD></TR>";
  };
  const Lines lines = Page(WriteHtmlf(Request("by folder.txt"),
                                      FileListEntries(SongFileList({{"C:\\A\\", "x.mp3", 1, ""},
                                                                    {"C:\\B\\", "z.mp3", 1, ""},
                                                                    {"C:\\B\\", "y.mp3", 1, ""}}))),
                           "by folder.html");
  // The frame without header and totals is 19 lines; six rows lie in it.
  ASSERT_EQ(lines.size(), 19u + 6u);
  EXPECT_EQ(lines[3],
            "</HEAD><BODY TEXT=#000000 BGCOLOR=\"#FF0000\" LINK=#0000EE VLINK=#551A8B "
            "ALINK=#FF0000>");
  EXPECT_EQ(lines[9],
            "<CENTER><TABLE BORDER=3 WIDTH=75% BGCOLOR=\"#302010\"><FONT COLOR=#000000><FONT "
            "SIZE=2>");
  // The first run holds one file: no empty line before it.
  EXPECT_EQ(Rows(lines), (Lines{heading("C:\\A\\"), cell + "x.mp3" + kEnd, "", heading("C:\\B\\"),
                                cell + "y.mp3" + kEnd, cell + "z.mp3" + kEnd}));

  // A first run of two files gets the empty line; the catalog's page groups
  // the same way.
  EXPECT_EQ(Rows(Page(WriteHtml2(Request(), SongCatalog({{"C:\\A\\", "x.mp3", 1, ""},
                                                         {"C:\\A\\", "w.mp3", 1, ""},
                                                         {"C:\\B\\", "y.mp3", 1, ""}})))),
            (Lines{"", heading("C:\\A\\"), cell + "w.mp3" + kEnd, cell + "x.mp3" + kEnd, "",
                   heading("C:\\B\\"), cell + "y.mp3" + kEnd}));
}

TEST_F(HtmlListTest, RowTextFollowsTheSizeAndBitrateOptions) {
  struct Case {
    int size, bitrate;
    std::string row;
  };
  const Case cases[] = {
      {0, 0, "a.mp3"},
      {0, 1, "a.mp3" + kNbsp + "(128K)"},
      {1, 0, "a.mp3" + kNbsp + "(4096 bytes)"},
      {1, 1, "a.mp3" + kNbsp + "(4096 bytes, 128K)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "chkSize " << c.size << ", chkBitRate " << c.bitrate);
    m_settings.chkSize = c.size;
    m_settings.chkBitRate = c.bitrate;
    EXPECT_EQ(Rows(Page(WriteHtmlS(
                  Request(), FileListEntries(SongFileList({{"C:\\M\\", "a.mp3", 4096, "128"}}))))),
              (Lines{kCell + c.row + kEnd}));
  }
  // A catalog scanned without MP3 information has no bitrate: a bare K.
  m_settings.chkSize = 1;
  EXPECT_EQ(Rows(Page(WriteHtml1(Request(), SongCatalog({{"C:\\M\\", "a.mp3", 4096, ""}})))),
            (Lines{kCell + "a.mp3" + kNbsp + "(4096 bytes, K)" + kEnd}));
}

TEST_F(HtmlListTest, NamesAndPathsAreEscapedButHeaderLinesAreCopiedAsTheyAre) {
  m_settings.chkPath = 1;
  m_settings.chkHeader = 1;
  m_settings.optOne = "False";
  WriteProgramFile("Header.txt", "<b>Rock & Roll</b>\r\n");
  const std::vector<Song> songs = {{"C:\\R&B\\", "<b>&.mp3", 1, ""},
                                   {"C:\\R&B\\", "\"quoted\".mp3", 1, ""}};
  const Lines lines = Page(WriteHtml2(Request("a&b.txt"), SongCatalog(songs)), "a&b.html");
  EXPECT_EQ(lines[2], "<TITLE>" + Output("a&amp;b.html") + "</TITLE>");
  EXPECT_EQ(HeaderLines(lines),
            (Lines{"<Center><BR><FONT SIZE=+2><b>Rock & Roll</b></FONT></CENTER>"}));
  const std::string cell = "<TR align=center><TD align=Left><font face=\"Arial\"><font size=-1>";
  // Sorted by the names as they read: '"' before '<'.
  EXPECT_EQ(Rows(lines), (Lines{"",
                                "<TR align=center><TD align=left><b><u><font "
                                "face=\"Arial\">C:\\R&amp;B\\</b></u></TD></TR>",
                                cell + "C:\\R&amp;B\\&quot;quoted&quot;.mp3" + kEnd,
                                cell + "C:\\R&amp;B\\&lt;b&gt;&amp;.mp3" + kEnd}));
}

TEST_F(HtmlListTest, HeaderEmptyLinesStayInOneTablePagesAndLeaveByFolderPages) {
  m_settings.chkHeader = 1;
  WriteProgramFile("Header.txt", "Top\r\n\r\nBottom\r\n");
  const ListModel list = SongFileList({{"C:\\M\\", "a.mp3", 1, ""}});
  const std::string open = "<Center><BR><FONT SIZE=+2>";
  const std::string close = "</FONT></CENTER>";

  EXPECT_EQ(HeaderLines(Page(WriteHtmlS(Request(), FileListEntries(list)))),
            (Lines{open + "Top" + close, open + close, open + "Bottom" + close}));
  const Lines lines = Page(WriteHtmlf(Request(), FileListEntries(list)));
  EXPECT_EQ(HeaderLines(lines), (Lines{open + "Top" + close, open + "Bottom" + close}));
  // Without chkSum "</TABLE>" follows the last row directly.
  ASSERT_GE(lines.size(), 9u);
  EXPECT_EQ(lines[lines.size() - 9],
            "<TR align=center><TD align=Left><font face=\"Arial\"><font size=-1>a.mp3</TD></TR>");
  EXPECT_EQ(lines[lines.size() - 8], "</TABLE>");
}

// The default colours and pure red are shown by the pages above.
TEST(HtmlTextTest, ColoursAreRedGreenBlueInUpperCaseHexAndFourCharactersAreEscaped) {
  EXPECT_EQ(ColorToHtml(0), "#000000");
  EXPECT_EQ(ColorToHtml(0x00ABCDEF), "#EFCDAB");
  EXPECT_EQ(ColorToHtml(0x00010203), "#030201");
  EXPECT_EQ(HtmlEscape("a<b>&\"c'd"), "a&lt;b&gt;&amp;&quot;c'd");
  EXPECT_EQ(HtmlEscape("caf\xC3\xA9 & co"), "caf\xC3\xA9 &amp; co");
}

}  // namespace
}  // namespace tallymere
