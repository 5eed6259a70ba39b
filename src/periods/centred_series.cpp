// Shifting times to the earliest one and magnitudes to their mean.
#include "periods/centred_series.h"

#include <algorithm>

namespace varisift {

CentredSeries centred_series(std::span<const double> times, std::span<const double> magnitudes) {
  CentredSeries s;
  if (times.empty()) return s;
  const auto [earliest, latest] = std::minmax_element(times.begin(), times.end());
  s.reference_time = *earliest;
  s.span = *latest - *earliest;
  double sum = 0;
  for (double m : magnitudes) sum += m;
  s.mean_magnitude = sum / static_cast<double>(magnitudes.size());
  s.t.reserve(times.size());
  s.y.reserve(magnitudes.size());
  for (double t : times) s.t.push_back(t - s.reference_time);
  for (double m : magnitudes) {
    s.y.push_back(m - s.mean_magnitude);
    s.sum_of_squares += s.y.back() * s.y.back();
  }
  return s;
}

}  // namespace varisift
