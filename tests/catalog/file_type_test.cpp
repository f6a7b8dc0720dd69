#include "catalog/file_type.h"

#include <gtest/gtest.h>

#include "catalog/catalog_record.h"

namespace tallymere {
namespace {

TEST(FileTypeTest, ThreeLetterTypesMatchAsDescribedAndLongerOnesOnTheNamesEnding) {
  struct Case {
    const char* name;
    const char* type;
    bool passes;
  };
  const Case cases[] = {
      {"SONG.MP3", "mp3", true},     {"xmp3", "mp3", true},     {"song.mp", "mp3", false},
      {"a.flac", "flac", true},      {"A.FLAC", "flac", true},  {"a.lac", "flac", false},
      {"a.flac", "lac", true},       {"ab.aiff", "aiff", true}, {"x", "flac", false},
      {"a.flac", "audio", true},     {"b.Opus", "audio", true}, {"c.M4A", "audio", true},
      {"d.mp3", "audio", true},      {"e.txt", "audio", false}, {"flac", "audio", false},
      {"cover.jpg", "audio", false}, {"f.", "audio", false},    {"g.flac.bak", "audio", false},
      {"anything", "*.*", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PassesTypeFilter(c.name, c.type), c.passes) << c.name << " " << c.type;
  }
}

TEST(FileTypeTest, TypesAreNormalisedOrRefused) {
  EXPECT_EQ(NormalFileType("MP3"), "mp3");
  EXPECT_EQ(NormalFileType("*.mp3"), "mp3");
  EXPECT_EQ(NormalFileType(".FLAC"), "flac");
  EXPECT_EQ(NormalFileType("Audio"), "audio");
  EXPECT_EQ(NormalFileType("*.*"), "*.*");
  for (const char* refused : {"", "mp", "mpeg4", "fl.c", "*", "m?3", "a\\b", "*.audio"}) {
    EXPECT_EQ(NormalFileType(refused), "") << refused;
  }
}

TEST(FileTypeTest, TrailersRememberLongerTypesAndMisleadNoDescribedReader) {
  // A reader that takes the last three characters sees what no name holds.
  const CatalogRecord audio = MakeTrailer("audio", 1, "now");
  EXPECT_EQ(audio.file_name, "*.audio\\\\\\");
  EXPECT_EQ(TrailerFileType(audio), "audio");
  EXPECT_FALSE(PassesTypeFilter("song.mp3", audio.file_name.substr(audio.file_name.size() - 3)));
  const CatalogRecord flac = MakeTrailer("flac", 1, "now");
  EXPECT_EQ(flac.file_name, "*.flac");
  EXPECT_EQ(TrailerFileType(flac), "flac");
  // The described trailers read as they always did.
  EXPECT_EQ(TrailerFileType(MakeTrailer("mp3", 1, "now")), "mp3");
  EXPECT_EQ(TrailerFileType(MakeTrailer("*.*", 0, "now")), "*.*");
  CatalogRecord odd;
  odd.file_name = "*.xyz.mp3";
  EXPECT_EQ(TrailerFileType(odd), "mp3");
}

}  // namespace
}  // namespace tallymere
