// The highest peaks of the periodogram on its grid, their tops found on a
// grid twenty times finer, and the half width of a peak at half its height.
//
// A grid step of 1/(5T) lies at most 1/(10T) from a peak's top, where a
// peak of width 1/T still has 97 % of its height, so no peak is missed; the
// finer grid brings the top within 1/(200T), a period within P/(200T).
#pragma once

#include <cstddef>
#include <vector>

#include "periods/centred_series.h"
#include "periods/frequency_grid.h"
#include "periods/gls_periodogram.h"

namespace varisift {

// Fine steps per grid step, and grid steps searched on each side of a peak.
inline constexpr int fine_steps_per_step = 20;

// The rotations of one fine step (a twentieth of the grid's step) up and
// down the frequencies, shared by every peak of a series.
struct FineSteps {
  PhaseStep up;
  PhaseStep down;
};

FineSteps fine_steps(const CentredSeries& series, const FrequencyGrid& grid);

struct RefinedPeak {
  double frequency = 0;  // cycles per day
  double power = 0;
  std::size_t frequencies_evaluated = 0;
};

// The grid indexes of the `how_many` highest local maxima of the powers,
// highest first, the lower frequency first among equal powers. A point is a
// local maximum when it is above the point before it and not below the one
// after it (the first of a flat top); beyond the ends of the grid lies
// nothing, so a power falling from the first frequency on is a peak there.
std::vector<std::size_t> highest_peaks(const std::vector<double>& powers, std::size_t how_many);

// The highest power at f_k + j step/20 for j = -20..20, kept within the
// grid's ends; the lower frequency among equal powers.
RefinedPeak refine_peak(const CentredSeries& series, const FrequencyGrid& grid, const FineSteps& fine, std::size_t k);

struct PeakWidth {
  double half_width = 0;  // cycles per day
  std::size_t frequencies_evaluated = 0;
};

// The half width at half maximum around a refined top: on each side,
// fine steps outward until the power falls below half the top's, the
// crossing interpolated linearly between the last two steps; half the
// distance between the two crossings. A side that does not fall that far
// within 24 grid steps counts at that distance.
PeakWidth peak_half_width(const CentredSeries& series, const RefinedPeak& top, const FineSteps& fine);

}  // namespace varisift
