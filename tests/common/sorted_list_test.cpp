#include "common/sorted_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tallymere {
namespace {

using ::testing::ElementsAre;

std::vector<std::string> Items(const SortedList& list) {
  return std::vector<std::string>(list.begin(), list.end());
}

TEST(SortedListTest, KeepsItselfInAscendingOrderIgnoringCase) {
  SortedList list;
  for (const char* text : {"C:\\Music\\b", "C:\\Music\\A\\A1", "c:\\music\\a", "C:\\Music\\"}) {
    list.Add(text);
  }
  EXPECT_THAT(Items(list),
              ElementsAre("C:\\Music\\", "c:\\music\\a", "C:\\Music\\A\\A1", "C:\\Music\\b"));
  EXPECT_EQ(list.size(), 4);
  EXPECT_EQ(list[0], "C:\\Music\\");
}

TEST(SortedListTest, PutsARootBeforeItsSubfoldersAndEveryFolderBeforeThoseBelowIt) {
  SortedList list;
  list.Add("C:\\Music\\B");
  list.Add("C:\\Music\\A");
  list.Add("C:\\Music\\A\\A1");
  list.Add("C:\\Music\\");
  EXPECT_THAT(Items(list),
              ElementsAre("C:\\Music\\", "C:\\Music\\A", "C:\\Music\\A\\A1", "C:\\Music\\B"));
}

TEST(SortedListTest, KeepsTheAddingOrderOfEqualTexts) {
  SortedList list;
  list.Add("b");
  list.Add("ABC");
  list.Add("a");
  list.Add("abc");
  list.Add("Abc");
  EXPECT_THAT(Items(list), ElementsAre("a", "ABC", "abc", "Abc", "b"));
}

TEST(SortedListTest, SortsEntriesAddedAfterAReadAndEmptiesOnClear) {
  SortedList list;
  list.Add("m");
  list.Add("z");
  EXPECT_THAT(Items(list), ElementsAre("m", "z"));
  list.Add("a");
  EXPECT_THAT(Items(list), ElementsAre("a", "m", "z"));
  list.Clear();
  EXPECT_TRUE(list.empty());
  list.Add("q");
  EXPECT_THAT(Items(list), ElementsAre("q"));
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

}  // namespace
}  // namespace tallymere
