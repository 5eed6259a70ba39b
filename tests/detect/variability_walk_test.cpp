// The in-range walk over a light curve in time order (path, squares,
// reversal-weighted path, reversals; values on a fence are outliers of their
// image), the three criteria, and the four selection tests of a candidate.
#include "detect/variability_walk.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/detect_fixtures.h"

namespace varisift {
namespace {

TEST(WalkValues, PathSquaresReversalsAndTheirWeights) {
  struct Case {
    const char* what;
    std::vector<std::int16_t> values;
    std::uint16_t inlier_count;
    std::uint32_t path, squares, weighted, reversals;
  };
  const Case cases[] = {
      {"no value", {}, 1, 0, 0, 0, 0},
      {"one value", {1000}, 1, 0, 0, 0, 0},
      {"a first step brighter is no reversal", {1000, 990}, 2, 10, 100, 10, 0},
      {"a first step fainter is a reversal of weight 1", {1000, 1010}, 2, 10, 100, 20, 1},
      // +10 (reversal, weight 1), -10 (reversal, weight 2): 20 + 10 + 20.
      {"up and back", {1000, 1010, 1000}, 3, 20, 200, 50, 2},
      // -10, flat, +10: the step after the flat one only resets the run.
      {"down, flat, up", {1000, 990, 990, 1000}, 4, 20, 200, 20, 0},
      // +10 (run 1), -10 (run 2), -10 (same direction, run kept), +10 (run 3).
      {"the run grows across a step in the same direction", {1000, 1010, 1000, 990, 1000}, 5, 40, 400, 100, 3},
      // +10 (run 1), flat, -10 (after flat: run back to 0), +10 (run 1).
      {"a flat step resets the run", {1000, 1010, 1010, 1000, 1010}, 5, 30, 300, 50, 2},
      {"steps of unequal size", {1000, 1003, 995}, 3, 11, 73, 30, 2},  // 11 + 1 x 3 + 2 x 8
  };
  for (const Case& c : cases) {
    WalkSums w = walk_values(c.values.data(), c.values.size());
    EXPECT_EQ(w.inlier_count, c.inlier_count) << c.what;
    EXPECT_EQ(w.path_sum, c.path) << c.what;
    EXPECT_EQ(w.square_sum, c.squares) << c.what;
    EXPECT_EQ(w.weighted_path, c.weighted) << c.what;
    EXPECT_EQ(w.reversal_count, c.reversals) << c.what;
  }
}

TEST(WalkInRange, ValuesOnAFenceAreOutliersOfTheirImage) {
  ObservationStore store;
  for (int k = 0; k < 7; ++k) detect_fixtures::add_image(store, "20170301180000", {1000});
  store.images[4].outliers = 2;  // counts add up over the stars
  LightCurve curve{.in_time_order = {1000, 989, 1010, 1017, 1000, 988, 1018},
                   .image = {7, 6, 5, 4, 3, 2, 1},
                   .count = 7,
                   .lower_fence = 989,
                   .upper_fence = 1017};
  WalkSums w = walk_in_range(curve, store);
  // In range, in time order: 1000, 1010, 1000.
  EXPECT_EQ(w.inlier_count, 3);
  EXPECT_EQ(w.path_sum, 20u);
  EXPECT_EQ(w.weighted_path, 50u);
  EXPECT_EQ(w.reversal_count, 2u);
  const std::int16_t outliers[] = {0, 1, 1, 0, 3, 0, 1, 0};  // per image 1..7
  for (int i = 1; i <= 7; ++i) EXPECT_EQ(store.images[i].outliers, outliers[i]) << "image " << i;
}

TEST(ComputeCriteria, TotalAndPerMeasurementValuesAreFloored) {
  struct Case {
    const char* what;
    WalkSums walk;
    std::int16_t inlier_range, full_range;
    double path, path_per, square, square_per, weighted, weighted_per;
  };
  const Case cases[] = {
      // 23 in-range values over 0.45 mag, all values over 0.70 mag: 12000 / 70
      // = 171.4, sqrt(9000000) / 45 = 66.7, 15000 / 45 = 333.3, each / 23.
      {"example", {23, 120, 900, 150, 3}, 45, 70, 171, 7, 66, 2, 333, 14},
      // 100 x 5e7, 10000 x 4e9 and 100 x 4e9 do not fit in 32 bits.
      {"large sums",
       {10, 50000000, 4000000000u, 4000000000u, 0},
       100,
       1000,
       5000000,
       500000,
       63245,
       6324,
       4000000000.0,
       400000000},
  };
  for (const Case& c : cases) {
    StarAnalysis a;
    a.walk = c.walk;
    a.inlier_range = c.inlier_range;
    a.full_range = c.full_range;
    compute_criteria(a);
    EXPECT_EQ(a.path_criterion.total, c.path) << c.what;
    EXPECT_EQ(a.path_criterion.per_measurement, c.path_per) << c.what;
    EXPECT_EQ(a.square_criterion.total, c.square) << c.what;
    EXPECT_EQ(a.square_criterion.per_measurement, c.square_per) << c.what;
    EXPECT_EQ(a.weighted_criterion.total, c.weighted) << c.what;
    EXPECT_EQ(a.weighted_criterion.per_measurement, c.weighted_per) << c.what;
  }
}

// A star that passes every test unless a case changes one value: 10
// in-range values over 0.20 mag, identified in 10 images, 3rd criterion
// 100 x weighted / 20 / 10.
struct Selection {
  const char* what;
  std::uint16_t inlier_count = 10;
  std::uint8_t star_images = 10;
  std::int16_t inlier_min = 1000, inlier_max = 1020;
  std::uint32_t weighted = 40;
  std::uint16_t min_variation = 30;
  bool selected = true;
};

TEST(SelectCandidate, TestsInOrderAtTheirLimits) {
  const Selection cases[] = {
      {.what = "passing star"},
      {.what = "6 in range", .inlier_count = 6, .weighted = 24, .selected = false},
      {.what = "7 in range", .inlier_count = 7, .weighted = 28},
      {.what = "identified in 6 images", .star_images = 6, .selected = false},
      {.what = "identified in 7 images", .star_images = 7},
      {.what = "inlier range 0.10 mag", .inlier_max = 1010, .weighted = 20, .selected = false},
      {.what = "inlier range 0.11 mag", .inlier_max = 1011, .weighted = 20},
      {.what = "criterion 30 at limit 30", .weighted = 60, .selected = false},
      {.what = "criterion 29.5 at limit 30", .weighted = 59},
      {.what = "criterion 12 with 12 images", .weighted = 24, .min_variation = 12, .selected = false},
      {.what = "criterion 11.5 with 12 images", .weighted = 23, .min_variation = 12},
  };
  for (const Selection& c : cases) {
    StarAnalysis a;
    a.walk.inlier_count = c.inlier_count;
    a.walk.path_sum = 20;
    a.walk.weighted_path = c.weighted;
    a.curve.inlier_min = c.inlier_min;
    a.curve.inlier_max = c.inlier_max;
    a.curve.curve_min = 990;
    a.curve.curve_max = 1100;
    DetectionParameters parameters;
    parameters.min_variation = c.min_variation;
    EXPECT_EQ(select_candidate(a, c.star_images, parameters), c.selected) << c.what;
    EXPECT_EQ(a.inlier_range, c.inlier_max - c.inlier_min) << c.what;
    EXPECT_EQ(a.full_range, 110) << c.what;
  }
}

}  // namespace
}  // namespace varisift
