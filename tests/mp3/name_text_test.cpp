// File names into tag fields and back, which new names can be file names, and
// the string routines of the text tools.

#include <gtest/gtest.h>

#include "mp3/editor_name_fields.h"
#include "mp3/file_name_check.h"
#include "mp3/name_fields.h"
#include "mp3/search_and_replace.h"

namespace tallymere {
namespace {

// The patterns themselves are exercised through Write Tag Using File Name.
TEST(NameFieldsTest, KeepsTheOneSeparatorTitleAndRefusesOtherCounts) {
  const auto one = FieldsFromFileName(" Artist  - Title ");
  ASSERT_TRUE(one);
  EXPECT_EQ(one->artist + "|" + one->title, "Artist|Title ");
  for (const std::string& name : std::initializer_list<std::string>{
           "A-B", "A - B - C - D - E", "A - " + std::string(300, 'b')}) {
    EXPECT_FALSE(FieldsFromFileName(name)) << name;
  }
  EXPECT_EQ(CountNameSeparators(" - - "), 2);
}

TEST(NameFieldsTest, BuildsNamesFromTagTextsUpToTheirFirstNul) {
  Mp3Info info;
  info.TagArtist = "Artist";
  info.TagTitle = std::string("Title\0\0\0", 8);
  info.TagAlbum = "Album";
  info.TagComment = "Com";
  EXPECT_EQ(NameFromTag(info, false, false), "Artist - Title");
  EXPECT_EQ(NameFromTag(info, true, false), "Artist - Album - Title");
  EXPECT_EQ(NameFromTag(info, true, true), "Artist - Album - Com - Title");
  info.TagArtist = std::string("\0junk", 5);
  EXPECT_EQ(NameFromTag(info, false, false), "Title");
  EXPECT_EQ(NameFromTag(Mp3Info{}, true, true), "");
}

TEST(FileNameCheckTest, RefusesSeparatorsIllegalCharactersAndOverlongNames) {
  EXPECT_TRUE(IsLegalNewName("Artist - Title (Live) [1999]", ".mp3"));
  EXPECT_TRUE(IsLegalNewName("Été", ".mp3"));
  for (const std::string bad :
       {"AC/DC", "a\\b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", ".", ".."}) {
    EXPECT_FALSE(IsLegalNewName(bad, ".mp3")) << bad;
  }
  EXPECT_FALSE(IsLegalNewName(std::string("a\0b", 3), ".mp3") || IsLegalNewName("a\tb", ".mp3"));
  EXPECT_TRUE(IsLegalNewName(std::string(251, 'x'), ".mp3"));
  EXPECT_FALSE(IsLegalNewName(std::string(252, 'x'), ".mp3"));
}

// "artist|album|title" of a name split as the tag editor splits it.
std::string Split(const std::string& name) {
  const std::optional<EditorNameFields> fields = EditorFieldsFromName(name);
  if (!fields) return "unsplit";
  return fields->artist + "|" + (fields->album ? *fields->album : "(kept)") + "|" + fields->title;
}

// One to three separators; a two-character middle field (a track number)
// stays out of the album, but three separators take the second field whatever
// its length. Each separator is looked for within 300 characters.
TEST(EditorNameFieldsTest, SplitsOneToThreeSeparatorsAndRefusesNamesItCannotWalk) {
  EXPECT_EQ(Split("Artist - Song"), "Artist|(kept)|Song");
  EXPECT_EQ(Split("Artist - Album Name - Song"), "Artist|Album Name|Song");
  EXPECT_EQ(Split("Artist - Album - 01 - Song"), "Artist|Album|Song");
  EXPECT_EQ(Split(" Artist  -  Album  -  Song "), "Artist|Album|Song");
  EXPECT_EQ(Split(" A -  B "), "A|(kept)| B ");  // one separator keeps the title's blanks
  EXPECT_EQ(Split("Artist - 01 - Song"), "Artist|(kept)|Song");
  EXPECT_EQ(Split("Artist - Vol - Song"), "Artist|Vol|Song");
  EXPECT_EQ(Split("Artist - 1 - 01 - Song"), "Artist|1|Song");
  for (const char* name : {"Song", "A-B", "A - B - C - D - E", "A - - B", "A -  - B"}) {
    EXPECT_EQ(Split(name), "unsplit") << name;
  }
  // Separators that share or lose a blank once the rest is trimmed: MP3
  // Utilities splits these.
  EXPECT_TRUE(FieldsFromFileName("A -  - B"));
  const std::string long_artist(299, 'a');
  EXPECT_EQ(Split(long_artist + " - Album - Song"), long_artist + "|Album|Song");
  EXPECT_EQ(Split(long_artist + "a - Album - Song"), "unsplit");
  std::string accented;  // characters are counted, not bytes
  for (int i = 0; i < 299; ++i) accented += "\xC3\xA9";
  EXPECT_EQ(Split(accented + " - Al - Song"), accented + "|(kept)|Song");
  // With one separator there is no walk and no limit; MP3 Utilities refuses it.
  EXPECT_EQ(Split(long_artist + "bb - Song"), long_artist + "bb|(kept)|Song");
  EXPECT_FALSE(FieldsFromFileName(long_artist + "bb - Song"));
}

TEST(SearchAndReplaceTest, TrimsReplacesAndInsertsWithoutScanningTheirOwnText) {
  EXPECT_EQ(TrimToSpace("my_song_name", "_"), "my song name");
  EXPECT_EQ(TrimOut("my_song_name", "_"), "mysongname");
  // Two spaces collapse until none are left; a lone space or nothing is refused.
  EXPECT_EQ(TrimToSpace("a     b  c", "  "), "a b c");
  EXPECT_EQ(TrimToSpace("a  b", " "), "a  b");
  EXPECT_EQ(TrimToSpace("a_b", ""), "a_b");
  EXPECT_EQ(TrimOut("a{{b}", "{"), "ab}");
  EXPECT_EQ(TrimOut("abc", ""), "abc");
  EXPECT_EQ(TrimOut("xaabby", "ab"), "xy");  // deleting joins a new occurrence: it goes too
  EXPECT_EQ(TrimNumbers("01 Song 2"), " Song ");
  EXPECT_EQ(TrimSpaces("  ab  "), "ab");
  EXPECT_EQ(TrimSpaces("   "), "");

  EXPECT_EQ(ReplaceAll("banana", "a", "aa"), "baanaanaa");
  EXPECT_EQ(ReplaceAll("banana", "", "x"), "banana");
  EXPECT_EQ(ReplaceAll("", "a", "x"), "");
  EXPECT_EQ(ReplaceAll("Banana", "b", "x"), "Banana");  // letter case counts
  EXPECT_EQ(ReplaceOnce("banana", "a", "o"), "bonana");
  EXPECT_EQ(ReplaceOnce("banana", "", "The "), "The banana");
  EXPECT_EQ(ReplaceOnce("banana", "z", "o"), "banana");

  EXPECT_EQ(InsertAt("Song", 0, "01 "), "01 Song");
  EXPECT_EQ(InsertAt("Été", 1, "x"), "Éxté");
  EXPECT_EQ(InsertAt("ab", 9, "c"), "abc");
  EXPECT_EQ(CharacterCount("Été"), 3);
}

TEST(SearchAndReplaceTest, ChangesLetterCaseByWordsAndBracketsAndSwapsArtistAndTitle) {
  EXPECT_EQ(ProperCaseWithBrackets("the WALL (live at earls court)"),
            "The Wall (Live At Earls Court)");
  EXPECT_EQ(ProperCaseWithBrackets("x (y"), "X (Y");
  EXPECT_EQ(ProperCaseWithBrackets("a [b] ( c)"), "A [B] (C)");
  EXPECT_EQ(ProperCase("o'neil\trock-n-roll"), "O'neil\tRock-n-roll");
  EXPECT_EQ(ProperCase("ÉTÉ à paris"), "Été À Paris");
  EXPECT_EQ(LowerCase("AB ÀÉ ŒŠŽŸ"), "ab àé œšžÿ");
  // Swapping turns around the last inner hyphen.
  EXPECT_EQ(SwapArtistTitle("Artist - Title"), "Title - Artist");
  EXPECT_EQ(SwapArtistTitle("A-B"), "B - A");
  EXPECT_EQ(SwapArtistTitle("A - B - C"), "C - A - B");
  for (const char* unchanged : {"Song-", "Song", ""})
    EXPECT_EQ(SwapArtistTitle(unchanged), unchanged);
}

}  // namespace
}  // namespace tallymere
