// The brightest and faintest points of a harmonic model over one cycle:
// they give the amplitude (peak to peak) and the epoch of maximum or
// minimum light. Magnitudes grow fainter, so maximum light is the model's
// smallest magnitude.
#pragma once

#include "periods/harmonic_fit.h"

namespace varisift {

struct ModelExtreme {
  double phase = 0;      // cycles since the model's reference time, in [0, 1)
  double magnitude = 0;  // mag
};

struct ModelExtremes {
  ModelExtreme brightest;
  ModelExtreme faintest;

  double peak_to_peak() const { return faintest.magnitude - brightest.magnitude; }
};

// Found on an even grid of phases and then on finer grids around the best
// point, to about 2.5e-7 of a cycle.
ModelExtremes model_extremes(const HarmonicModel& model);

// The time (JD) of the cycle's point at `phase` nearest to `time`.
double time_of_phase_nearest(const HarmonicModel& model, double phase, double time);

}  // namespace varisift
