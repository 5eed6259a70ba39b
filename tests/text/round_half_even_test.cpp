// Rounding to the nearest whole number, ties to even, without the library
// call: the same as std::nearbyint in the default rounding mode.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "text/number_text.h"

namespace varisift {
namespace {

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(RoundHalfEven, MatchesNearbyint) {
  const double cases[] = {0.5,
                          1.5,
                          2.5,
                          -0.5,
                          -1.5,
                          -2.5,
                          0.49999999999999994,
                          4503599627370495.5,
                          4503599627370497.0,
                          9007199254740993.0,
                          -0.0,
                          0.0,
                          1e300,
                          -1e-300,
                          std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity(),
                          34.72222222222222,
                          152450000.5,
                          -152450000.5};
  for (double x : cases) EXPECT_TRUE(same_bits(round_half_even(x), std::nearbyint(x))) << x;
  EXPECT_TRUE(std::isnan(round_half_even(std::numeric_limits<double>::quiet_NaN())));

  std::mt19937_64 rng(5);
  for (int k = 0; k < 1000000; ++k) {
    std::uint64_t bits = rng();
    double x;
    std::memcpy(&x, &bits, sizeof x);
    if (std::isnan(x)) continue;
    ASSERT_TRUE(same_bits(round_half_even(x), std::nearbyint(x))) << x;
    double half = static_cast<double>(static_cast<std::int64_t>(rng() % 2000000) - 1000000) / 2;
    ASSERT_TRUE(same_bits(round_half_even(half), std::nearbyint(half))) << half;
  }
}

}  // namespace
}  // namespace varisift
