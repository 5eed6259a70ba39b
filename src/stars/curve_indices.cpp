// The IQR, MAD and 1/eta formulas over one light curve.
#include "stars/curve_indices.h"

#include <algorithm>
#include <vector>

#include "stars/median.h"

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

}  // namespace

CurveIndices curve_indices(std::span<const std::int16_t> in_time_order, std::span<const std::int16_t> sorted) {
  CurveIndices result;
  result.inv_eta = inverse_von_neumann_ratio(in_time_order);
  const std::size_t n = in_time_order.size();
  if (n == 0) return result;
  std::vector<double> values(sorted.begin(), sorted.end());
  std::span<double> all(values);
  const double q2 = median_of_sorted(all);
  // The lower half is every value <= Q2, the upper half the others.
  const std::size_t below =
      static_cast<std::size_t>(std::upper_bound(values.begin(), values.end(), q2) - values.begin());
  const double q1 = median_of_sorted(all.first(below));
  const double q3 = below == n ? q2 : median_of_sorted(all.subspan(below));
  result.iqr = q3 - q1;
  result.mad = median_deviation_in_place(all, q2);
  return result;
}

}  // namespace varisift
