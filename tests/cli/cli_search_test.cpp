// tallymere-cli find and dupes, run as the real program, against the rows the
// main window's file list would show for the same records.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "catalog/data_file.h"
#include "cli/cli_runner.h"
#include "search/find.h"
#include "support/test_platform.h"
#include "views/file_list_row.h"

namespace tallymere {
namespace {

using testing::CliRun;
using ::testing::IsEmpty;
using testing::JsonLines;
using testing::RunCli;
using testing::TempFolder;
using Json = nlohmann::ordered_json;

const std::string kHeader =
    "file_name\tpath\tsize\tmodified\tbitrate\ttime\tartist\ttitle\talbum\tdisk_label\n";

CatalogRecord File(std::string path, std::string name, std::string label, int32_t size) {
  CatalogRecord record;
  record.bitrate = "128";
  record.disk_label = std::move(label);
  record.path = std::move(path);
  record.file_name = std::move(name);
  record.modified = "then";
  record.time = "03:00";
  record.size = size;
  record.artist = "Ann";
  record.album = "A";
  record.title = "T";
  return record;
}

// The records, the trailer, and the records an earlier scan left after it.
CatalogTable Table(std::vector<CatalogRecord> records, std::vector<CatalogRecord> after = {}) {
  CatalogTable table;
  int i = 1;
  for (CatalogRecord& record : records) table.SetRecord(i++, std::move(record));
  table.SetRecord(i++, MakeTrailer("mp3", 1, "built"));
  for (CatalogRecord& record : after) table.SetRecord(i++, std::move(record));
  return table;
}

std::string Save(const CatalogTable& table, const std::string& path) {
  EXPECT_TRUE(SaveDataFile(testing::TestPlatform(), table, path).ok());
  return path;
}

// Folders of the fixed drive C:, a CD labelled MyCD and another disk in E:,
// and a stick scanned as the drive F: itself.
CatalogTable Catalog() {
  CatalogRecord love = File("C:\\Music\\Pop\\", "Love Song.mp3", "C:\\", 1048576);
  love.artist = std::string("Ann\0\0", 5);  // NUL padding the list does not show
  love.time = "-01:-01";                    // shown as 00:00
  return Table({love, File("C:\\Music\\", "glove.txt", "C:\\", 10),
                File("C:\\Music\\Pop\\", "b.mp3", "C:\\", 2000),
                File("E:\\", "B.mp3", "MyCD", 3000), File("E:\\Sub\\", "a.MP3", "MyCD", 4000),
                File("E:\\Sub\\", "Caf\xC3\xA9\t1.mp3", "Other", 5000),
                File("F:\\Docs\\", "b.mp3", "F:\\", 6000),
                File("C:\\Music\\Pop\\", "love song.MP3", "C:\\", 524288),
                File("C:\\Music\\", "a_love_me.mp3", "C:\\", 7000),
                File("E:\\", "b_love_me.mp3", "MyCD", 8000)});
}

// What the file list shows for these records once a search has listed them
// and sorted them by File name, one tab-separated line per row.
std::string WindowLines(const CatalogTable& table, const std::vector<int>& found) {
  ListModel list = MakeFileList();
  std::vector<ListRow> rows;
  for (int index : found) rows.push_back(FileListRow(table.Record(index), 1));
  list.AddRows(std::move(rows));
  list.SetSortKey(kColFileName);
  list.SetSorted(true);
  std::string lines = kHeader;
  for (int row = 0; row < list.row_count(); ++row) {
    for (int column = 0; column < kFileListColumns; ++column) {
      std::string cell = list.Cell(row, column);
      for (char& c : cell) {
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
      }
      lines += (column == 0 ? "" : "\t") + cell;
    }
    lines += "\n";
  }
  return lines;
}

// A row of the small catalog as the list shows it.
std::string Row(const std::string& name, const std::string& path, int size,
                const std::string& label, const std::string& time = "03:00") {
  return name + "\t" + path + "\t" + std::to_string(size) + "\tthen\t128\t" + time +
         "\tAnn\tT\tA\t" + label + "\n";
}

class CliSearchTest : public ::testing::Test {
 protected:
  CliSearchTest() : m_table(Catalog()), m_path(Save(m_table, m_folder.Path("m.mpd"))) {}
  CliRun Run(std::vector<std::string> args) {
    args.push_back(m_path);
    return RunCli(args, m_folder);
  }

