// Phase dispersion with fixed bins (Stellingwerf 1978, ApJ 224, 953): the
// pooled variance of the magnitudes within phase bins over their whole
// variance, theta = s^2 / sigma^2. Near 1 where the period is not one of
// the light curve, small at its true period.
#pragma once

#include "periods/centred_series.h"

namespace varisift {

// Bins per cycle when a period is compared with its double.
inline constexpr int dispersion_bins = 20;

// theta at `period_d` with `bins` equal bins, phases counted from the
// series' reference time: s^2 = sum over bins of sum (y - bin mean)^2,
// divided by sum over non-empty bins of (n_j - 1); sigma^2 = sum (y - mean
// y)^2 / (N - 1). 1 where either has nothing to divide by or sigma^2 is 0.
double phase_dispersion(const CentredSeries& series, double period_d, int bins);

}  // namespace varisift
