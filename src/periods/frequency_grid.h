// The frequencies a period search tries: an even grid from one cycle over
// the span of the data up to 50 cycles per day or half the median sampling
// rate, whichever is lower, five frequencies per peak width.
//
// Its ends: f_min = 1/T and f_max = min(50, 1 / (2 median dt)) c/d, with T
// the span of the times and dt the gaps between consecutive times; a period
// range given by the user replaces them (f_min = 1/period_max, f_max =
// 1/period_min). The step is 1/(5T), and the grid holds f_min + k step for
// k = 0 .. floor((f_max - f_min) / step), so its last frequency lies at or
// below f_max. When that would be more than 20,000 frequencies, the step
// widens to (f_max - f_min) / 19,999: the grid keeps both ends and holds
// 20,000 frequencies, fewer than five per peak width.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

namespace varisift {

// The largest frequency searched without a period range, cycles per day.
inline constexpr double highest_frequency = 50;
// Frequencies per 1/T, the width of a peak.
inline constexpr double samples_per_peak = 5;
inline constexpr std::size_t max_frequencies = 20000;

struct FrequencyGrid {
  double first = 0;  // cycles per day
  double step = 0;   // cycles per day
  std::size_t count = 0;

  double at(std::size_t k) const { return first + static_cast<double>(k) * step; }
  double last() const { return at(count - 1); }
};

// Periods the user limits the search to, in days.
struct PeriodRange {
  std::optional<double> min_d;
  std::optional<double> max_d;
};

// The median gap between consecutive times, which must be sorted; 0 for
// fewer than two times.
double median_time_step(std::span<const double> sorted_times);

// The grid for data spanning span_d days with a median gap of
// median_step_d; none when the span is not positive or the ends leave no
// frequency above the lowest.
std::optional<FrequencyGrid> frequency_grid(double span_d, double median_step_d, const PeriodRange& range);

}  // namespace varisift
