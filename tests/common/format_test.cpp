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

}  // namespace
}  // namespace tallymere
