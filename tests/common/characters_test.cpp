#include "common/characters.h"

#include <gtest/gtest.h>

namespace tallymere {
namespace {

TEST(CharactersTest, CountsCharactersFromTheEnd) {
  EXPECT_EQ(LastCharacters("Song.mp3", 4), ".mp3");
  EXPECT_EQ(WithoutLastCharacters("Song.mp3", 4), "Song");
  EXPECT_EQ(LastCharacters("ab", 4), "ab");
  EXPECT_EQ(WithoutLastCharacters("ab", 4), "");
  EXPECT_EQ(WithoutLastCharacters("abcd", 4), "");
  EXPECT_EQ(LastCharacters("abc", 0), "");
  // A two-byte letter is one character and is never split.
  EXPECT_EQ(LastCharacters("Caf\xC3\xA9", 2), "f\xC3\xA9");
  EXPECT_EQ(WithoutLastCharacters("x\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 4), "x");
  // A stray byte counts as one.
  EXPECT_EQ(WithoutLastCharacters("ab\xE9.mp3", 5), "ab");
}

}  // namespace
}  // namespace tallymere
