// The period search of one star: the generalised Lomb-Scargle periodogram
// over a frequency grid, its five highest peaks refined and ranked by a
// three-harmonic model, the chosen period compared with its double for
// eclipsing shapes, the false-alarm probability of the highest peak, the
// amplitude and epoch of the model and a flag that says how far to trust
// the period. Which measurements go in is the caller's choice.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "periods/frequency_grid.h"
#include "periods/harmonic_fit.h"
#include "periods/period_flag.h"

namespace varisift {

struct PeriodSettings {
  PeriodRange range;              // replaces the grid's ends when given
  bool keep_periodogram = false;  // keep the powers for a figure
};

struct PeriodResult {
  double span_d = 0;          // T, the span of the times
  std::size_t points = 0;     // N
  double peak_frequency = 0;  // the chosen peak, cycles per day
  double peak_power = 0;      // its periodogram power
  bool eclipsing = false;     // the period is twice the chosen peak's
  PeriodFlag flag = PeriodFlag::ok;
  // The period found, days; under `long`, T/2 as a lower limit.
  double period_d = 0;
  // T over the period found (before the lower limit of `long`).
  double cycles = 0;
  double log10_fap = 0;  // log10 of the false-alarm probability of the highest peak
  // Empty under `long`; the error also where the peak's half width could
  // not be measured, the others where the model could not be fitted.
  std::optional<double> period_err_d;   // half width at half maximum of the peak, days
  std::optional<double> amplitude_mag;  // peak to peak of the three-harmonic model
  std::optional<double> epoch_jd;       // minimum light when eclipsing, else maximum light, nearest the middle
  std::optional<double> epoch_hjd;      // the same, heliocentric
  std::optional<HarmonicModel> model;   // three harmonics at 1 / period_d
  // The grid searched, and its powers when kept.
  FrequencyGrid grid;
  std::vector<double> power;
  // Work done: frequencies times points of the periodogram's evaluations.
  std::size_t point_frequencies = 0;
};

// Points needed: more than the three-harmonic model's seven parameters.
inline constexpr std::size_t min_search_points = 8;

// The search for times (JD) and magnitudes of equal length, for a star at
// ra_deg, dec_deg (for the heliocentric epoch). None when there are fewer
// than min_search_points, a value is not finite, all times are equal or the
// grid is empty.
std::optional<PeriodResult> search_period(std::span<const double> times, std::span<const double> magnitudes,
                                          double ra_deg, double dec_deg, const PeriodSettings& settings);

}  // namespace varisift
