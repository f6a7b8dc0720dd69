// The string routines of the text tools, on the examples the tools are known by.

#include "mp3/search_and_replace.h"

#include <gtest/gtest.h>

namespace tallymere {
namespace {

TEST(SearchAndReplaceTest, TrimsTextToSpacesOrAway) {
  EXPECT_EQ(TrimToSpace("my_song_name", "_"), "my song name");
  EXPECT_EQ(TrimOut("my_song_name", "_"), "mysongname");
  // Two spaces collapse until none are left; a lone space or nothing is refused.
  EXPECT_EQ(TrimToSpace("a     b  c", "  "), "a b c");
  EXPECT_EQ(TrimToSpace("a  b", " "), "a  b");
  EXPECT_EQ(TrimToSpace("a_b", ""), "a_b");
  EXPECT_EQ(TrimOut("a{{b}", "{"), "ab}");
  EXPECT_EQ(TrimOut("abc", ""), "abc");
  // Deleting can join the halves of a new occurrence: it goes too.
  EXPECT_EQ(TrimOut("xaabby", "ab"), "xy");
  EXPECT_EQ(TrimNumbers("01 Song 2"), " Song ");
  EXPECT_EQ(TrimSpaces("  ab  "), "ab");
  EXPECT_EQ(TrimSpaces("   "), "");
}

TEST(SearchAndReplaceTest, ReplacesWithoutScanningReplacedText) {
  EXPECT_EQ(ReplaceAll("banana", "a", "aa"), "baanaanaa");
  EXPECT_EQ(ReplaceAll("banana", "", "x"), "banana");
  EXPECT_EQ(ReplaceAll("", "a", "x"), "");
  EXPECT_EQ(ReplaceAll("Banana", "b", "x"), "Banana");  // letter case counts
  EXPECT_EQ(ReplaceOnce("banana", "a", "o"), "bonana");
  EXPECT_EQ(ReplaceOnce("banana", "", "The "), "The banana");
  EXPECT_EQ(ReplaceOnce("banana", "z", "o"), "banana");
}

TEST(SearchAndReplaceTest, ChangesLetterCaseByWordsAndBrackets) {
  EXPECT_EQ(ProperCaseWithBrackets("the WALL (live at earls court)"),
            "The Wall (Live At Earls Court)");
  EXPECT_EQ(ProperCaseWithBrackets("x (y"), "X (Y");
  EXPECT_EQ(ProperCaseWithBrackets("a [b] ( c)"), "A [B] (C)");
  EXPECT_EQ(ProperCase("o'neil\trock-n-roll"), "O'neil\tRock-n-roll");
  EXPECT_EQ(ProperCase("ÉTÉ à paris"), "Été À Paris");
  EXPECT_EQ(LowerCase("AB ÀÉ ŒŠŽŸ"), "ab àé œšžÿ");
}

TEST(SearchAndReplaceTest, InsertsAtACharacterPosition) {
  EXPECT_EQ(InsertAt("Song", 0, "01 "), "01 Song");
  EXPECT_EQ(InsertAt("Été", 1, "x"), "Éxté");
  EXPECT_EQ(InsertAt("ab", 9, "c"), "abc");
  EXPECT_EQ(CharacterCount("Été"), 3);
}

TEST(SearchAndReplaceTest, SwapsAroundTheLastInnerHyphen) {
  EXPECT_EQ(SwapArtistTitle("Artist - Title"), "Title - Artist");
  EXPECT_EQ(SwapArtistTitle("A-B"), "B - A");
  EXPECT_EQ(SwapArtistTitle("A - B - C"), "C - A - B");
  EXPECT_EQ(SwapArtistTitle("Song-"), "Song-");
  EXPECT_EQ(SwapArtistTitle("Song"), "Song");
  EXPECT_EQ(SwapArtistTitle(""), "");
}

}  // namespace
}  // namespace tallymere
