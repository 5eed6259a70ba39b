// The three indices of a light curve on small curves worked out by hand:
// odd and even counts, values equal to the median, quartiles between two
// values, two points, a constant curve; 1/eta depends on the time order, the
// others do not.
#include "stars/curve_indices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "stars/median.h"

namespace varisift {
namespace {

// The indices of a curve given in time order (sorted here, as the curve's
// statistics sort it).
CurveIndices indices_of(const std::vector<std::int16_t>& in_time_order) {
  std::vector<std::int16_t> sorted = in_time_order;
  std::sort(sorted.begin(), sorted.end());
  return curve_indices(in_time_order, sorted);
}

TEST(CurveIndices, HandComputedCurves) {
  struct Case {
    std::vector<std::int16_t> in_time_order;
    double iqr, mad;
    std::optional<double> inv_eta;
  };
  const Case cases[] = {
      // Sorted 1 1 3 4 5: Q1 at position 1, Q3 at 3; |m - 3| 0 2 1 2 2;
      // (5 x 52 - 14^2) / (5 x (4 + 9 + 9 + 16)) = 64 / 190.
      {{3, 1, 4, 1, 5}, 3, 2, 64.0 / 190},
      // Q1 at 0.75: 10 + 0.75 x 10; Q3 at 2.25: 30 + 0.25 x 10; |m - 25| 15 5 5 15.
      {{10, 20, 30, 40}, 15, 10, 500.0 / 300},
      // Ties at the median, even count: sorted 2 2 2 5, Q1 2, Q3 2 + 0.25 x 3.
      {{2, 5, 2, 2}, 0.75, 0, 27.0 / 72},
      // Ties at the median, odd count: the quartiles at positions 1 and 3 are 7.
      {{7, 7, 9, 7, 7}, 0, 0, 16.0 / 40},
      // Q1 1 + 0.75, Q3 3 + 0.25 x 2; Q2 = 2.5 between two values; |m - 2.5| 1.5 0.5 0.5 2.5.
      {{1, 2, 3, 5}, 1.75, 1, 35.0 / 24},
      {{100, 104}, 2, 2, 0.5},  // two points: quartiles a quarter in from each end; 1/eta is always 1/2
      {{-5, 5}, 5, 5, 0.5},
      // An eclipse in a constant curve: eight of twelve values at the median, three minima.
      {{1355, 1355, 1402, 1355, 1355, 1355, 1560, 1355, 1355, 1354, 1355, 1590}, 11.75, 0, 957324.0 / 1724340},
      {{1500, 1500, 1500}, 0, 0, std::nullopt},
      {{1500}, 0, 0, std::nullopt},
      {{}, 0, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (std::int16_t m : c.in_time_order) shown += std::to_string(m) + " ";
    CurveIndices got = indices_of(c.in_time_order);
    EXPECT_EQ(got.iqr, c.iqr) << shown;
    EXPECT_EQ(got.mad, c.mad) << shown;
    EXPECT_EQ(got.inv_eta, c.inv_eta) << shown;
  }
}

TEST(CurveIndices, OnlyInverseEtaSeesTheTimeOrder) {
  const std::vector<std::int16_t> slow{1, 2, 3, 4};
  const std::vector<std::int16_t> jumping{1, 3, 2, 4};
  CurveIndices a = indices_of(slow);
  CurveIndices b = indices_of(jumping);
  EXPECT_EQ(a.iqr, b.iqr);
  EXPECT_EQ(a.mad, b.mad);
  EXPECT_EQ(a.inv_eta, 20.0 / 12);  // neighbours 1 apart
  EXPECT_EQ(b.inv_eta, 20.0 / 36);  // 2, 1, 2 apart
}

// The MAD found by merging the deviations on both sides of the median is the
// one a selection over all deviations gives, to the bit, on random curves
// with many ties, odd and even counts, one value and the widest range.
TEST(CurveIndices, MadByMergingEqualsMadBySelection) {
  std::mt19937 random(20261208);
  for (int round = 0; round < 20000; ++round) {
    const int n = std::uniform_int_distribution<int>(1, 209)(random);
    const int spread = round % 3 == 0 ? 3 : (round % 3 == 1 ? 60 : 32767);
    std::uniform_int_distribution<int> value(-spread, spread);
    std::vector<std::int16_t> curve(static_cast<std::size_t>(n));
    for (std::int16_t& m : curve) m = static_cast<std::int16_t>(value(random));
    std::vector<double> values(curve.begin(), curve.end());
    const double centre = median_in_place(values);
    const double expected = median_deviation_in_place(values, centre);
    ASSERT_EQ(indices_of(curve).mad, expected) << "round " << round << ", " << n << " values";
  }
}

}  // namespace
}  // namespace varisift
