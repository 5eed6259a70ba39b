// Order statistics of a light curve: median and quartiles by the one rule
// for 1/4, 1/2 and 3/4 (mean of two neighbours rounded half up when the
// position is whole), outlier fences three quartile distances outside the
// quartiles, and the extreme values that are not beyond the fences.
#include "stars/curve_statistics.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace varisift {
namespace {

std::string listed(const std::vector<std::int16_t>& values) {
  std::string s;
  for (std::int16_t v : values) s += std::to_string(v) + " ";
  return s;
}

TEST(QuartilesOfSorted, TakeTheEntryOrTheHalfUpMeanOfTwo) {
  struct Case {
    std::vector<std::int16_t> sorted;
    std::int16_t lower, median, upper;
  };
  const Case cases[] = {
      {{10, 20, 30, 40, 50, 60, 70}, 20, 40, 60},           // n = 7: c2, c4, c6
      {{1, 2, 3, 4, 5, 6, 7, 8}, 3, 5, 7},                  // n = 8: H(2.5), H(4.5), H(6.5)
      {{1, 2, 3, 4, 5, 6, 7, 8, 9}, 3, 5, 7},               // n = 9: c3, c5, c7
      {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 3, 6, 8},           // n = 10: c3, H(5.5), c8
      {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 4, 7, 10},  // n = 12: H(3.5), H(6.5), H(9.5)
      {{1500, 1501}, 1500, 1501, 1501},                     // 1500.5 goes up
      {{-3, -2}, -3, -2, -2},                               // -2.5 goes up too
      {{-10, -9, -2, -1}, -9, -5, -1},                      // H(-9.5), H(-5.5), H(-1.5)
      {{5}, 5, 5, 5},
      {{}, 0, 0, 0},
  };
  for (const Case& c : cases) {
    Quartiles q = quartiles_of_sorted(c.sorted);
    EXPECT_EQ(q.lower, c.lower) << listed(c.sorted);
    EXPECT_EQ(q.median, c.median) << listed(c.sorted);
    EXPECT_EQ(q.upper, c.upper) << listed(c.sorted);
  }
}

LightCurve curve_of(const std::vector<std::int16_t>& in_time_order) {
  LightCurve curve;
  curve.count = static_cast<std::uint16_t>(in_time_order.size());
  for (std::size_t k = 0; k < in_time_order.size(); ++k) curve.in_time_order[k] = in_time_order[k];
  return curve;
}

TEST(LightCurveStatistics, FarOutlierLeavesFencesAndInliersAlone) {
  LightCurve curve = curve_of({1003, 1100, 1000, 1005, 1001, 1004, 1002});
  light_curve_statistics(curve, DetectionParameters{}.outlier_factor);
  EXPECT_EQ(curve.lower_quartile, 1001);
  EXPECT_EQ(curve.median, 1003);
  EXPECT_EQ(curve.upper_quartile, 1005);
  EXPECT_EQ(curve.lower_fence, 989);   // 1001 - 3 x 4
  EXPECT_EQ(curve.upper_fence, 1017);  // 1005 + 3 x 4
  EXPECT_EQ(curve.inlier_min, 1000);
  EXPECT_EQ(curve.inlier_max, 1005);
  const std::int16_t sorted[] = {1000, 1001, 1002, 1003, 1004, 1005, 1100};
  const std::int16_t in_time_order[] = {1003, 1100, 1000, 1005, 1001, 1004, 1002};
  for (int k = 0; k < 7; ++k) {
    EXPECT_EQ(curve.sorted[k], sorted[k]) << k;
    EXPECT_EQ(curve.in_time_order[k], in_time_order[k]) << "the time order is kept, " << k;
  }
}

TEST(LightCurveStatistics, FencesAndInlierExtremes) {
  struct Case {
    const char* what;
    std::vector<std::int16_t> values;
    std::uint32_t factor_tenths;
    std::int16_t lower_fence, upper_fence, inlier_min, inlier_max;
  };
  const Case cases[] = {
      {"equal quartiles close the fences on their value",
       {1000, 1050, 1000, 990, 1000, 1000, 1000},
       30,
       1000,
       1000,
       1000,
       1000},
      {"an entry on the upper fence is an inlier extreme",
       {1000, 1001, 1002, 1003, 1004, 1005, 1017},
       30,
       989,
       1017,
       1000,
       1017},
      {"an entry on the lower fence is an inlier extreme",
       {989, 1001, 1002, 1003, 1004, 1005, 1006},
       30,
       989,
       1017,
       989,
       1006},
      {"entries one beyond the fences are not", {988, 1001, 1002, 1003, 1004, 1005, 1018}, 30, 989, 1017, 1001, 1005},
      {"fences of 2.5 quartile distances go half up",
       {1000, 1001, 1002, 1003, 1004, 1006, 1100},
       25,
       989,
       1019,
       1000,
       1006},
      // The fences keep the low 16 bits: 4 x -5000 - 3 x 4512 = -33536 is
      // 32000, 4 x 4512 + 3 x 5000 = 33048 is -32488; each scan then stops
      // at the last entry it may read.
      {"wrapped fences", {-6000, -5000, -1000, 0, 1000, 4512, 6000}, 30, 32000, -32488, 6000, -6000},
  };
  for (const Case& c : cases) {
    LightCurve curve = curve_of(c.values);
    light_curve_statistics(curve, c.factor_tenths);
    EXPECT_EQ(curve.lower_fence, c.lower_fence) << c.what;
    EXPECT_EQ(curve.upper_fence, c.upper_fence) << c.what;
    EXPECT_EQ(curve.inlier_min, c.inlier_min) << c.what;
    EXPECT_EQ(curve.inlier_max, c.inlier_max) << c.what;
  }
}

TEST(QuartileFences, HalvesGoUpOnBothSidesAndTheBitsThatFitAreKept) {
  struct Case {
    Quartiles q;
    std::uint32_t factor_tenths;
    std::int16_t lower, upper;
  };
  const Case cases[] = {
      {{.lower = -3, .upper = -2}, 25, -5, 1},                // H(-5.5) = -5, H(0.5) = 1
      {{.lower = 7, .upper = 7}, 30, 7, 7},                   // no spread: both on the quartile
      {{.lower = 32000, .upper = 32767}, 10, 31233, -32002},  // 33534 keeps its low 16 bits
  };
  for (const Case& c : cases) {
    Fences f = quartile_fences(c.q, c.factor_tenths);
    EXPECT_EQ(f.lower, c.lower) << c.q.lower << ".." << c.q.upper;
    EXPECT_EQ(f.upper, c.upper) << c.q.lower << ".." << c.q.upper;
  }
}

}  // namespace
}  // namespace varisift
