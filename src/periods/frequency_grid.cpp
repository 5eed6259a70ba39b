// The ends, step and size of the frequency grid.
#include "periods/frequency_grid.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace varisift {

namespace {

// Steps counted to the upper end are rounded down after adding this share
// of a step.
constexpr double step_rounding = 1e-9;

}  // namespace

double median_time_step(std::span<const double> sorted_times) {
  if (sorted_times.size() < 2) return 0;
  std::vector<double> gaps;
  gaps.reserve(sorted_times.size() - 1);
  for (std::size_t i = 1; i < sorted_times.size(); ++i) gaps.push_back(sorted_times[i] - sorted_times[i - 1]);
  std::sort(gaps.begin(), gaps.end());
  std::size_t middle = gaps.size() / 2;
  if (gaps.size() % 2 == 1) return gaps[middle];
  return (gaps[middle - 1] + gaps[middle]) / 2;
}

std::optional<FrequencyGrid> frequency_grid(double span_d, double median_step_d, const PeriodRange& range) {
  if (!(span_d > 0)) return std::nullopt;
  // Sampling at a gap dt shows frequencies up to 1/(2 dt); a median gap of 0
  // (many equal times) sets no limit below 50 c/d.
  double highest = highest_frequency;
  if (median_step_d > 0) highest = std::min(highest, 1 / (2 * median_step_d));
  const double f_min = range.max_d ? 1 / *range.max_d : 1 / span_d;
  const double f_max = range.min_d ? 1 / *range.min_d : highest;
  if (!(f_max > f_min) || !std::isfinite(f_max)) return std::nullopt;

  FrequencyGrid grid{f_min, 1 / (samples_per_peak * span_d), 0};
  // An end that lies a whole number of steps above f_min in exact
  // arithmetic stays in the grid whichever way the division rounds.
  const double steps = std::floor((f_max - f_min) / grid.step + step_rounding);
  if (steps + 1 <= static_cast<double>(max_frequencies)) {
    grid.count = static_cast<std::size_t>(steps) + 1;
  } else {
    grid.count = max_frequencies;
    grid.step = (f_max - f_min) / static_cast<double>(max_frequencies - 1);
  }
  return grid;
}

}  // namespace varisift
