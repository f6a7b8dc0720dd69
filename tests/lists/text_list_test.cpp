#include "lists/text_list.h"

#include <gtest/gtest.h>

#include "list_fixture.h"

namespace tallymere {
namespace {

using testing::Blanks;
using testing::CrLfLines;
using testing::Song;
using testing::SongCatalog;
using testing::SongFileList;

const Song kShort{"C:\\Music\\", "a.mp3", 4096, "128"};
const Song kLong{"C:\\Music\\", "toolongname.mp3", 4096, "128"};

class TextListTest : public testing::ListTest {
 protected:
  // The one line CreatList_Single and CreatSingleReport write for a song.
  std::string CatalogLine(const Song& song) {
    return Listed(CreatList_Single(Request(), SongCatalog({song})));
  }
  std::string ReportLine(const Song& song) {
    return Listed(CreatSingleReport(Request(), FileListEntries(SongFileList({song}))));
  }
  void SetParts(int size, int bitrate) {
    m_settings.chkSize = size;
    m_settings.chkBitRate = bitrate;
  }
};

// Catalog lines keep their fill for every setting; report lines leave out the
// parts whose option is off.
TEST_F(TextListTest, LinesFollowTheSizeAndBitrateSettings) {
  m_settings.txtCol = 10;
  struct Case {
    int size, bitrate;
    std::string catalog_fits, catalog_overflows, report_fits, report_overflows;
  };
  const Case cases[] = {
      {0, 0, "a.mp3" + Blanks(5 + 11), "toolongname.mp3" + Blanks(6), "a.mp3", "toolongname.mp3"},
      {0, 1, "a.mp3" + Blanks(5 + 11) + "128", "toolongname.mp3" + Blanks(6) + "128",
       "a.mp3" + Blanks(5 + 11) + "128", "toolongname.mp3   128"},
      {1, 0, "a.mp3" + Blanks(5) + "4096" + Blanks(7), "toolongname.mp3   4096   ",
       "a.mp3" + Blanks(5) + "4096", "toolongname.mp3   4096"},
      {1, 1, "a.mp3" + Blanks(5) + "4096" + Blanks(7) + "128", "toolongname.mp3   4096   128",
       "a.mp3" + Blanks(5) + "4096" + Blanks(7) + "128", "toolongname.mp3   4096   128"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "chkSize " << c.size << ", chkBitRate " << c.bitrate);
    SetParts(c.size, c.bitrate);
    EXPECT_EQ(CatalogLine(kShort), CrLfLines({c.catalog_fits}));
    EXPECT_EQ(CatalogLine(kLong), CrLfLines({c.catalog_overflows}));
    EXPECT_EQ(ReportLine(kShort), CrLfLines({c.report_fits}));
    EXPECT_EQ(ReportLine(kLong), CrLfLines({c.report_overflows}));
  }
  // The catalog's by-folder list follows the report's rules.
  SetParts(0, 1);
  m_settings.optOne = "False";
  EXPECT_EQ(Listed(CreatList_Folder(Request(), SongCatalog({kShort, kLong}))),
            CrLfLines({"", "C:\\Music\\", std::string(24, '='), "a.mp3" + Blanks(16) + "128",
                       "toolongname.mp3   128"}));
}

TEST_F(TextListTest, NameOfExactlyTheWidthFitsAndOneCharacterMoreDoesNot) {
  m_settings.txtCol = 8;
  SetParts(1, 1);
  // Width counts characters: "café.mp3" is eight, though nine bytes in UTF-8.
  EXPECT_EQ(
      Listed(CreatList_Single(Request(), SongCatalog({{"C:\\M\\", "abcd.mp3", 7, "128"},
                                                      {"C:\\M\\", "abcde.mp3", 7, "128"},
                                                      {"C:\\M\\", "caf\xC3\xA9.mp3", 7, "---"}}))),
      CrLfLines({"abcd.mp3" + std::string("7") + Blanks(10) + "128", "abcde.mp3   7   128",
                 "caf\xE9.mp3" + std::string("7") + Blanks(10) + "---"}));
  // With the path, N is Path + File name and must fit as a whole.
  m_settings.chkPath = 1;
  m_settings.txtCol = 13;
  EXPECT_EQ(Listed(CreatSingleReport(
                Request(), FileListEntries(SongFileList({{"C:\\M\\", "abcd.mp3", 7, "128"},
                                                         {"C:\\M\\", "abcde.mp3", 7, "128"}})))),
            CrLfLines({"C:\\M\\abcd.mp37" + Blanks(10) + "128", "C:\\M\\abcde.mp3   7   128"}));
}

TEST_F(TextListTest, FolderGroupsAreHeadedAfterAnEmptyLineUnlessTheFirstGroupHoldsOneFile) {
  m_settings.txtCol = 6;
  const std::string rule(20, '=');
  // First group of one file: no empty line before it.
  EXPECT_EQ(Listed(CreatList_Folder(Request(), SongCatalog({{"C:\\A\\", "x.mp3", 1, ""},
                                                            {"C:\\B\\", "z.mp3", 1, ""},
                                                            {"C:\\B\\", "Y.mp3", 1, ""}}))),
            CrLfLines({"C:\\A\\", rule, "x.mp3", "", "C:\\B\\", rule, "Y.mp3", "z.mp3"}));

  // First group of two files: the empty line goes by the group's last entry,
  // so it comes before the first group too. A folder in two separate runs
  // makes two groups.
  EXPECT_EQ(Listed(CreatFolderReport(Request(),
                                     FileListEntries(SongFileList({{"C:\\A\\", "x.mp3", 1, ""},
                                                                   {"C:\\A\\", "w.mp3", 1, ""},
                                                                   {"C:\\B\\", "y.mp3", 1, ""},
                                                                   {"C:\\A\\", "v.mp3", 1, ""}})))),
            CrLfLines({"", "C:\\A\\", rule, "w.mp3", "x.mp3", "", "C:\\B\\", rule, "y.mp3", "",
                       "C:\\A\\", rule, "v.mp3"}));
}

TEST_F(TextListTest, HeaderKeepsItsEmptyLinesInTheOneListFileOnly) {
  m_settings.chkHeader = 1;
  m_settings.txtCol = 4;
  WriteProgramFile("Header.txt", "My songs\r\n\r\nAll of them\r\n");
  WriteProgramFile("Footer.txt", "Bye\r\n\r\nThe end\r\n");
  const CatalogTable catalog =
      SongCatalog({{"C:\\A\\", "b.mp3", 1, ""}, {"C:\\A\\", "a.mp3", 1, ""}});

  EXPECT_EQ(Listed(CreatList_Single(Request(), catalog)),
            CrLfLines({"My songs", "", "All of them", "a.mp3" + Blanks(6), "b.mp3" + Blanks(6),
                       "Bye", "", "The end"}));

  // By folders: the header's empty lines go, two empty lines follow it; the
  // footer is copied whole.
  m_settings.optOne = "False";
  EXPECT_EQ(Listed(CreatList_Folder(Request(), catalog)),
            CrLfLines({"My songs", "All of them", "", "", "", "C:\\A\\", std::string(18, '='),
                       "a.mp3", "b.mp3", "Bye", "", "The end"}));
}

TEST_F(TextListTest, TotalsCountEveryListedFileAndSumSizesBeyondThirtyTwoBits) {
  m_settings.chkSum = 1;
  const std::string rule(89, '=');  // W = 75
  ASSERT_EQ(m_settings.txtCol, 75);
  // Three files of 2 GiB - 1: the sum needs more than 32 bits.
  const std::vector<Song> songs = {{"C:\\A\\", "a.mp3", 2147483647, ""},
                                   {"C:\\A\\", "b.mp3", 2147483647, ""},
                                   {"C:\\B\\", "c.mp3", 2147483647, ""}};
  const std::string totals = Totals("3", "6,144.00");
  EXPECT_EQ(Listed(CreatSingleReport(Request(), FileListEntries(SongFileList(songs)))),
            CrLfLines({"a.mp3", "b.mp3", "c.mp3", "", rule, totals, rule}));

  m_settings.optOne = "False";
  EXPECT_EQ(Listed(CreatList_Folder(Request(), SongCatalog(songs))),
            CrLfLines({"", "C:\\A\\", rule, "a.mp3", "b.mp3", "", "C:\\B\\", rule, "c.mp3", "",
                       rule, totals, rule}));

  // An empty catalog still gets its totals.
  m_settings.optOne = "True";
  EXPECT_EQ(Listed(CreatList_Single(Request(), SongCatalog({}))),
            CrLfLines({"", rule, Totals("0", "0.00"), rule}));
}

TEST_F(TextListTest, ReportStopsAtTheFirstRowWithoutPathAndReadsTheSizeColumn) {
  m_settings.chkSize = 1;
  m_settings.chkSum = 1;
  m_settings.txtCol = 5;
  ListModel list = SongFileList({{"C:\\A\\", "a.mp3", 1048576, ""},
                                 {"", "stray.mp3", 9, ""},
                                 {"C:\\A\\", "after.mp3", 5, ""}});
  list.SetCell(0, kColSize, "2097152");
  EXPECT_EQ(Listed(CreatSingleReport(Request(), FileListEntries(list))),
            CrLfLines({"a.mp32097152", "", std::string(19, '='), Totals("1", "2.00"),
                       std::string(19, '=')}));
}

}  // namespace
}  // namespace tallymere
