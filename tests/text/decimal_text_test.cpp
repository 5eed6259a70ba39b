// Fixed-decimal text: exact for scaled integers, correctly rounded for reals.
#include "text/decimal_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace varisift {
namespace {

TEST(DecimalText, ScaledIntegersAreExact) {
  EXPECT_EQ(scaled_integer_text(1452, 2), "14.52");
  EXPECT_EQ(scaled_integer_text(-150, 2), "-1.50");
  EXPECT_EQ(scaled_integer_text(-5, 2), "-0.05");
  EXPECT_EQ(scaled_integer_text(0, 2), "0.00");
  EXPECT_EQ(scaled_integer_text(245876929453, 5), "2458769.29453");
  EXPECT_EQ(scaled_integer_text(5, 5), "0.00005");
  EXPECT_EQ(scaled_integer_text(42, 0), "42");
  EXPECT_EQ(scaled_integer_text(std::numeric_limits<std::int64_t>::min(), 0), "-9223372036854775808");
}

TEST(DecimalText, RealsRoundFromTheirExactBinaryValue) {
  EXPECT_EQ(fixed_decimals(0.0413, 3), "0.041");
  EXPECT_EQ(fixed_decimals(2.675, 2), "2.67");  // 2.67499999... as stored
  EXPECT_EQ(fixed_decimals(0.125, 2), "0.12");  // an exact tie goes to even
  EXPECT_EQ(fixed_decimals(44.886429, 6), "44.886429");
  EXPECT_EQ(fixed_decimals(518.0, 0), "518");
  EXPECT_EQ(fixed_decimals(-0.0004, 3), "0.000");  // no sign on a zero
  EXPECT_EQ(fixed_decimals(-0.0, 1), "0.0");
  EXPECT_EQ(fixed_decimals(-0.0006, 3), "-0.001");
  EXPECT_EQ(fixed_decimals(15.75, 2), "15.75");
  EXPECT_EQ(fixed_decimals(0.375, 2), "0.38");
  EXPECT_EQ(fixed_decimals(-1.5, 2), "-1.50");
  EXPECT_EQ(fixed_decimals(-0.001, 2), "0.00");
  EXPECT_EQ(fixed_decimals(2458769.29636, 5), "2458769.29636");
  EXPECT_EQ(fixed_decimals(-std::numeric_limits<double>::infinity(), 1), "-inf");
}

}  // namespace
}  // namespace varisift
