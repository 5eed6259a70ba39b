// Magnitude-binned scores of one variability index.
//
// Cost, for N stars with the index and D distinct median magnitudes (whole
// hundredths, so D is at most a few thousand): the stars are sorted by
// magnitude and by index value once each (N log N). A bin depends only on
// the magnitude at its centre, so the stars of one magnitude share one bin.
// Going up the distinct magnitudes, the bin's stars are held as the ranks
// of their index values (RankCounts); a star enters and leaves as the bin's
// ends pass it (log N each, and in dense ranges each star enters and
// leaves about once), and the median and the deviation median are then
// found by rank in log^2 N steps per bin. In all about N log N + D log^2 N:
// a few milliseconds for the largest series, where selecting over every
// bin afresh would take tens of milliseconds (bins of faint stars hold
// thousands).
#include "indices/magnitude_bins.h"

#include <algorithm>
#include <numeric>

#include "indices/order_statistics.h"
#include "indices/rank_counts.h"

namespace varisift {

namespace {

constexpr std::size_t fewest_per_bin = 20;
constexpr std::size_t most_per_bin = 100;
constexpr std::size_t share_per_bin = 10;  // stars_per_bin asks a tenth of the stars, within the limits

// The smallest half-width bin_half_width + k x bin_widening_step
// (k = 0, 1, ...) that is at least distance.
int widened_half_width(int distance) {
  if (distance <= bin_half_width) return bin_half_width;
  int steps = (distance - bin_half_width + bin_widening_step - 1) / bin_widening_step;
  return bin_half_width + steps * bin_widening_step;
}

// The stars in magnitude order, each with the rank of its index value.
struct RankedStars {
  std::vector<std::size_t> star;  // given position, in magnitude order
  std::vector<int> magnitude;     // in magnitude order
  std::vector<std::size_t> rank;  // of the index value, in magnitude order
  std::vector<double> by_rank;    // index values in ascending order
};

RankedStars ranked(std::span<const MagnitudeAndIndex> stars) {
  const std::size_t n = stars.size();
  RankedStars r;
  r.star.resize(n);
  std::iota(r.star.begin(), r.star.end(), std::size_t{0});
  std::sort(r.star.begin(), r.star.end(),
            [&stars](std::size_t a, std::size_t b) { return stars[a].magnitude < stars[b].magnitude; });
  std::vector<std::size_t> by_value(n);
  std::iota(by_value.begin(), by_value.end(), std::size_t{0});
  // Equal values may take their ranks in any order: a median or deviation
  // picked by rank is the same value whichever of them holds it.
  std::sort(by_value.begin(), by_value.end(),
            [&stars, &r](std::size_t a, std::size_t b) { return stars[r.star[a]].value < stars[r.star[b]].value; });
  r.magnitude.resize(n);
  r.rank.resize(n);
  r.by_rank.resize(n);
  for (std::size_t k = 0; k < n; ++k) {
    r.magnitude[k] = stars[r.star[k]].magnitude;
    r.rank[by_value[k]] = k;
    r.by_rank[k] = stars[r.star[by_value[k]]].value;
  }
  return r;
}

}  // namespace

std::size_t stars_per_bin(std::size_t star_count) {
  return std::max(fewest_per_bin, std::min(most_per_bin, star_count / share_per_bin));
}

std::vector<std::optional<double>> similar_magnitude_scores(std::span<const MagnitudeAndIndex> stars) {
  const std::size_t n = stars.size();
  std::vector<std::optional<double>> scores(n);
  if (n == 0) return scores;
  const RankedStars r = ranked(stars);
  const std::vector<int>& magnitude = r.magnitude;

  const std::size_t wanted = std::min(stars_per_bin(n), n);
  const bool bins_hold_all = n < stars_per_bin(n);
  std::size_t nearest_start = 0;  // first of the `wanted` stars nearest the centre
  RankCounts bin(n);
  std::size_t bin_first = 0;  // the bin holds the stars [bin_first, bin_end) in magnitude order
  std::size_t bin_end = 0;
  auto value_at = [&bin, &r](std::size_t i) { return r.by_rank[bin.kth_smallest(i + 1)]; };
  for (std::size_t group = 0; group < n;) {
    const int centre = magnitude[group];
    std::size_t group_end = group;
    while (group_end < n && magnitude[group_end] == centre) ++group_end;

    // The `wanted` nearest magnitudes form a run of the sorted list; it
    // only moves up as the centre does. It moves while the next magnitude
    // above is nearer than the lowest one in the run.
    while (nearest_start + wanted < n && magnitude[nearest_start + wanted] - centre < centre - magnitude[nearest_start])
      ++nearest_start;
    const int farthest = std::max(centre - magnitude[nearest_start], magnitude[nearest_start + wanted - 1] - centre);
    std::size_t first = 0;
    std::size_t end = n;
    if (!bins_hold_all) {
      const int half_width = widened_half_width(farthest);
      first = static_cast<std::size_t>(std::lower_bound(magnitude.begin(), magnitude.end(), centre - half_width) -
                                       magnitude.begin());
      end = static_cast<std::size_t>(std::upper_bound(magnitude.begin(), magnitude.end(), centre + half_width) -
                                     magnitude.begin());
    }
    // Widen to cover both the old and the new range, then narrow, so that
    // a star is never removed before it was added.
    while (bin_end < end) bin.add(r.rank[bin_end++]);
    while (bin_first > first) bin.add(r.rank[--bin_first]);
    while (bin_end > end) bin.remove(r.rank[--bin_end]);
    while (bin_first < first) bin.remove(r.rank[bin_first++]);

    const double expected = median_of_ascending(value_at, bin.count());
    const double spread = normal_sigma_per_mad * median_deviation(value_at, bin.count(), expected);
    if (spread > 0) {
      for (std::size_t k = group; k < group_end; ++k) scores[r.star[k]] = (stars[r.star[k]].value - expected) / spread;
    }
    group = group_end;
  }
  return scores;
}

}  // namespace varisift
