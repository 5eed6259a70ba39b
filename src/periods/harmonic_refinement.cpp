// Golden-section search of the harmonic power around a periodogram top.
#include "periods/harmonic_refinement.h"

#include <algorithm>
#include <cmath>

#include "periods/peak_refinement.h"

namespace varisift {

namespace {

// The share of an interval that golden-section search keeps each step:
// (sqrt(5) - 1) / 2.
const double golden_share = (std::sqrt(5.0) - 1) / 2;

}  // namespace

std::optional<HarmonicPeak> refine_harmonic_peak(const CentredSeries& series, const FrequencyGrid& grid, double top,
                                                 int harmonics) {
  std::optional<HarmonicFit> first = fit_harmonics(series, top, harmonics);
  if (!first) return std::nullopt;
  HarmonicPeak best{top, std::move(*first), 1};
  auto power_at = [&](double f) {
    std::optional<HarmonicFit> fit = fit_harmonics(series, f, harmonics);
    ++best.fits;
    if (!fit) return -1.0;
    const double power = fit->power;
    if (power > best.fit.power) best = {f, std::move(*fit), best.fits};
    return power;
  };

  double low = std::max(grid.first, top - grid.step);
  double high = std::min(grid.last(), top + grid.step);
  const double resolution = grid.step / fine_steps_per_step;
  double x1 = high - golden_share * (high - low);
  double x2 = low + golden_share * (high - low);
  double p1 = power_at(x1);
  double p2 = power_at(x2);
  while (high - low > resolution) {
    if (p1 >= p2) {
      high = x2;
      x2 = x1;
      p2 = p1;
      x1 = high - golden_share * (high - low);
      p1 = power_at(x1);
    } else {
      low = x1;
      x1 = x2;
      p1 = p2;
      x2 = low + golden_share * (high - low);
      p2 = power_at(x2);
    }
  }
  return best;
}

}  // namespace varisift
