// A grid search over the phase, narrowed around the best point.
#include "periods/model_extremes.h"

#include <cmath>

namespace varisift {

namespace {

// A model of three harmonics has at most six extremes per cycle, at least
// a few hundredths of a cycle apart unless they are nearly equal; 500
// phases put a point near each.
constexpr int coarse_phases = 500;
// Each finer grid spans two steps of the one before around its best point
// with this many phases, and this many finer grids follow: the step ends at
// 2e-3 / 20^3, about 2.5e-7 of a cycle.
constexpr int fine_phases = 41;
constexpr int finer_grids = 3;

// The phase in [0, 1) of the lowest value of sign x magnitude near `best`
// (on the coarse grid): sign +1 finds the brightest point, -1 the faintest.
ModelExtreme narrowed(const HarmonicModel& model, double sign, double best) {
  double best_value = sign * model.magnitude_at_phase(best);
  double step = 1.0 / coarse_phases;
  for (int round = 0; round < finer_grids; ++round) {
    const double from = best - step;
    step = 2 * step / (fine_phases - 1);
    for (int i = 0; i < fine_phases; ++i) {
      const double phase = from + i * step;
      const double v = sign * model.magnitude_at_phase(phase);
      if (v < best_value) {
        best = phase;
        best_value = v;
      }
    }
  }
  best -= std::floor(best);
  return {best, model.magnitude_at_phase(best)};
}

}  // namespace

ModelExtremes model_extremes(const HarmonicModel& model) {
  double brightest = 0, faintest = 0;
  double low = model.magnitude_at_phase(0), high = low;
  for (int i = 1; i < coarse_phases; ++i) {
    const double phase = static_cast<double>(i) / coarse_phases;
    const double m = model.magnitude_at_phase(phase);
    if (m < low) {
      low = m;
      brightest = phase;
    }
    if (m > high) {
      high = m;
      faintest = phase;
    }
  }
  return {narrowed(model, 1, brightest), narrowed(model, -1, faintest)};
}

double time_of_phase_nearest(const HarmonicModel& model, double phase, double time) {
  const double cycles = std::round(model.frequency * (time - model.reference_time) - phase);
  return model.reference_time + (cycles + phase) / model.frequency;
}

}  // namespace varisift
