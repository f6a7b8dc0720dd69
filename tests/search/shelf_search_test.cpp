// Find in Catalogs' engine: the condition on every field and bound, the
// shelf's folders, and a search over data files sound and damaged.

#include "search/shelf_search.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "catalog/data_file.h"
#include "common/format.h"
#include "search/shelf.h"
#include "support/faulty_platform.h"
#include "support/temp_folder.h"
#include "support/test_platform.h"

namespace tallymere {
namespace {

using testing::TempFolder;
using Names = std::vector<std::string>;

struct Song {
  const char *path, *name, *artist, *title, *album;
  int32_t size = 4000000;
  const char *bitrate = "128", *time = "04:09", *label = "C:\\";
  std::time_t modified = 1262304000;  // 2010-01-01 00:00 UTC
};

CatalogTable Catalog(const std::vector<Song>& songs) {
  CatalogTable table;
  int index = 1;
  for (const Song& s : songs) {  // the record's fields in their order
    table.SetRecord(index++, {s.bitrate,
                              s.label,
                              s.path,
                              s.name,
                              FormatDateTime(s.modified),
                              s.time,
                              s.size,
                              s.artist,
                              s.album,
                              s.title,
                              {}});
  }
  table.SetRecord(index, MakeTrailer("mp3", 1, FormatDateTime(0)));
  return table;
}

class ShelfSearchTest : public ::testing::Test {
 protected:
  std::string Save(const std::string& relative, const std::vector<Song>& songs) {
    const std::string path = m_folder.WriteFile(relative, "");
    EXPECT_TRUE(SaveDataFile(m_platform, Catalog(songs), path).ok());
    return path;
  }
  // "catalog:file name" of every row.
  static Names Rows(const ShelfSearchResult& result) {
    Names rows;
    for (const ShelfRow& row : result.rows) {
      rows.push_back(std::to_string(row.catalog) + ":" + row.record.file_name);
    }
    return rows;
  }

