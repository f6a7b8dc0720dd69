#include "lists/create_list.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "list_fixture.h"
#include "lists/list_entries.h"
#include "lists/text_list.h"
#include "platform/linux_platform.h"
#include "support/faulty_platform.h"
#include "views/file_list_row.h"

namespace tallymere {
namespace {

using testing::CrLfLines;
using testing::FaultyPlatform;
using testing::PlatformCall;
using testing::Song;
using testing::SongCatalog;
using testing::SongFileList;

namespace fs = std::filesystem;

class CreateListTest : public testing::ListTest {
 protected:
  // The files of the output folder.
  std::vector<std::string> OutputFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_output.path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST(ListFileNameTest, AppendsTxtUnlessTheNameEndsInExactlyTxt) {
  EXPECT_EQ(ListFileName("/x/list"), "/x/list.txt");
  EXPECT_EQ(ListFileName("/x/list.txt"), "/x/list.txt");
  EXPECT_EQ(ListFileName("/x/LIST.TXT"), "/x/LIST.TXT.txt");
  EXPECT_EQ(ListFileName("/x/list.htm"), "/x/list.htm.txt");
  EXPECT_EQ(PageFileName(ListFileName("/x/list.htm")), "/x/list.htm.html");
  EXPECT_EQ(PageFileName("/x/list.txt"), "/x/list.html");
  EXPECT_EQ(PlaylistFileName("/x/list.txt"), "/x/list.m3u");
  EXPECT_EQ(ListBaseName("/x/list.txt"), "/x/list");
}

TEST(ListOptionsTest, M3uForcesOneSortedListOfPathsAndTheOfferNamesTheFileWritten) {
  Settings settings;
  settings.chkM3U = 1;
  settings.chkHtml = 1;
  settings.txtCol = 40;
  // Every list option but these keeps its value (txtCol 40 among them).
  Settings expected = settings;
  expected.optOne = "True";
  expected.optSeperate = "False";
  expected.chkPath = 1;
  expected.chkSize = expected.chkBitRate = expected.chkHeader = expected.chkSum = 0;
  expected.chkHtml = 0;
  ForceM3uOptions(&settings);
  EXPECT_EQ(settings, expected);
  EXPECT_EQ(ListKindOf(settings), ListKind::kM3u);
  settings.chkM3U = 0;
  settings.chkHtml = 1;
  EXPECT_EQ(ListKindOf(settings), ListKind::kHtml);
  // The text and playlist questions are shown by the Create List commands' tests.
  EXPECT_EQ(OfferToOpenText(settings, "/x/l.html"),
            "List has been saved as: /x/l.html. Do you want to view it now?");
  settings.chkHtml = 0;
  EXPECT_EQ(ListKindOf(settings), ListKind::kText);
}

TEST_F(CreateListTest, WriteListPicksTheWriterTheOptionsName) {
  const CatalogTable catalog = SongCatalog({{"C:\\A\\", "a.mp3", 1, ""}});
  m_settings.optOne = "True";
  EXPECT_EQ(WriteList(Request(), catalog).value(), Output("list.txt"));
  EXPECT_EQ(Read("list.txt"), CrLfLines({"a.mp3" + testing::Blanks(70 + 11)}));
  m_settings.optOne = "False";
  EXPECT_EQ(WriteList(Request(), catalog).value(), Output("list.txt"));
  EXPECT_EQ(Read("list.txt"), CrLfLines({"C:\\A\\", std::string(89, '='), "a.mp3"}));
  m_settings.chkHtml = 1;
  EXPECT_EQ(
      WriteList(Request("page.txt"), FileListEntries(SongFileList({{"C:\\A\\", "a.mp3", 1, ""}})))
          .value(),
      Output("page.html"));
  // A playlist is one sorted list whatever optOne says.
  m_settings.chkM3U = 1;
  EXPECT_EQ(WriteList(Request("songs.txt"), catalog).value(), Output("songs.m3u"));
  EXPECT_EQ(OutputFiles(), (std::vector<std::string>{"list.txt", "page.html", "songs.m3u"}));
}

TEST_F(CreateListTest, M3uListsHoldNativePathsWithoutBlanksAndKeepCatalogPathsOfAbsentDisks) {
  // Header and summary on, and no Header.txt: forcing turns them off.
  m_settings.chkHeader = 1;
  m_settings.chkSum = 1;
  m_settings.chkSize = 1;
  m_settings.chkM3U = 1;
  m_settings.txtCol = 10;
  ForceM3uOptions(&m_settings);
  // C: is mapped onto "/"; no drive G: is mapped, as for a disk not mounted.
  const std::vector<Song> songs = {{"C:\\Music\\", "b.mp3", 1, "128"},
                                   {"G:\\Songs\\", "c.mp3", 1, "128"},
                                   {"C:\\music\\", "A.mp3", 1, "128"},
                                   {"C:\\Music\\", "Zed with a long name.mp3", 1, "128"}};
  const std::string expected = CrLfLines(
      {"/music/A.mp3", "/Music/b.mp3", "/Music/Zed with a long name.mp3", "G:\\Songs\\c.mp3"});
  m_output.WriteFile("songs.m3u", "an older playlist\r\n");

  EXPECT_EQ(WriteList(Request("songs.txt"), SongCatalog(songs)).value(), Output("songs.m3u"));
  EXPECT_EQ(Read("songs.m3u"), expected);
  EXPECT_EQ(OutputFiles(), std::vector<std::string>{"songs.m3u"});

  EXPECT_EQ(
      Listed(WriteList(Request("found.txt"), FileListEntries(SongFileList(songs))), "found.m3u"),
      expected);
  EXPECT_EQ(OutputFiles(), (std::vector<std::string>{"found.m3u", "songs.m3u"}));
}

TEST_F(CreateListTest, M3uLineOfANameStoredInWindows1252IsThePathOnDisk) {
  // A disk written on Windows keeps "Café.mp3" as the byte 0xE9; the catalog
  // holds the name in UTF-8. The playlist must name the file as it is.
  const std::string disk = m_output.MakeFolder("d");
  m_output.WriteFile("d/Songs/Caf\xE9.mp3", "");
  m_output.WriteFile("d/Songs/plain.mp3", "");
  testing::TempFolder program;
  program.WriteFile("Data/drives.dat", "D: fixed " + disk + "\n");
  const LinuxPlatform platform(program.path());
  m_settings.chkM3U = 1;
  ForceM3uOptions(&m_settings);
  const ListRequest request{platform, m_settings, Output("songs.txt"), kNow, {}, {}};
  EXPECT_EQ(Listed(WriteList(request, SongCatalog({{"D:\\Songs\\", "plain.mp3", 1, ""},
                                                   {"D:\\Songs\\", "Caf\xC3\xA9.mp3", 1, ""}})),
                   "songs.m3u"),
            "\xEF\xBB\xBF" + CrLfLines({disk + "/Songs/Caf\xE9.mp3", disk + "/Songs/plain.mp3"}));
}

TEST_F(CreateListTest, FailedWriteLeavesTheOlderFileAndNamesTheFileAndTheCause) {
  FaultyPlatform faulty(m_platform.platform());
  faulty.Fail(PlatformCall::kWriteFile, StatusCode::kNoSpace, 0);
  const CatalogTable catalog = SongCatalog({{"C:\\A\\", "a.mp3", 1, ""}});
  struct Case {
    int html, m3u;
    std::string file;
  };
  for (const Case& c : {Case{0, 0, "list.txt"}, Case{1, 0, "list.html"}, Case{0, 1, "list.m3u"}}) {
    SCOPED_TRACE(c.file);
    m_output.WriteFile(c.file, "older\r\n");
    m_settings.chkHtml = c.html;
    m_settings.chkM3U = c.m3u;
    const ListRequest request{faulty, m_settings, Output("list.txt"), kNow, {}, {}};
    const Result<std::string> written = WriteList(request, catalog);
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.code(), StatusCode::kNoSpace);
    EXPECT_EQ(written.status().message(),
              "Cannot write \"" + Output(c.file) + "\": No space left on device");
    EXPECT_EQ(Read(c.file), "older\r\n");
  }
  EXPECT_EQ(OutputFiles(), (std::vector<std::string>{"list.html", "list.m3u", "list.txt"}));

