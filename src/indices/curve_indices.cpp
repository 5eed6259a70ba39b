// The IQR, MAD and 1/eta formulas over one light curve.
#include "indices/curve_indices.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "indices/medians.h"

namespace varisift {

namespace {

// Q3 - Q1 of values whose median is q2; reorders them.
double interquartile_range(std::span<double> values, double q2) {
  auto upper_start = std::partition(values.begin(), values.end(), [q2](double m) { return m <= q2; });
  std::span<double> lower(values.begin(), upper_start);
  std::span<double> upper(upper_start, values.end());
  double q1 = median_in_place(lower);
  double q3 = upper.empty() ? q2 : median_in_place(upper);
  return q3 - q1;
}

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

}  // namespace

CurveIndices curve_indices(std::span<const std::int16_t> in_time_order) {
  CurveIndices result;
  result.inv_eta = inverse_von_neumann_ratio(in_time_order);
  std::vector<double> values(in_time_order.begin(), in_time_order.end());
  double q2 = median_in_place(values);
  result.iqr = interquartile_range(values, q2);
  for (double& m : values) m = std::fabs(m - q2);
  result.mad = median_in_place(values);
  return result;
}

}  // namespace varisift
