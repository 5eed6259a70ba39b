// One star's light curve as the period search works on it: times counted
// from the earliest measurement and magnitudes about their mean.
//
// Counting from the earliest time keeps omega t small: at 50 c/d and an
// absolute Julian date, omega t is about 8e8 rad and its last bits (1e-7
// rad) are lost. Magnitudes about their mean make the sums of the
// periodogram plain sums without cancellation.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace varisift {

struct CentredSeries {
  double reference_time = 0;  // the earliest time, JD
  double mean_magnitude = 0;  // mag
  std::vector<double> t;      // days since reference_time
  std::vector<double> y;      // mag - mean_magnitude
  double span = 0;            // latest time - earliest time, days
  double sum_of_squares = 0;  // sum of y^2: chi2 of the constant model

  std::size_t size() const { return t.size(); }
};

// The series of the given times (JD) and magnitudes, which have the same
// length; their order is kept.
CentredSeries centred_series(std::span<const double> times, std::span<const double> magnitudes);

}  // namespace varisift