  TempFolder m_folder;
  CatalogTable m_table;
  std::string m_path;
};

TEST_F(CliSearchTest, FindListsWhatTheWindowListsSortedByFileNameAndSaysSo) {
  struct Case {
    std::vector<std::string> args;
    FindQuery query;
    std::string status;
  };
  // A status ending in "\n" is the whole of stderr.
  const Case cases[] = {
      {{"find"}, {"", "*.*", "", true}, "Total 10 file(s) found.\t10 object(s)\t1.53 MB\n"},
      {{"find", "--text", "nothing like it"},
       {"nothing like it", "*.*", "", true},
       "Total 0 file(s) found.\t0 object(s)\t0.00 MB\n"},
      {{"find", "--text", "LOVE"}, {"LOVE", "*.*", "", true}, "Total 5 file(s) found."},
      {{"find", "--text", "love", "--type", "*.MP3"}, {"love", "*.MP3", "", true}, "Total 4"},
      {{"find", "--type", "*.txt", "--drive", "C:"}, {"", "*.txt", "C:", false}, "Total 1 "},
      {{"find", "--drive", "e:"}, {"", "*.*", "e:", false}, "Total 4 file(s) found."},
      {{"find", "--text", "b.", "--drive", "f:"}, {"b.", "*.*", "f:", false}, "Total 1 "},
      {{"find", "--text", "love", "--drive", "d:"}, {"love", "*.*", "d:", false}, "Total 0 "},
      {{"find", "--type", "*.html"}, {"", "*.html", "", true}, "Total 0 file(s) found."},
  };
  for (const Case& c : cases) {
    const CliRun run = Run(c.args);
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.out, WindowLines(m_table, FindRecords(m_table, c.query))) << c.args.back();
    EXPECT_TRUE(run.err.starts_with(c.status)) << run.err;
  }
}

TEST_F(CliSearchTest, FindJsonCarriesEachRowsCellsWithTheSizeAsANumber) {
  const CliRun run = Run({"find", "--json", "--text", "a"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  const std::vector<Json> rows = JsonLines(run.out);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].dump(),
            "{\"file_name\":\"a.MP3\",\"path\":\"E:\\\\Sub\\\\\",\"size\":4000,\"modified\":"
            "\"then\",\"bitrate\":\"128\",\"time\":\"03:00\",\"artist\":\"Ann\",\"title\":\"T\","
            "\"album\":\"A\",\"disk_label\":\"MyCD\"}");
  EXPECT_EQ(rows[1]["file_name"], "a_love_me.mp3");
  EXPECT_EQ(rows[2]["file_name"], "Caf\xC3\xA9\t1.mp3");  // the tab kept
}

TEST_F(CliSearchTest, UnderListsAFixedDrivesFolderALabelledDiskOrAFolderOnIt) {
  struct Case {
    std::string key;
    bool fixed;  // what the drive map of the machine the catalog came from would say
    std::string status;
  };
  const Case cases[] = {
      {"C:\\Music\\", true, "Contents of:  C:\\Music\\\t5 object(s)\t1.51 MB\n"},
      {"c:\\music\\pop\\", true, "Contents of:  c:\\music\\pop\\\t3 object(s)\t1.50 MB\n"},
      {"C:\\", true, "Contents of:  C:\\\t5 object(s)\t1.51 MB\n"},
      {"E:\\MyCD\\", false, "Contents of:  E:\\MyCD\\\t3 object(s)\t0.01 MB\n"},
      {"E:\\MyCD\\Sub\\", false, "Contents of:  E:\\MyCD\\Sub\\\t1 object(s)\t0.00 MB\n"},
      {"E:\\Other\\Sub\\", false, "Contents of:  E:\\Other\\Sub\\\t1 object(s)\t0.00 MB\n"},
      // A stick catalogued as the drive itself has drive-root labels only.
      {"F:\\", true, "Contents of:  F:\\\t1 object(s)\t0.01 MB\n"},
      {"G:\\Nothing\\", true, "Contents of:  G:\\Nothing\\\t0 object(s)\t0.00 MB\n"},
  };
  for (const Case& c : cases) {
    const CliRun run = Run({"find", "--under", c.key});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    const NodeKey node = NodeKey::Parse(c.key, !c.fixed);
    EXPECT_EQ(run.out, WindowLines(m_table, FindRecords(m_table, node))) << c.key;
    EXPECT_EQ(run.err, c.status);
  }

  // A drive that holds labelled disks is no folder of its own.
  const CliRun drive = Run({"find", "--under", "E:\\"});
  EXPECT_EQ(drive.exit_code, 1);
  EXPECT_THAT(drive.out, IsEmpty());
  EXPECT_EQ(drive.err,
            "tallymere-cli find: E:\\ holds labelled disks. Please select a disk label instead.\n");
}

TEST_F(CliSearchTest, DupesPrintsEachSetAsTwoRowsAndABlankLineAndTheWindowsResult) {
  const std::string b3 = "b.mp3\tC:\\Music\\Pop\\\t2000\tthen\t128\t03:00\tAnn\tT\tA\tC:\\\n";
  const std::string b7 = Row("b.mp3", "F:\\Docs\\", 6000, "F:\\");
  const CliRun exact = Run({"dupes", "--exact"});
  EXPECT_EQ(exact.exit_code, 0) << exact.err;
  EXPECT_EQ(exact.out, kHeader + b3 + b7 + "\n");
  EXPECT_EQ(exact.err, "Found 1 duplicate set(s) in 10 files.\n");

  // Every name is shorter than 22 characters, so it is compared whole.
  const CliRun near = Run({"dupes", "--near"});
  EXPECT_EQ(near.out, exact.out);
  EXPECT_EQ(near.err, "Found 1 possible duplicate set(s) in 10 files.\n");

  const CliRun any = Run({"dupes", "--any"});
  EXPECT_EQ(any.out, kHeader + b3 + b7 + "\n" + Row("a_love_me.mp3", "C:\\Music\\", 7000, "C:\\") +
                         Row("b_love_me.mp3", "E:\\", 8000, "MyCD") + "\n");
  EXPECT_EQ(any.err, "Found 2 possible duplicate set(s) in 10 files.\n");

  const CliRun json = Run({"dupes", "--any", "--json"});
  EXPECT_EQ(json.exit_code, 0);
  const std::vector<Json> rows = JsonLines(json.out);
  ASSERT_EQ(rows.size(), 4u) << json.out;
  EXPECT_EQ(rows[0].dump(),
            "{\"set\":1,\"file_name\":\"b.mp3\",\"path\":\"C:\\\\Music\\\\Pop\\\\\",\"size\":2000,"
            "\"modified\":\"then\",\"bitrate\":\"128\",\"time\":\"03:00\",\"artist\":\"Ann\","
            "\"title\":\"T\",\"album\":\"A\",\"disk_label\":\"C:\\\\\"}");
  EXPECT_EQ(rows[1]["path"], "F:\\Docs\\");
  EXPECT_EQ(rows[2]["set"], 2);
  EXPECT_EQ(rows[2]["file_name"], "a_love_me.mp3");
  EXPECT_EQ(rows[3]["set"], 2);
  EXPECT_EQ(rows[3]["file_name"], "b_love_me.mp3");
  EXPECT_EQ(json.err, any.err);
}

// Records past the catalog's end (after the trailer) are no file records: a
// find walks on to them, as the window's does, the duplicate walk does not.
TEST(CliDupesTest, TheWalkCoversTheCatalogsFilesOnly) {
  TempFolder folder;
  const std::string path =
      Save(Table({File("C:\\A\\", "x.mp3", "C:\\", 1), File("C:\\B\\", "y.mp3", "C:\\", 2)},
                 {File("C:\\C\\", "x.mp3", "C:\\", 3)}),
           folder.Path("after.mpd"));

  const CliRun dupes = RunCli({"dupes", "--exact", path}, folder);
  EXPECT_EQ(dupes.exit_code, 0);
  EXPECT_EQ(dupes.out, kHeader);
  EXPECT_EQ(dupes.err, "Found 0 duplicate set(s) in 2 files.\n");
  EXPECT_EQ(RunCli({"find", "--text", "x", path}, folder).err,
            "Total 2 file(s) found.\t2 object(s)\t0.00 MB\n");
}

TEST(CliDupesTest, ListsTheFirstHundredThousandSetsOfTheWalkAndCountsThemAll) {
  // 450 files named alike: 101,025 sets. Each record's folder is its number.
  TempFolder folder;
  std::vector<CatalogRecord> records;
  for (int i = 1; i <= 450; ++i) {
    records.push_back(File("C:\\" + std::to_string(i) + "\\", "x.mp3", "C:\\", i));
  }
  const std::string path = Save(Table(records), folder.Path("many.mpd"));
  const CliRun run = RunCli({"dupes", "--exact", path}, folder);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.err,
            "Found 101025 duplicate set(s) in 450 files. Only the first 100000 are listed.\n");
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1 + 3 * 100000);
  EXPECT_TRUE(run.out.starts_with(kHeader + Row("x.mp3", "C:\\1\\", 1, "C:\\") +
                                  Row("x.mp3", "C:\\2\\", 2, "C:\\") + "\n"));
  const CliRun json = RunCli({"dupes", "--exact", "--json", path}, folder);
  const std::string last_line = json.out.substr(json.out.rfind('\n', json.out.size() - 2) + 1);
  EXPECT_TRUE(last_line.starts_with("{\"set\":100000,\"file_name\":\"x.mp3\"")) << last_line;
  EXPECT_EQ(std::count(json.out.begin(), json.out.end(), '\n'), 2 * 100000);
}

