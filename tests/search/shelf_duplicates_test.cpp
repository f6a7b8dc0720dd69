// The duplicate walk over a shelf gives the sets one catalog holding every
// file record of the shelf would give, in the same order.

#include "search/shelf_duplicates.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog/data_file.h"
#include "support/temp_folder.h"
#include "support/test_platform.h"

namespace tallymere {
namespace {

CatalogRecord File(const std::string& path, const std::string& name) {
  CatalogRecord record;
  record.path = path;
  record.disk_label = "C:\\";
  record.file_name = name;
  record.size = 1;
  return record;
}

TEST(ShelfDuplicatesTest, TheShelfIsWalkedAsOneCatalogOfAllItsFileRecords) {
  testing::TempFolder folder;
  const testing::TestPlatform platform(folder.Path("program"));
  const std::vector<std::vector<std::string>> shelf_names = {
      {"x.mp3", "Song.mp3", "01 - Artist - Title of the song.mp3", "a_love_me.mp3"},
      {"song.mp3", "x.mp3", "Ünïcode Länge Name Über.mp3"},
      {"x.mp3", "Song.mp3", "02 - Artist - Title of the song.mp3", "b_love_me.mp3",
       "Önïcode Länge Name Über.mp3"}};
  std::vector<std::string> files;
  CatalogTable whole;  // every file record of the shelf, in shelf order
  int whole_index = 1;
  for (std::size_t c = 0; c < shelf_names.size(); ++c) {
    CatalogTable table;
    int index = 1;
    for (const std::string& name : shelf_names[c]) {
      const CatalogRecord record = File("C:\\" + std::to_string(c) + "\\", name);
      table.SetRecord(index++, record);
      whole.SetRecord(whole_index++, record);
    }
    table.SetRecord(index, MakeTrailer("mp3", 1, "then"));
    files.push_back(folder.WriteFile(std::to_string(c) + ".mpd", ""));
    ASSERT_TRUE(SaveDataFile(platform, table, files.back()).ok());
  }
  files.insert(files.begin() + 1, folder.WriteFile("damaged.mpd", "not a catalog"));

  for (const DuplicateRule rule :
       {DuplicateRule::kExact, DuplicateRule::kNotSoExact, DuplicateRule::kAnyPossible}) {
    SCOPED_TRACE(static_cast<int>(rule));
    const DuplicateSets expected = FindDuplicates(whole, whole_index - 1, rule);
    const ShelfDuplicateSets sets = FindShelfDuplicates(platform, files, rule);
    EXPECT_EQ(sets.count, expected.count);
    EXPECT_EQ(sets.files, whole_index - 1);
    ASSERT_EQ(sets.pairs.size(), expected.pairs.size());
    for (std::size_t i = 0; i < sets.pairs.size(); ++i) {
      for (const auto& [row, record] :
           {std::pair{sets.pairs[i].first, expected.pairs[i].first},
            std::pair{sets.pairs[i].second, expected.pairs[i].second}}) {
        EXPECT_EQ(sets.rows[row].record.path + sets.rows[row].record.file_name,
                  whole.Record(record).path + whole.Record(record).file_name);
      }
    }
    ASSERT_EQ(sets.problems.size(), 1u);
    EXPECT_EQ(sets.problems[0].catalog, 1);
  }

  // Cut after two sets: the first two of the walk, the count goes on.
  const ShelfDuplicateSets cut = FindShelfDuplicates(platform, files, DuplicateRule::kExact, 2);
  EXPECT_EQ(cut.pairs.size(), 2u);
  EXPECT_EQ(cut.count, 4);  // x.mp3 three times, Song.mp3 twice
  EXPECT_TRUE(cut.cut());
  EXPECT_EQ(cut.rows.size(), 3u);  // the three x.mp3
}

}  // namespace
}  // namespace tallymere
