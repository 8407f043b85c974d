#include "util/text_number.h"

#include <gtest/gtest.h>

#include <limits>

namespace taviro {
namespace {

TEST(ToInteger, ReadsLeadingDigitsAndTreatsOtherTextAsZero) {
  EXPECT_EQ(ToInteger(" \t12"), 12);
  EXPECT_EQ(ToInteger("12abc"), 12);
  EXPECT_EQ(ToInteger("2.7"), 2);
  EXPECT_EQ(ToInteger("-3"), -3);
  EXPECT_EQ(ToInteger("+4"), 4);
  EXPECT_EQ(ToInteger(""), 0);
  EXPECT_EQ(ToInteger("abc"), 0);
  EXPECT_EQ(ToInteger("- 5"), 0);
  EXPECT_EQ(ToInteger("电影"), 0);
}

TEST(ToInteger, SaturatesInsteadOfOverflowing) {
  constexpr int kMax = std::numeric_limits<int>::max();
  constexpr int kMin = std::numeric_limits<int>::min();
  EXPECT_EQ(ToInteger("2147483647"), kMax);
  EXPECT_EQ(ToInteger("2147483648"), kMax);
  EXPECT_EQ(ToInteger("99999999999999999999999999"), kMax);
  EXPECT_EQ(ToInteger("-2147483648"), kMin);
  EXPECT_EQ(ToInteger("-99999999999999999999999999"), kMin);
}

}  // namespace
}  // namespace taviro
