// Phase bins and the pooled variance within them.
#include "periods/phase_dispersion.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace varisift {

double phase_dispersion(const CentredSeries& series, double period_d, int bins) {
  const std::size_t n = series.size();
  const std::size_t bin_count = static_cast<std::size_t>(bins);
  std::vector<std::size_t> count(bin_count, 0);
  std::vector<double> sum(bin_count, 0.0), sum_of_squares(bin_count, 0.0);
  double total = 0;
  for (double y : series.y) total += y;
  const double mean = total / static_cast<double>(n);
  double spread = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double cycles = series.t[i] / period_d;
    const double phase = cycles - std::floor(cycles);
    // A phase that rounds up to 1 belongs to the last bin.
    const std::size_t j = std::min(bin_count - 1, static_cast<std::size_t>(phase * bins));
    // Sums about the overall mean, so that a bin's sum of squares about its
    // own mean does not cancel the curve's offset.
    const double y = series.y[i] - mean;
    ++count[j];
    sum[j] += y;
    sum_of_squares[j] += y * y;
    spread += y * y;
  }
  double within = 0;
  std::size_t freedom = 0;
  for (std::size_t j = 0; j < bin_count; ++j) {
    if (count[j] == 0) continue;
    within += sum_of_squares[j] - sum[j] * sum[j] / static_cast<double>(count[j]);
    freedom += count[j] - 1;
  }
  if (freedom == 0 || n < 2 || !(spread > 0)) return 1;
  return (within / static_cast<double>(freedom)) / (spread / static_cast<double>(n - 1));
}

}  // namespace varisift
