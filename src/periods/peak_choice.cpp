// The ranking of peaks and the subharmonic rule.
#include "periods/peak_choice.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace varisift {

namespace {

// Whether `low` lies near f/2 or f/3 of `high`.
bool is_subharmonic(double low, double high, double tolerance) {
  for (double m : {2.0, 3.0})
    if (std::abs(low - high / m) <= tolerance) return true;
  return false;
}

// Whether the model at a subharmonic fits better than the model at the
// higher frequency by more than the margin. Equal perfect fits (both chi2 0)
// give NaN and count as not better.
bool clearly_better(const PeakCandidate& subharmonic, const PeakCandidate& higher, std::size_t points, double margin) {
  const double evidence = static_cast<double>(points) *
                          (std::log(higher.residual_sum_of_squares) - std::log(subharmonic.residual_sum_of_squares));
  return evidence > margin;
}

}  // namespace

std::size_t chosen_peak(const std::vector<PeakCandidate>& candidates, std::size_t points, double tolerance,
                        double margin) {
  std::vector<std::size_t> order(candidates.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return candidates[a].harmonic_power > candidates[b].harmonic_power;
  });
  std::size_t best = order.front();
  for (std::size_t i = 1; i < order.size(); ++i) {
    const PeakCandidate& other = candidates[order[i]];
    if (is_subharmonic(candidates[best].frequency, other.frequency, tolerance) &&
        !clearly_better(candidates[best], other, points, margin))
      best = order[i];
  }
  return best;
}

}  // namespace varisift
