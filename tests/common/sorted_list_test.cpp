#include "common/sorted_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace tallymere {
namespace {

using ::testing::ElementsAre;

SortedList ListOf(std::initializer_list<const char*> texts) {
  SortedList list;
  for (const char* text : texts) list.Add(text);
  return list;
}

std::vector<std::string> Items(const SortedList& list) {
  return std::vector<std::string>(list.begin(), list.end());
}

TEST(SortedListTest, KeepsAscendingOrderIgnoringCaseWithEqualTextsInAddingOrder) {
  const SortedList folders =
      ListOf({"C:\\Music\\b", "C:\\Music\\A\\A1", "c:\\music\\a", "C:\\Music\\"});
  // A root comes before its subfolders, and every folder before those below it.
  EXPECT_THAT(Items(folders),
              ElementsAre("C:\\Music\\", "c:\\music\\a", "C:\\Music\\A\\A1", "C:\\Music\\b"));
  EXPECT_EQ(folders.size(), 4);
  EXPECT_EQ(folders[0], "C:\\Music\\");
  EXPECT_THAT(Items(ListOf({"b", "ABC", "a", "abc", "Abc"})),
              ElementsAre("a", "ABC", "abc", "Abc", "b"));

  SortedList list = ListOf({"m", "z"});
  EXPECT_THAT(Items(list), ElementsAre("m", "z"));
  list.Add("a");  // added after a read
  EXPECT_THAT(Items(list), ElementsAre("a", "m", "z"));
  list.Clear();
  EXPECT_TRUE(list.empty());
  list.Add("q");
  EXPECT_THAT(Items(list), ElementsAre("q"));
}

TEST(SortedListTest, EntriesAddedBetweenReadsMergeInAfterEqualOnesAddedBefore) {
  SortedList list = ListOf({"b", "a"});
  EXPECT_THAT(Items(list), ElementsAre("a", "b"));
  list.Add("B");
  list.Add("A");
  list.Add("c");
  EXPECT_THAT(Items(list), ElementsAre("a", "A", "b", "B", "c"));
  list.Add("C");  // in order after the last entry
  list.Add("0");
  EXPECT_THAT(Items(list), ElementsAre("0", "a", "A", "b", "B", "c", "C"));
}

TEST(SortedListTest, ReadsBetweenAddsGiveTheOrderOfOneSortOfEverything) {
  std::mt19937 random(7);
  std::vector<std::string> added;
  SortedList list;
  for (int step = 0; step < 2000; ++step) {
    // Six letters in either case: many ties, whose order shows in the case.
    std::string text(1, static_cast<char>((random() % 2 == 0 ? 'a' : 'A') + random() % 6));
    added.push_back(text);
    list.Add(text);
    if (random() % 40 == 0 || step == 1999) {
      std::vector<std::string> expected = added;
      std::stable_sort(expected.begin(), expected.end(),
                       [](const auto& a, const auto& b) { return CompareNoCase(a, b) < 0; });
      ASSERT_EQ(Items(list), expected) << "after " << added.size() << " entries";
    }
  }
}

TEST(SortedListTest, ComparesOrdinallyWithAsciiLettersFolded) {
  EXPECT_EQ(CompareNoCase("abc", "ABC"), 0);
  EXPECT_LT(CompareNoCase("ab", "abc"), 0);
  EXPECT_GT(CompareNoCase("b", "A"), 0);
  EXPECT_LT(CompareNoCase("A", "b"), 0);
  // Bytes above 0x7F compare as unsigned values, after every ASCII letter.
  EXPECT_GT(CompareNoCase("\xC3\xA9", "z"), 0);
  EXPECT_EQ(CompareNoCase("", ""), 0);
}

TEST(SortedListTest, FoldsLettersBeyondLongCommonBeginnings) {
  const std::string base = "C:\\Music\\Some Artist\\";
  EXPECT_EQ(CompareNoCase(base + "Album One", base + "ALBUM ONE"), 0);
  EXPECT_LT(CompareNoCase(base + "album a", base + "ALBUM B"), 0);
  EXPECT_GT(CompareNoCase(base + "ALBUM B", base + "album a"), 0);
  // Case differs early, the first real difference comes later.
  EXPECT_LT(CompareNoCase("c:\\music\\some artist\\x", base + "Y"), 0);
  // "[" follows "Z" as bytes, but "Z" compares as "z", which follows "[".
  EXPECT_LT(CompareNoCase(base + "[", base + "Z"), 0);
  EXPECT_LT(CompareNoCase(base, base + "a"), 0);
  EXPECT_GT(CompareNoCase(base + "\xC3\xA9", base + "Z"), 0);
}

}  // namespace
}  // namespace tallymere
