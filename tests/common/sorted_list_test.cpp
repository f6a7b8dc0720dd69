#include "common/sorted_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