  TempFolder m_folder;
  testing::TestPlatform m_platform{m_folder.Path("program")};
};

TEST_F(ShelfSearchTest, TheConditionLooksInOneFieldOrAnyAndHoldsEveryBound) {
  const std::string file = Save(
      "shelf/a.mpd",
      {{"C:\\Music\\Moon\\", "01 - River.mp3", "Henry Moon", "River", "Blue Night", 3000000, "128",
        "03:05"},
       {"C:\\Music\\Sun\\", "02 - Moon River.mp3", "Sun Band", "Moon River", "Café Moon", 8000000,
        "320", "07:59", "C:\\", 1600000000},
       {"E:\\", "03 - Other.MP3", "Ölund", "Ångström", "Live", 500000, "---", "---", "MoonDisk"},
       {"C:\\Docs\\", "moon.txt", "", "", "", 100, "", ""}});
  const auto find = [&](CatalogCondition condition) {
    return Rows(SearchShelf(m_platform, {file}, condition));
  };
  EXPECT_EQ(find({.text = "MOON"}), (Names{"0:02 - Moon River.mp3", "0:moon.txt"}));
  EXPECT_EQ(find({.text = "moon", .field = SearchField::kArtist}), (Names{"0:01 - River.mp3"}));
  EXPECT_EQ(find({.text = "moon", .field = SearchField::kTitle}), (Names{"0:02 - Moon River.mp3"}));
  EXPECT_EQ(find({.text = "café", .field = SearchField::kAlbum}), (Names{"0:02 - Moon River.mp3"}));
  // Letter case is ignored in every script, not only A to Z.
  EXPECT_EQ(find({.text = "ÅNGSTRÖM", .field = SearchField::kTitle}), (Names{"0:03 - Other.MP3"}));
  EXPECT_EQ(find({.text = "ölund", .field = SearchField::kArtist}), (Names{"0:03 - Other.MP3"}));
  EXPECT_EQ(find({.text = "Ångström", .field = SearchField::kTitle}), (Names{"0:03 - Other.MP3"}));
  EXPECT_EQ(find({.text = "\\moon\\", .field = SearchField::kPath}), (Names{"0:01 - River.mp3"}));
  EXPECT_EQ(find({.text = "moondisk", .field = SearchField::kDiskLabel}),
            (Names{"0:03 - Other.MP3"}));
  EXPECT_EQ(find({.text = "moon", .field = SearchField::kAny}).size(), 4u);
  EXPECT_EQ(find({.text = "moon", .field = SearchField::kAny, .type_pattern = "*.mp3"}).size(), 3u);
  // Bounds: a field without a value passes none.
  EXPECT_EQ(find({.min_size = 3000000, .max_size = 4000000}), (Names{"0:01 - River.mp3"}));
  EXPECT_EQ(find({.min_bitrate = 192}), (Names{"0:02 - Moon River.mp3"}));
  EXPECT_EQ(find({.min_seconds = 185, .max_seconds = 185}), (Names{"0:01 - River.mp3"}));
  EXPECT_EQ(find({.min_seconds = 186}), (Names{"0:02 - Moon River.mp3"}));
  const std::time_t day_2020 = *ParseDay("2020-01-01");
  EXPECT_EQ(find({.modified_from = day_2020}), (Names{"0:02 - Moon River.mp3"}));
  EXPECT_EQ(find({.modified_until = day_2020}).size(), 3u);
  EXPECT_EQ(find({.text = std::string(10000, 'x'), .field = SearchField::kAny}), Names{});
  EXPECT_EQ(find({.min_size = 5, .max_size = 4}), Names{});

  EXPECT_FALSE(ParseDay("2021-02-30"));
  EXPECT_FALSE(ParseDay("2021-2-3"));
  EXPECT_FALSE(ParseDay("yesterday"));
}

TEST_F(ShelfSearchTest, CatalogsAreSearchedInShelfOrderAndADamagedOneIsNamedNotSearched) {
  const std::string first = Save("shelf/1.mpd", {{"C:\\A\\", "Song.mp3", "X", "Song", "A"}});
  const std::string damaged = m_folder.WriteFile("shelf/2.mpd", "\x05\x00ab");
  const std::string empty = m_folder.WriteFile("shelf/3.mpd", "");
  const std::string second = Save("shelf/4.mpd", {{"D:\\B\\", "Song.mp3", "Y", "Song", "B"},
                                                  {"D:\\B\\", "Other.mp3", "Y", "Other", "B"}});
  const std::string gone = m_folder.Path("shelf/5.mpd");
  const ShelfSearchResult result =
      SearchShelf(m_platform, {first, damaged, empty, second, gone}, {.text = "song"});
  EXPECT_EQ(Rows(result), (Names{"0:Song.mp3", "3:Song.mp3"}));
  EXPECT_EQ(result.matched, 2);
  EXPECT_EQ(result.total_size, 8000000);
  EXPECT_EQ(result.searched, 3);
  Names problems;
  for (const auto& problem : result.problems) {
    problems.push_back(std::to_string(problem.catalog) + " " + ShortCause(problem.status));
  }
  EXPECT_EQ(problems, (Names{"1 damaged", "4 gone"}));

  // Refused reads say why in a word.
  testing::FaultyPlatform faulty(m_platform);
  faulty.Fail(testing::PlatformCall::kReadFile, StatusCode::kNoAccess, 1, "1.mpd");
  EXPECT_EQ(ShortCause(SearchShelf(faulty, {first}, {}).problems.at(0).status), "no access");
  EXPECT_EQ(ShortCause(SearchShelf(m_platform, {m_folder.Path("shelf")}, {}).problems.at(0).status),
            "not a file");
}

TEST_F(ShelfSearchTest, ManyCatalogsKeepTheirOrderAndACancelledSearchSaysSo) {
  std::vector<std::string> files;
  for (int i = 0; i < 300; ++i) {
    const std::string name = "n" + std::to_string(i) + ".mp3";
    files.push_back(
        Save("many/" + std::to_string(i) + ".mpd", {{"C:\\", name.c_str(), "A", "T", "B"}}));
  }
  struct Observer : ShelfSearchObserver {
    void CatalogSearched(int catalog, int64_t /*matched*/, std::vector<ShelfRow>* rows) override {
      order.push_back(catalog);
      taken += rows->size();
      rows->clear();
    }
    std::vector<int> order;
    std::size_t taken = 0;
  } observer;
  const ShelfSearchResult result = SearchShelf(m_platform, files, {}, &observer);
  EXPECT_TRUE(result.rows.empty());  // the observer took them all
  EXPECT_EQ(observer.taken, 300u);
  ASSERT_EQ(observer.order.size(), 300u);
  for (int i = 0; i < 300; ++i) EXPECT_EQ(observer.order[static_cast<std::size_t>(i)], i);

  const std::atomic<bool> cancel{true};
  const ShelfSearchResult cancelled = SearchShelf(m_platform, files, {}, nullptr, &cancel);
  EXPECT_TRUE(cancelled.cancelled);
  EXPECT_TRUE(cancelled.rows.empty());
}

TEST_F(ShelfSearchTest, TheShelfListsDataFilesByNameAndItsSubfoldersWhenAsked) {
  for (const char* name : {"shelf/b.mpd", "shelf/A.MPD", "shelf/notes.txt", "shelf/.hidden.mpd",
                           "shelf/sub/c.mpd", "shelf/sub/deeper/d.mpd"}) {
    m_folder.WriteFile(name, "");
  }
  const std::string shelf = m_folder.Path("shelf");
  const auto names = [](const ShelfFiles& files) {
    Names names;
    for (const std::string& file : files.files) names.emplace_back(CatalogName(file));
    return names;
  };
  EXPECT_EQ(names(ListShelf(m_platform, {{shelf}, false})), (Names{"A.MPD", "b.mpd"}));
  const ShelfFiles deep =
      ListShelf(m_platform, {{shelf, shelf + "/sub", m_folder.Path("gone")}, true});
  EXPECT_EQ(names(deep), (Names{"A.MPD", "b.mpd", "c.mpd", "d.mpd"}));
  ASSERT_EQ(deep.problems.size(), 1u);
  EXPECT_EQ(deep.problems[0].message(),
            "Cannot list \"" + m_folder.Path("gone") + "\": No such file or directory");
}

}  // namespace
}  // namespace tallymere
