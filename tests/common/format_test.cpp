#include "common/format.h"

#include <gtest/gtest.h>

namespace tallymere {
namespace {

TEST(FormatTest, MegabytesUseThousandsSeparatorsAndTwoDecimals) {
  EXPECT_EQ(FormatMegabytes(0), "0.00");
  EXPECT_EQ(FormatMegabytes(2 * 1048576.0), "2.00");
  EXPECT_EQ(FormatMegabytes(1294467072.0), "1,234.50");
  EXPECT_EQ(FormatMegabytes(1048576.0 * 1234567.891), "1,234,567.89");
  EXPECT_EQ(FormatMegabytes(5242.88), "0.01");  // rounds to the nearest hundredth
}

TEST(FormatTest, TwoDigitPatternPadsAndKeepsTheSign) {
  EXPECT_EQ(FormatTwoDigits(0), "00");
  EXPECT_EQ(FormatTwoDigits(7), "07");
  EXPECT_EQ(FormatTwoDigits(125), "125");
  EXPECT_EQ(FormatTwoDigits(-1), "-01");
  EXPECT_EQ(FormatTwoDigits(-61), "-61");
}

TEST(FormatTest, DatesWrittenByTheProgramReadBackAndOthersDoNot) {
  for (const std::time_t when :
       {std::time_t{0}, std::time_t{946684799}, std::time_t{1700000000}, std::time_t{2000000000}}) {
    EXPECT_EQ(ParseDateTime(FormatDateTime(when)), when) << FormatDateTime(when);
  }
  EXPECT_EQ(ParseDateTime(""), std::nullopt);
  EXPECT_EQ(ParseDateTime("then"), std::nullopt);
  EXPECT_EQ(ParseDateTime(FormatDateTime(0) + " and more"), std::nullopt);
}

TEST(FormatTest, RememberedDateTextsAreTheTextsOfTheirOwnTimes) {
  DateTimeTexts texts;
  // Far more times than are remembered, many of them sharing a place, each
  // asked for twice: the second answer must still be its own.
  for (int round = 0; round < 2; ++round) {
    for (std::time_t when = 1700000000; when < 1700000000 + 5000; when += 3) {
      ASSERT_EQ(texts.Text(when), FormatDateTime(when)) << when;
      ASSERT_EQ(texts.Text(when - 86400 * 400), FormatDateTime(when - 86400 * 400)) << when;
    }
  }
  EXPECT_EQ(texts.Text(0), FormatDateTime(0));
}

}  // namespace
}  // namespace tallymere
