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

// The margin by which the three-harmonic model at a subharmonic f/2 or
// f/3 of a peak must fit better than the model at f to win over it
// (N ln(chi2 at f / chi2 at f/m), see peak_choice.h). Chosen on simulated
// series other than those the recovery is measured on (`bench/periods.sh
// --tune`: presets typical, cloudy, long-night, three-nights and
// ten-nights, seeds 1 to 20, 1,326 variables whose period the images can
// show): margins from 10 to 60 give the most exact periods of pulsating
// stars (93.4 % to 94.2 %), against 92.5 % without a margin, where noise
// lets subharmonics win, and 76 % when a subharmonic never wins, where a
// pulsation's strong harmonics win instead; the periods of eclipsing stars
// hardly change across that plateau. 30 lies in its middle.
inline constexpr double default_subharmonic_margin = 30;
// The period is doubled (an eclipsing shape with unequal minima, whose
// periodogram peaks at twice the orbital frequency) when phase dispersion
// at 2P is below this share of that at P. For a sine, 2P has the wider
// bins in P's phase and the larger dispersion. Chosen on the same series:
// a higher share doubles more eclipsing stars rightly and more pulsating
// ones wrongly. At 0.95, 36.3 % of the eclipsing stars of three nights
// get their exact period (32.9 % at 0.9, 39.0 % at 1) while the pulsating
// stars keep 94.0 % (94.2 % at 0.9, 91.8 % at 1).
inline constexpr double default_doubling_ratio = 0.95;

struct PeriodSettings {
  PeriodRange range;              // replaces the grid's ends when given
  bool keep_periodogram = false;  // keep the powers for a figure
  // The thresholds of the two choices; a program that tunes them tries
  // others.
  double subharmonic_margin = default_subharmonic_margin;
  double doubling_ratio = default_doubling_ratio;
};

struct PeriodResult {
  double span_d = 0;          // T, the span of the times
  std::size_t points = 0;     // N
  double peak_frequency = 0;  // the chosen peak, cycles per day
  double peak_power = 0;      // its periodogram power
  // The refined peak of the highest periodogram power, whose false-alarm
  // probability log10_fap is, cycles per day.
  double highest_frequency = 0;
  bool eclipsing = false;  // the period is twice the chosen peak's
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
  // Work done: frequencies times points of the periodogram's evaluations,
  // and the harmonic models fitted.
  std::size_t point_frequencies = 0;
  std::size_t model_fits = 0;
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
