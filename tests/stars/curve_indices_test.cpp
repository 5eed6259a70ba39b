// The three indices of a light curve on small curves worked out by hand:
// odd and even counts, values equal to the median (which all join the lower
// half), two points, a constant curve; 1/eta depends on the time order, the
// others do not.
#include "stars/curve_indices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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
      // Q2 3; lower {1 1 3} Q1 1, upper {4 5} Q3 4.5; |m - 3| 0 2 1 2 2;
      // (5 x 52 - 14^2) / (5 x (4 + 9 + 9 + 16)) = 64 / 190.
      {{3, 1, 4, 1, 5}, 3.5, 2, 64.0 / 190},
      // Q2 25, Q1 15, Q3 35; |m - 25| 15 5 5 15: mean of the middle two.
      {{10, 20, 30, 40}, 20, 10, 500.0 / 300},
      // Even count, three values equal to Q2 = 2: all in the lower half.
      {{2, 5, 2, 2}, 3, 0, 27.0 / 72},
      // Odd count, Q2 = 7 shared by four values.
      {{7, 7, 9, 7, 7}, 2, 0, 16.0 / 40},
      // Q2 = 2.5 between two values; |m - 2.5| 1.5 0.5 0.5 2.5.
      {{1, 2, 3, 5}, 2.5, 1, 35.0 / 24},
      {{100, 104}, 4, 2, 0.5},  // two points: 1/eta is always 1/2
      {{-5, 5}, 10, 5, 0.5},
      {{1500, 1500, 1500}, 0, 0, std::nullopt},  // constant: upper half empty, Q3 = Q2
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

}  // namespace
}  // namespace varisift
