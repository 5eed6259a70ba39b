// Local maxima of the grid, the fine search around them and the width of a
// peak.
#include "periods/peak_refinement.h"

#include <algorithm>
#include <cstdint>

namespace varisift {

namespace {

// The fine steps evaluated at a time: three grid steps, beyond the half
// width 0.44/T of a peak over evenly filled data, so that one piece on each
// side usually does. The half width is sought on each side up to eight
// pieces, 24 grid steps: about five times the width 1/T of a peak.
constexpr std::size_t width_chunk = 3 * fine_steps_per_step;
constexpr std::size_t max_width_steps = 8 * width_chunk;

// The frequency where the power crosses `half` on one side (direction -1 or
// +1) of the top.
double half_power_crossing(const CentredSeries& series, const RefinedPeak& top, const PhaseStep& rotation,
                           std::size_t& evaluated) {
  const double half = top.power / 2;
  const double step = rotation.step;
  double previous_f = top.frequency;
  double previous_p = top.power;
  for (std::size_t done = 0; done < max_width_steps; done += width_chunk) {
    const double from = top.frequency + static_cast<double>(done + 1) * step;
    const std::vector<double> powers = gls_powers(series, from, rotation, width_chunk);
    evaluated += width_chunk;
    for (std::size_t j = 0; j < powers.size(); ++j) {
      const double f = from + static_cast<double>(j) * step;
      if (powers[j] < half) return previous_f + (previous_p - half) / (previous_p - powers[j]) * (f - previous_f);
      previous_f = f;
      previous_p = powers[j];
    }
  }
  return previous_f;
}

}  // namespace

std::vector<std::size_t> highest_peaks(const std::vector<double>& powers, std::size_t how_many) {
  std::vector<std::size_t> peaks;
  for (std::size_t k = 0; k < powers.size(); ++k) {
    const bool above_before = k == 0 || powers[k] > powers[k - 1];
    const bool not_below_after = k + 1 == powers.size() || powers[k] >= powers[k + 1];
    if (above_before && not_below_after) peaks.push_back(k);
  }
  std::stable_sort(peaks.begin(), peaks.end(), [&](std::size_t a, std::size_t b) { return powers[a] > powers[b]; });
  if (peaks.size() > how_many) peaks.resize(how_many);
  return peaks;
}

FineSteps fine_steps(const CentredSeries& series, const FrequencyGrid& grid) {
  FineSteps fine{phase_step(series, grid.step / fine_steps_per_step), {}};
  // A turn the other way: the same cosines, the sines negated.
  fine.down = fine.up;
  fine.down.step = -fine.up.step;
  for (double& s : fine.down.sin_turn) s = -s;
  return fine;
}

RefinedPeak refine_peak(const CentredSeries& series, const FrequencyGrid& grid, const FineSteps& fine, std::size_t k) {
  // Fine frequencies first + m h, m = 20k - 20 .. 20k + 20 within the grid.
  const double fine_step = fine.up.step;
  const std::int64_t per_step = fine_steps_per_step;
  const std::int64_t centre = static_cast<std::int64_t>(k) * per_step;
  const std::int64_t lowest = std::max<std::int64_t>(0, centre - per_step);
  const std::int64_t highest =
      std::min<std::int64_t>(static_cast<std::int64_t>(grid.count - 1) * per_step, centre + per_step);
  const double from = grid.first + static_cast<double>(lowest) * fine_step;
  const std::size_t count = static_cast<std::size_t>(highest - lowest + 1);
  const std::vector<double> powers = gls_powers(series, from, fine.up, count);
  const std::size_t best = static_cast<std::size_t>(std::max_element(powers.begin(), powers.end()) - powers.begin());
  return {from + static_cast<double>(best) * fine_step, powers[best], count};
}

PeakWidth peak_half_width(const CentredSeries& series, const RefinedPeak& top, const FineSteps& fine) {
  PeakWidth width;
  const double left = half_power_crossing(series, top, fine.down, width.frequencies_evaluated);
  const double right = half_power_crossing(series, top, fine.up, width.frequencies_evaluated);
  width.half_width = (right - left) / 2;
  return width;
}

}  // namespace varisift
