// Which of the refined peaks gives the period. The peak whose
// three-harmonic model fits best is chosen, with one exception: the model
// at f/2 holds the harmonics f/2, f and 3f/2, and the one at f/3 holds f/3,
// 2f/3 and f, so both always fit at least as well as the sine at f; for a
// plain sine at f, the model at f/2 or f/3 fits better than the one at f
// about every other time by chance. So a peak near f/2 or f/3 of another
// peak wins over it only when its model fits clearly better.
#pragma once

#include <cstddef>
#include <vector>

namespace varisift {

// Harmonics of the model that ranks the peaks.
inline constexpr int ranking_harmonics = 3;

// Both models have the same number of parameters (seven), so an
// information criterion (BIC or AIC) reduces to comparing
// N ln(chi2 at f / chi2 at f/m); a subharmonic wins when that exceeds a
// margin (PeriodSettings holds the one a search uses).

struct PeakCandidate {
  double frequency = 0;                // refined top, cycles per day
  double harmonic_power = 0;           // P_3 at that frequency
  double residual_sum_of_squares = 0;  // chi2 of the three-harmonic model, mag^2
};

// The index of the chosen candidate (there must be at least one). Peaks are
// taken in order of harmonic power, the earlier first among equal powers;
// the best so far gives way to a later peak at m times its frequency (m = 2
// or 3, within `tolerance` cycles per day) unless it beats that peak by more
// than `margin`.
std::size_t chosen_peak(const std::vector<PeakCandidate>& candidates, std::size_t points, double tolerance,
                        double margin);

}  // namespace varisift
