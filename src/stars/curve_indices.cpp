// The IQR, MAD and 1/eta formulas over one light curve.
#include "stars/curve_indices.h"

#include <cmath>

namespace varisift {

namespace {

// sum (m - mean)^2 / sum (next - m)^2 as
// (n sum m^2 - (sum m)^2) / (n sum (next - m)^2): both whole numbers. With
// 16-bit values and at most a few thousand of them every sum fits 64 bits;
// for the at most max_images values of a light curve both are below 2^53,
// so exact as doubles, and the one division rounds correctly.
std::optional<double> inverse_von_neumann_ratio(std::span<const std::int16_t> m) {
  const std::int64_t n = static_cast<std::int64_t>(m.size());
  if (n < 2) return std::nullopt;
  std::int64_t sum = 0;
  std::int64_t sum_of_squares = 0;
  std::int64_t step_squares = 0;
  for (std::size_t i = 0; i < m.size(); ++i) {
    sum += m[i];
    sum_of_squares += std::int64_t{m[i]} * m[i];
    if (i + 1 < m.size()) {
      std::int64_t step = std::int64_t{m[i + 1]} - m[i];
      step_squares += step * step;
    }
  }
  // At least two different values make some neighbours differ.
  if (step_squares == 0) return std::nullopt;
  std::int64_t spread = n * sum_of_squares - sum * sum;
  return static_cast<double>(spread) / static_cast<double>(n * step_squares);
}

// The quantile at p of n >= 1 sorted values by position: h = (n - 1) p, and
// between the values at floor(h) and the next one by the fraction of h, the
// rule of numpy's default percentile and the GNU Scientific Library. For
// p = 1/4 and 3/4 the fraction is a multiple of 1/4 and the values are whole
// numbers, so the result is exact.
double quantile_of_sorted(std::span<const std::int16_t> sorted, double p) {
  const double h = static_cast<double>(sorted.size() - 1) * p;
  const double floor_h = std::floor(h);
  const std::size_t j = static_cast<std::size_t>(floor_h);
  const double fraction = h - floor_h;
  if (fraction == 0) return sorted[j];
  return sorted[j] + fraction * (static_cast<double>(sorted[j + 1]) - sorted[j]);
}

constexpr double lower_quartile_position = 0.25;
constexpr double upper_quartile_position = 0.75;

// The median of n >= 1 sorted values: the middle one, or the mean of the
// two middle ones.
double median_of_sorted_values(std::span<const std::int16_t> sorted) {
  const std::size_t n = sorted.size();
  if (n % 2 == 1) return sorted[n / 2];
  return (static_cast<double>(sorted[n / 2 - 1]) + sorted[n / 2]) / 2;
}

// The median absolute deviation of n >= 1 sorted values from their median
// m, without sorting the deviations: the values at or below m, walked down
// from m, and those above it, walked up, each give their deviations in
// ascending order, so merging the two walks reaches the middle deviations
// in n / 2 steps. The deviations and the mean of the two middle ones are
// computed as a sort of the deviations would compute them, so the result
// is the same to the bit (a randomised test compares both ways).
double median_deviation_of_sorted(std::span<const std::int16_t> sorted, double median) {
  const std::size_t n = sorted.size();
  std::size_t below = 0;  // values at or below the median
  while (below < n && sorted[below] <= median) ++below;
  std::size_t down = below;  // the next value below is sorted[down - 1]
  std::size_t up = below;    // the next value above is sorted[up]
  auto next_deviation = [&]() {
    const double from_below = down > 0 ? median - sorted[down - 1] : 0;
    const double from_above = up < n ? sorted[up] - median : 0;
    if (up == n || (down > 0 && from_below <= from_above)) {
      --down;
      return from_below;
    }
    ++up;
    return from_above;
  };
  const std::size_t middle = (n - 1) / 2;  // the lower of the middle deviations, 0-based
  double deviation = 0;
  for (std::size_t k = 0; k <= middle; ++k) deviation = next_deviation();
  if (n % 2 == 1) return deviation;
  return (deviation + next_deviation()) / 2;
}

}  // namespace

CurveIndices curve_indices(std::span<const std::int16_t> in_time_order, std::span<const std::int16_t> sorted) {
  CurveIndices result;
  result.inv_eta = inverse_von_neumann_ratio(in_time_order);
  const std::size_t n = in_time_order.size();
  if (n == 0) return result;
  result.iqr =
      quantile_of_sorted(sorted, upper_quartile_position) - quantile_of_sorted(sorted, lower_quartile_position);
  result.mad = median_deviation_of_sorted(sorted, median_of_sorted_values(sorted));
  return result;
}

}  // namespace varisift