// Two shelf catalogs holding the same song, and a damaged one beside them.
TEST(CliShelfTest, FindAndDupesOverAFolderOfCatalogsNameEachRowsCatalog) {
  TempFolder folder;
  const auto save = [&](const std::string& relative, std::vector<CatalogRecord> records) {
    Save(Table(records), folder.WriteFile(relative, ""));
  };
  CatalogRecord moon = File("C:\\Music\\", "Moon River.mp3", "C:\\", 100);
  moon.artist = "Henry Moon";
  save("shelf/Attic.mpd", {moon, File("C:\\Music\\", "Sun.mp3", "C:\\", 200)});
  moon.path = "E:\\";
  moon.disk_label = "Mix CD";
  save("shelf/Basement.mpd", {moon});
  const std::string damaged = folder.WriteFile("shelf/Cellar.mpd", "\x07\x00damaged");
  save("shelf/older/Box.mpd", {File("D:\\", "Moon River.mp3", "D:\\", 300)});
  const std::string shelf = folder.Path("shelf");

  const CliRun run = RunCli({"find", "--in", "artist", "--text", "MOON", shelf}, folder);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "catalog\t" + kHeader +
                         "Attic.mpd\tMoon River.mp3\tC:\\Music\\\t100\tthen\t128\t03:00\tHenry "
                         "Moon\tT\tA\tC:\\\n"
                         "Basement.mpd\tMoon River.mp3\tE:\\\t100\tthen\t128\t03:00\tHenry "
                         "Moon\tT\tA\tMix CD\n");
  // The damaged catalog is named with the reason, after the others were searched.
  EXPECT_THAT(run.err, ::testing::HasSubstr("tallymere-cli: This is not a Tallymere data file, or "
                                            "it is damaged: \"" +
                                            damaged + "\""));
  EXPECT_THAT(run.err,
              ::testing::EndsWith(
                  "Total 2 file(s) found.\t2 object(s)\t0.00 MB\t2 data file(s) searched\n"));

  const CliRun deep = RunCli({"find", "--json", "--recursive", "--text", "moon", shelf}, folder);
  const std::vector<Json> rows = JsonLines(deep.out);
  ASSERT_EQ(rows.size(), 3u) << deep.out;
  EXPECT_EQ(rows[2]["catalog"], "Box.mpd");
  EXPECT_EQ(rows[2]["path"], "D:\\");
  const CliRun bounded = RunCli({"find", "--min-size", "150", "--max-size", "250", shelf}, folder);
  EXPECT_THAT(bounded.out, ::testing::HasSubstr("Attic.mpd\tSun.mp3"));
  EXPECT_EQ(std::count(bounded.out.begin(), bounded.out.end(), '\n'), 2);

  const CliRun dupes = RunCli({"dupes", "--exact", "--recursive", shelf}, folder);
  EXPECT_EQ(dupes.exit_code, 1);
  EXPECT_THAT(dupes.out, ::testing::HasSubstr("Attic.mpd\tMoon River.mp3\t"));
  EXPECT_THAT(dupes.err, ::testing::EndsWith("Found 3 duplicate set(s) in 4 files.\n"));
  EXPECT_EQ(std::count(dupes.out.begin(), dupes.out.end(), '\n'), 1 + 3 * 3);

  for (const std::vector<std::string>& refused :
       {std::vector<std::string>{"find", "--after", "2021-02-30", shelf},
        std::vector<std::string>{"find", "--in", "lyrics", shelf},
        std::vector<std::string>{"find", "--min-time", "3:75", shelf},
        std::vector<std::string>{"find", "--under", "C:\\", shelf, shelf}}) {
    EXPECT_TRUE(testing::Refused(RunCli(refused, folder), "")) << refused[1];
  }
}

}  // namespace
}  // namespace tallymere
