// The median of a list of values, with the standard library's selection:
// the middle value, or for an even count the mean of the two middle values.
// Equal values are interchangeable, so no tie rule is needed.
#pragma once

#include <algorithm>
#include <span>

namespace varisift {

// The median of values in ascending order (at least one).
inline double median_of_sorted(std::span<const double> sorted) {
  const std::size_t n = sorted.size();
  if (n % 2 == 1) return sorted[n / 2];
  return (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

// Reorders the values (at least one) and returns their median.
inline double median_in_place(std::span<double> values) {
  const std::size_t n = values.size();
  auto middle = values.begin() + static_cast<std::ptrdiff_t>(n / 2);
  std::nth_element(values.begin(), middle, values.end());
  if (n % 2 == 1) return *middle;
  // The largest value below the middle one is the other middle value.
  return (*std::max_element(values.begin(), middle) + *middle) / 2;
}

// The median of |value - centre| over the values (at least one); reorders
// them into their deviations.
inline double median_deviation_in_place(std::span<double> values, double centre) {
  for (double& v : values) v = v < centre ? centre - v : v - centre;
  return median_in_place(values);
}

}  // namespace varisift
