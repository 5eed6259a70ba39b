// Light-curve shapes of the simulated variables; see light_curve.h.
#include "light_curve.h"

#include <cmath>

#include "portable_math.h"

namespace varisift::simulate {

namespace {

constexpr double two_pi = 6.28318530717958647692;

// The trend's sine is at its lowest, the star at its brightest, here.
constexpr double trend_maximum_phase = 0.75;

// Phase in [0, 1) at `days`.
double phase_at(const SkyObject& object, double days) {
  const double cycles = cycle_count(object, days);
  return cycles - std::floor(cycles);
}

// Linear rise to maximum light over the rise fraction, then linear decline.
double pulsating_offset(const SkyObject& object, double phase) {
  const double rise = object.shape;
  if (phase < rise) {
    return object.amplitude_mag * (0.5 - phase / rise);
  }
  return object.amplitude_mag * (-0.5 + (phase - rise) / (1.0 - rise));
}

// Depth of one eclipse of half-width w (in phase) at distance d from its centre.
double eclipse_depth(double depth, double distance, double half_width) {
  if (distance >= half_width) {
    return 0.0;
  }
  const double x = distance / half_width;
  return depth * (1.0 - x * x);
}

double eclipsing_offset(const SkyObject& object, double phase) {
  const double to_primary = phase < 0.5 ? phase : 1.0 - phase;
  const double to_secondary = std::fabs(phase - 0.5);
  return eclipse_depth(object.amplitude_mag, to_primary, object.shape) +
         eclipse_depth(object.amplitude_mag * object.secondary_depth, to_secondary, object.shape);
}

double trend_offset(const SkyObject& object, double phase) {
  return 0.5 * object.amplitude_mag * portable_sin(two_pi * phase);
}

}  // namespace

double cycle_count(const SkyObject& object, double days) { return days / object.period_days + object.phase; }

double epoch_phase(const SkyObject& object) {
  switch (object.kind) {
    case VariableKind::pulsating:
      return object.shape;  // the end of the rise
    case VariableKind::trend:
      return trend_maximum_phase;
    case VariableKind::eclipsing:
    case VariableKind::constant:
      break;
  }
  return 0.0;
}

double variability_offset(const SkyObject& object, double days) {
  if (object.kind == VariableKind::constant || object.period_days <= 0.0) {
    return 0.0;
  }
  const double phase = phase_at(object, days);
  switch (object.kind) {
    case VariableKind::pulsating:
      return pulsating_offset(object, phase);
    case VariableKind::eclipsing:
      return eclipsing_offset(object, phase);
    case VariableKind::trend:
      return trend_offset(object, phase);
    case VariableKind::constant:
      break;
  }
  return 0.0;
}

}  // namespace varisift::simulate
