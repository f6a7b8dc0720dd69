#include "search/find.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <string>
#include <vector>

#include "catalog/catalog_record.h"
#include "common/letter_case.h"

namespace tallymere {
namespace {

CatalogRecord File(std::string path, std::string name, std::string label = "C:\\") {
  CatalogRecord record;
  record.path = std::move(path);
  record.file_name = std::move(name);
  record.disk_label = std::move(label);
  return record;
}

// The File names of the records found, in record order.
std::vector<std::string> Names(const CatalogTable& table, const std::vector<int>& found) {
  std::vector<std::string> names;
  for (int index : found) names.push_back(table.Record(index).file_name);
  return names;
}

using Names_ = std::vector<std::string>;

class FindTest : public ::testing::Test {
 protected:
  FindTest() {
    int i = 1;
    for (const CatalogRecord& record :
         {File("C:\\Music\\", "Love Song.mp3"), File("C:\\Docs\\", "glove.txt"),
          File("D:\\Music\\", "A.MP3"), File("C:\\Odd\\", "xmp3"), File("C:\\Music\\", "a.mp3.bak"),
          File("C:\\Web\\", "index.HTML"), File("C:\\Web\\", "page.htm"),
          File("E:\\", "cd.mp3", "MyCD"), File("E:\\Sub\\", "deep.mp3", "MyCD"),
          File("E:\\Sub\\", "other.mp3", "Other")}) {
      m_table.SetRecord(i++, record);
    }
    m_table.SetRecord(i, MakeTrailer("mp3", 1, "then"));
  }
  std::vector<std::string> Find(std::string text, std::string type, std::string drive,
                                bool all = false) {
    return Names(m_table, FindRecords(m_table, FindQuery{std::move(text), std::move(type),
                                                         std::move(drive), all}));
  }
  CatalogTable m_table;
};

TEST_F(FindTest, FindsByTextTypeAndDriveIgnoringLetterCase) {
  // Empty text and any type in all drives: every file, never the trailer.
  EXPECT_EQ(Find("", "*.*", "", true).size(), 10u);
  EXPECT_EQ(Find("LOVE", "*.*", "", true), (Names_{"Love Song.mp3", "glove.txt"}));
  // The type looks at the last three characters: A.MP3 and xmp3, not a.mp3.bak.
  EXPECT_EQ(Find("", "*.mp3", "", true),
            (Names_{"Love Song.mp3", "A.MP3", "xmp3", "cd.mp3", "deep.mp3", "other.mp3"}));
  // A four-letter type: names that end with it.
  EXPECT_EQ(Find("", "*.html", "", true), (Names_{"index.HTML"}));
  // Every audio format by its extension: not xmp3, not a.mp3.bak.
  EXPECT_EQ(Find("", "*.audio", "", true),
            (Names_{"Love Song.mp3", "A.MP3", "cd.mp3", "deep.mp3", "other.mp3"}));
  // One drive: d: finds nothing of C:, even when the text matches.
  EXPECT_EQ(Find("love", "*.*", "d:"), Names_{});
  EXPECT_EQ(Find("", "*.*", "D:"), (Names_{"A.MP3"}));
  EXPECT_EQ(Find("", "*.*", ""), Names_{});  // no drive chosen
  EXPECT_EQ(FindExtension("*.MP3"), "mp3");
  EXPECT_EQ(FindExtension("*.*"), "");
}

TEST(FindLetterCaseTest, EveryScriptsLettersMatchInEitherCase) {
  CatalogTable table;
  int i = 1;
  for (const char* name : {"Кино - Группа крови.mp3", "Björk - Jóga.mp3", "Σίγουρα.mp3",
                           "ĲSSELMEER.mp3", "caf\xE9.mp3", "plain.mp3"}) {
    table.SetRecord(i++, File("C:\\Music\\", name));
  }
  const auto find = [&](std::string text) {
    return Names(table, FindRecords(table, FindQuery{std::move(text), "*.*", "", true}));
  };
  EXPECT_EQ(find("кино"), (Names_{"Кино - Группа крови.mp3"}));
  EXPECT_EQ(find("ГРУППА"), (Names_{"Кино - Группа крови.mp3"}));
  EXPECT_EQ(find("BJÖRK"), (Names_{"Björk - Jóga.mp3"}));
  EXPECT_EQ(find("JÓGA"), (Names_{"Björk - Jóga.mp3"}));
  EXPECT_EQ(find("ΣΊΓΟΥΡΑ"), (Names_{"Σίγουρα.mp3"}));
  EXPECT_EQ(find("ĳssel"), (Names_{"ĲSSELMEER.mp3"}));
  // A byte that is no character stays itself and is still found as itself.
  EXPECT_EQ(find("CAF\xE9"), (Names_{"caf\xE9.mp3"}));
  // An ASCII text still finds ASCII letters inside names of other scripts.
  EXPECT_EQ(find("MP3").size(), 6u);
  EXPECT_EQ(find("bjork"), Names_{});  // o and ö are other letters
  EXPECT_EQ(FoldCase("ÄÖÜ ΑΒΓ АБВ ÇA"), "äöü αβγ абв ça");
}

TEST_F(FindTest, ANodeTakesItsFolderTreeOrItsDiskOrItsFolderOnTheDisk) {
  const auto under = [&](std::string_view key, bool disks) {
    return Names(m_table, FindRecords(m_table, NodeKey::Parse(key, disks)));
  };
  EXPECT_EQ(under("C:\\Music\\", false), (Names_{"Love Song.mp3", "a.mp3.bak"}));
  EXPECT_EQ(under("C:\\", false).size(), 6u);
  EXPECT_EQ(under("E:\\MyCD\\", true), (Names_{"cd.mp3", "deep.mp3"}));
  // A folder on the disk: that disk's records below the folder only.
  EXPECT_EQ(under("E:\\mycd\\Sub\\", true), (Names_{"deep.mp3"}));
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

TEST(FindKeyTest, ARecordLiesUnderEachKeyItsFolderKeyBeginsWith) {
  const auto records = std::to_array<CatalogRecord>(
      {File("C:\\Music\\Pop\\", "a.mp3"), File("E:\\", "b.mp3", "MyCD"),
       File("E:\\Sub\\Deep\\", "c.mp3", "MyCD"), File("E:\\Sub\\", "d.mp3", "Other"),
       File("E:\\", "e.mp3", "E:\\"), File("", "*.mp3", "")});
  const auto keys = std::to_array<std::string>(
      {"C:\\", "c:\\music\\", "C:\\Music\\Pop\\", "C:\\Music\\Po", "C:\\Music\\Pop\\More\\", "E:\\",
       "E:\\MyCD\\", "e:\\mycd\\sub\\", "E:\\MyCD\\Sub\\Deep\\", "E:\\MyCD\\Sub\\Deep\\x\\",
       "E:\\Other\\Sub\\", "E:\\My", "E:\\Sub\\", ""});
  for (const CatalogRecord& record : records) {
    for (const std::string& key : keys) {
      EXPECT_EQ(LiesUnderKey(record, key), Lower(FolderKey(record)).starts_with(Lower(key)))
          << record.path << " " << key;
    }
  }
  EXPECT_TRUE(LiesUnderKey(records[2], "E:\\MyCD\\Sub\\"));
  EXPECT_FALSE(LiesUnderKey(records[3], "E:\\MyCD\\"));
  EXPECT_FALSE(LiesUnderKey(records[4], "E:\\MyCD\\"));
}

}  // namespace
}  // namespace tallymere
