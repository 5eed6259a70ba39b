// The grid's ends, step and cap, the user's period range, and the median
// gap.
#include "periods/frequency_grid.h"

#include <gtest/gtest.h>

#include <vector>

#include "periods/period_fixtures.h"

namespace varisift {
namespace {

TEST(FrequencyGrid, WorkedExampleSeriesA) {
  const double median = median_time_step(fixtures::series_a_times);
  EXPECT_NEAR(median, 0.062, 1e-15);
  const FrequencyGrid grid = *frequency_grid(1.13, median, {});
  EXPECT_NEAR(grid.first, 0.8849557522, 1e-10);
  EXPECT_NEAR(grid.step, 0.1769911504, 1e-10);
  EXPECT_EQ(grid.count, 41u);
  EXPECT_NEAR(grid.last(), 7.964601770, 1e-9);
}

TEST(FrequencyGrid, EndsCapAndPeriodRange) {
  struct Case {
    double span, median_step;
    PeriodRange range;
    double first, last;
    std::size_t count;
  };
  const Case cases[] = {
      // 50 c/d rules when sampling is dense: 1/T + k/(5T) up to 50, which
      // lies on the grid and is kept.
      {2.5, 0.003, {}, 0.4, 50, 621},
      // Half the median sampling rate (25 c/d) rules when it is lower.
      {2.5, 0.02, {}, 0.4, 0.4 + 307 * 0.08, 308},
      // Equal times everywhere (median gap 0) set no limit below 50.
      {2.5, 0, {}, 0.4, 50, 621},
      // 80.016 days up to 50 c/d take 19,999 steps: 20,000 frequencies at
      // 1/(5T); 80.02 days would take 20,000 steps: the cap widens the step
      // and keeps both ends.
      {80.016, 0.003, {}, 1 / 80.016, 1 / 80.016 + 19999 / (5 * 80.016), 20000},
      {80.02, 0.003, {}, 1 / 80.02, 50, 20000},
      // A period range replaces each end on its own.
      {2.5, 0.003, {0.1, 2.0}, 0.5, 0.5 + 118 * 0.08, 119},
      {2.5, 0.003, {std::nullopt, 10.0}, 0.1, 0.1 + 623 * 0.08, 624},
  };
  for (const Case& c : cases) {
    const std::optional<FrequencyGrid> grid = frequency_grid(c.span, c.median_step, c.range);
    ASSERT_TRUE(grid) << c.span;
    EXPECT_NEAR(grid->first, c.first, 1e-12) << c.span;
    EXPECT_NEAR(grid->last(), c.last, 1e-9) << c.span;
    EXPECT_EQ(grid->count, c.count) << c.span;
  }
  EXPECT_EQ(frequency_grid(80.016, 0.003, {})->step, 1 / (5 * 80.016));
  EXPECT_GT(frequency_grid(80.02, 0.003, {})->step, 1 / (5 * 80.02));
  // No span, or ends that leave nothing above the lowest frequency.
  EXPECT_FALSE(frequency_grid(0, 0.003, {}));
  EXPECT_FALSE(frequency_grid(2.5, 0.003, {std::nullopt, 0.01}));
  EXPECT_FALSE(frequency_grid(2.5, 0.003, {1.0, 1.0}));
}

TEST(FrequencyGrid, MedianGapOfOddAndEvenCounts) {
  EXPECT_EQ(median_time_step(std::vector<double>{0, 1, 3, 6}), 2);       // gaps 1 2 3
  EXPECT_EQ(median_time_step(std::vector<double>{0, 1, 1, 3, 7}), 1.5);  // gaps 0 1 2 4
  EXPECT_EQ(median_time_step(std::vector<double>{5}), 0);
}

}  // namespace
}  // namespace varisift
