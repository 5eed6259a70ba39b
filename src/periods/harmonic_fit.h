// The K-harmonic model of a light curve at one frequency, fitted by least
// squares: m(t) = c + sum over k = 1..K of a_k cos(2 pi k f t) + b_k
// sin(2 pi k f t). Its power P_K = 1 - chi2(model) / chi2(constant) runs from
// 0 to 1; for K = 1 it is the periodogram's power.
#pragma once

#include <optional>
#include <vector>

#include "periods/centred_series.h"

namespace varisift {

struct HarmonicModel {
  double frequency = 0;           // cycles per day
  double reference_time = 0;      // JD where the terms have phase 0
  double constant = 0;            // mag
  std::vector<double> cos_terms;  // a_1 .. a_K, mag
  std::vector<double> sin_terms;  // b_1 .. b_K, mag

  // The model at a phase, in cycles since reference_time.
  double magnitude_at_phase(double phase) const;
  double magnitude_at(double julian_date) const;
};

struct HarmonicFit {
  HarmonicModel model;
  double power = 0;
  double residual_sum_of_squares = 0;  // mag^2
};

// The fit of `harmonics` terms at `frequency`; none where the series has
// no more points than the model has parameters or the terms cannot be told
// apart at the times of the series.
std::optional<HarmonicFit> fit_harmonics(const CentredSeries& series, double frequency, int harmonics);

}  // namespace varisift
