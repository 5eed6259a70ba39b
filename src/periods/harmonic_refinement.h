// The top of a peak as the harmonic model sees it. For a light curve that
// is no sine (a pulsation's fast rise and slow decline, an eclipse) seen
// over a few cycles, the one-term periodogram's top lies off the frequency
// whose harmonics fit best, by a few hundredths of it at two to four
// cycles: the harmonics' own peaks and the window's sidelobes pull it. The
// model with all its harmonics places the period within the precision of
// the refinement.
#pragma once

#include <cstddef>
#include <optional>

#include "periods/centred_series.h"
#include "periods/frequency_grid.h"
#include "periods/harmonic_fit.h"

namespace varisift {

struct HarmonicPeak {
  double frequency = 0;  // cycles per day
  HarmonicFit fit;
  std::size_t fits = 0;  // models fitted on the way
};

// The frequency of the highest harmonic power within one step of the grid
// around `top` (kept within the grid's ends), by golden-section search down
// to a twentieth of a step, the fit at `top` being the first best; none when
// no model can be fitted at `top`. Near a peak the power has one maximum
// there, which the search finds; of the frequencies tried the best is kept
// in any case.
std::optional<HarmonicPeak> refine_harmonic_peak(const CentredSeries& series, const FrequencyGrid& grid, double top,
                                                 int harmonics);

}  // namespace varisift