  // A folder that does not exist cannot take the list either.
  m_settings.chkHtml = 0;
  m_settings.chkM3U = 0;
  const Result<std::string> nowhere = WriteList(Request("no/such/list.txt"), catalog);
  EXPECT_EQ(nowhere.status().message(),
            "Cannot write \"" + Output("no/such/list.txt") + "\": No such file or directory");
}

TEST_F(CreateListTest, MissingHeaderOrFooterWhileHeadersAreOnWritesNothing) {
  m_settings.chkHeader = 1;
  const CatalogTable catalog = SongCatalog({{"C:\\A\\", "a.mp3", 1, ""}});
  const std::string header = m_program.Path("Header.txt");
  m_output.WriteFile("old.txt", "older\r\n");
  const auto missing = [&](const std::string& list) {
    return "The list \"" + Output(list) +
           "\" includes the header and footer texts: Cannot read \"" + header +
           "\": No such file or directory";
  };
  for (const char* one_list : {"True", "False"}) {
    m_settings.optOne = one_list;
    const Result<std::string> text = WriteList(Request("old.txt"), catalog);
    EXPECT_EQ(text.code(), StatusCode::kNotFound);
    EXPECT_EQ(text.status().message(), missing("old.txt"));
  }
  m_settings.chkHtml = 1;
  const Result<std::string> page =
      WriteList(Request("new.txt"), FileListEntries(SongFileList({{"C:\\A\\", "a.mp3", 1, ""}})));
  EXPECT_EQ(page.status().message(), missing("new.html"));
  EXPECT_EQ(OutputFiles(), std::vector<std::string>{"old.txt"});
  EXPECT_EQ(Read("old.txt"), "older\r\n");

  // With Header.txt alone a page is written, as pages have no footer; a text
  // list still needs Footer.txt.
  WriteProgramFile("Header.txt", "Top\r\n");
  EXPECT_TRUE(WriteList(Request("new.txt"), catalog).ok());
  m_settings.chkHtml = 0;
  const Result<std::string> text = WriteList(Request("old.txt"), catalog);
  EXPECT_NE(text.status().message().find("Cannot read \"" + m_program.Path("Footer.txt") +
                                         "\": No such file or directory"),
            std::string::npos)
      << text.status().message();
  EXPECT_EQ(Read("old.txt"), "older\r\n");
}

TEST_F(CreateListTest, ListIsWindows1252WhenEveryLineFitsElseUtf8BehindAByteOrderMark) {
  const std::vector<Song> western = {{"C:\\A\\", "Caf\xC3\xA9.mp3", 1, ""}};
  EXPECT_EQ(Listed(CreatFolderReport(Request(), FileListEntries(SongFileList(western)))),
            CrLfLines({"C:\\A\\", std::string(89, '='), "Caf\xE9.mp3"}));

  std::vector<Song> mixed = western;
  mixed.push_back({"C:\\A\\", "\xE6\x97\xA5\xE6\x9C\xAC.mp3", 1, ""});
  EXPECT_EQ(Listed(CreatFolderReport(Request(), FileListEntries(SongFileList(mixed)))),
            "\xEF\xBB\xBF" + CrLfLines({"", "C:\\A\\", std::string(89, '='), "Caf\xC3\xA9.mp3",
                                        "\xE6\x97\xA5\xE6\x9C\xAC.mp3"}));
}

TEST_F(CreateListTest, AnExistingPageIsReplacedNotAppendedTo) {
  m_settings.chkHtml = 1;
  const std::string two_rows = Listed(
      WriteList(Request(), SongCatalog({{"C:\\A\\", "a.mp3", 1, ""}, {"C:\\A\\", "b.mp3", 1, ""}})),
      "list.html");
  const std::string one_row =
      Listed(WriteList(Request(), SongCatalog({{"C:\\A\\", "a.mp3", 1, ""}})), "list.html");
  const auto count = [](const std::string& page, const std::string& part) {
    int found = 0;
    for (auto at = page.find(part); at != std::string::npos; at = page.find(part, at + 1)) ++found;
    return found;
  };
  EXPECT_EQ(count(two_rows, "<font size=-1>"), 2);
  EXPECT_EQ(count(one_row, "<font size=-1>"), 1);
  EXPECT_EQ(count(one_row, "<HTML>"), 1);
}

// Two CDs read through E: with one folder name, and a file of C:.
CatalogTable TwoCdCatalog() {
  CatalogTable catalog = SongCatalog({{"E:\\Ghost Sweets\\", "a.mp3", 1, "128"},
                                      {"E:\\Ghost Sweets\\", "b.mp3", 2, "128"},
                                      {"C:\\Music\\", "c.mp3", 3, "128"}});
  catalog.MutableRecord(1).disk_label = "Music01";
  catalog.MutableRecord(2).disk_label = "<Music & 02>";
  return catalog;
}

TEST_F(CreateListTest, DiskLabelsNameEachFilesDiskInEveryListButThePlaylist) {
  const CatalogTable catalog = TwoCdCatalog();
  ListRequest request = Request("cds.txt");
  request.show_disk_labels = true;
  m_settings.optOne = "False";
  m_settings.optSeperate = "True";
  const std::string rule = ListRule(m_settings);
  // One group per disk, though the folder is the same.
  EXPECT_EQ(Listed(WriteList(request, catalog), "cds.txt"),
            CrLfLines({"E:\\Ghost Sweets\\  [Music01]", rule, "a.mp3", "",
                       "E:\\Ghost Sweets\\  [<Music & 02>]", rule, "b.mp3", "", "C:\\Music\\", rule,
                       "c.mp3"}));
  m_settings.chkHtml = 1;
  EXPECT_NE(Listed(WriteList(request, catalog), "cds.html")
                .find("E:\\Ghost Sweets\\  [&lt;Music &amp; 02&gt;]</b>"),
            std::string::npos);

  // A single list puts the label after the name, the search result's too.
  m_settings.optOne = "True";
  m_settings.optSeperate = "False";
  const std::string page = Listed(WriteList(request, catalog), "cds.html");
  EXPECT_NE(page.find(">a.mp3  [Music01]<"), std::string::npos);
  EXPECT_NE(page.find(">c.mp3<"), std::string::npos);
  m_settings.chkHtml = 0;
  // (Names padded to the name and size columns, as a catalog's single list has them.)
  EXPECT_EQ(
      Listed(WriteList(request, catalog), "cds.txt"),
      CrLfLines({"a.mp3  [Music01]" + testing::Blanks(70),
                 "b.mp3  [<Music & 02>]" + testing::Blanks(65), "c.mp3" + testing::Blanks(81)}));
  ListModel found = SongFileList({{"E:\\Ghost Sweets\\", "a.mp3", 1, "128"}});
  found.SetCell(0, kColDiskLabel, "Music01");
  EXPECT_EQ(Listed(WriteList(request, FileListEntries(found)), "cds.txt"),
            CrLfLines({"a.mp3  [Music01]"}));

  // A playlist is the same with labels or without.
  m_settings.chkM3U = 1;
  const std::string with_labels = Listed(WriteList(request, catalog), "cds.m3u");
  request.show_disk_labels = false;
  EXPECT_EQ(Listed(WriteList(request, catalog), "cds.m3u"), with_labels);
}

}  // namespace
}  // namespace tallymere
