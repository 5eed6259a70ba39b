// Magnitude-binned scores of one variability index.
//
// Cost: the stars are sorted by magnitude once (N log N). A bin depends only
// on the magnitude at its centre, and magnitudes are whole hundredths, so
// the stars of one magnitude share one bin: the median and the deviation
// median are worked out once per distinct magnitude, by selection, in time
// linear in the bin. A star lies in the unwidened bins of at most 51
// distinct magnitudes (those within 0.25 mag of its own), and a widened bin
// holds little more than stars_per_bin stars, so the whole costs about
// N log N + 51 N + D x 100 for D distinct magnitudes (D <= a few thousand):
// a few milliseconds for the largest series, far below the detection.
#include "indices/magnitude_bins.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "indices/medians.h"

namespace varisift {

namespace {

constexpr std::size_t fewest_per_bin = 20;
constexpr std::size_t most_per_bin = 100;
constexpr std::size_t share_per_bin = 10;  // stars_per_bin asks a tenth of the stars, within the limits

// The smallest half-width half_width + k x step (k = 0, 1, ...) that is at
// least distance.
int widened_half_width(int distance) {
  if (distance <= bin_half_width) return bin_half_width;
  int steps = (distance - bin_half_width + bin_widening_step - 1) / bin_widening_step;
  return bin_half_width + steps * bin_widening_step;
}

}  // namespace

std::size_t stars_per_bin(std::size_t star_count) {
  return std::max(fewest_per_bin, std::min(most_per_bin, star_count / share_per_bin));
}

std::vector<std::optional<double>> similar_magnitude_scores(std::span<const MagnitudeAndIndex> stars) {
  const std::size_t n = stars.size();
  std::vector<std::optional<double>> scores(n);
  if (n == 0) return scores;
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(),
            [&stars](std::size_t a, std::size_t b) { return stars[a].magnitude < stars[b].magnitude; });
  std::vector<int> magnitude(n);
  for (std::size_t i = 0; i < n; ++i) magnitude[i] = stars[order[i]].magnitude;

  const std::size_t wanted = std::min(stars_per_bin(n), n);
  const bool bins_hold_all = n < stars_per_bin(n);
  std::size_t nearest_start = 0;  // first of the `wanted` stars nearest the centre
  std::vector<double> bin;
  for (std::size_t group = 0; group < n;) {
    const int centre = magnitude[group];
    std::size_t group_end = group;
    while (group_end < n && magnitude[group_end] == centre) ++group_end;

    // The `wanted` nearest magnitudes form a run of the sorted list; it
    // only moves up as the centre does. It moves while the next magnitude
    // above is nearer than the lowest one in the run.
    while (nearest_start + wanted < n && magnitude[nearest_start + wanted] - centre < centre - magnitude[nearest_start])
      ++nearest_start;
    const int farthest =
        std::max(centre - magnitude[nearest_start], magnitude[nearest_start + wanted - 1] - centre);
    std::size_t first = 0;
    std::size_t end = n;
    if (!bins_hold_all) {
      const int half_width = widened_half_width(farthest);
      first = static_cast<std::size_t>(std::lower_bound(magnitude.begin(), magnitude.end(), centre - half_width) -
                                       magnitude.begin());
      end = static_cast<std::size_t>(std::upper_bound(magnitude.begin(), magnitude.end(), centre + half_width) -
                                     magnitude.begin());
    }

    bin.clear();
    for (std::size_t i = first; i < end; ++i) bin.push_back(stars[order[i]].value);
    const double expected = median_in_place(bin);
    for (double& v : bin) v = std::fabs(v - expected);
    const double spread = normal_sigma_per_mad * median_in_place(bin);
    if (spread > 0) {
      for (std::size_t i = group; i < group_end; ++i) scores[order[i]] = (stars[order[i]].value - expected) / spread;
    }
    group = group_end;
  }
  return scores;
}

}  // namespace varisift
