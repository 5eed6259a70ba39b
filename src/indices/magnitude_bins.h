// Judging one variability index of every star against the stars of similar
// brightness: the expected value is the index's median over a magnitude bin
// around the star, the spread 1.4826 times the median absolute deviation of
// the index around it, and the star's score (index - expected) / spread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace varisift {

// One star with the index: its median magnitude (1/100 mag) and the value.
struct MagnitudeAndIndex {
  std::int16_t magnitude = 0;
  double value = 0;
};

// Half-width of a bin before any widening, and the widening step, 1/100 mag.
inline constexpr int bin_half_width = 25;
inline constexpr int bin_widening_step = 2;
// Scale of a median absolute deviation to the standard deviation of a
// normal distribution.
inline constexpr double normal_sigma_per_mad = 1.4826;

// Stars a bin must hold among star_count stars with the index:
// max(20, min(100, star_count / 10)), the division rounded down.
std::size_t stars_per_bin(std::size_t star_count);

// The score of every star, in the order given. The bin of a star holds the
// stars whose magnitude lies within the half-width of its own (ends
// included, the star itself counted): 0.25 mag, widened by 0.02 mag at a
// time until it holds stars_per_bin stars. When fewer stars are given than
// a bin needs, every bin holds them all. A bin's spread is never taken below
// min_spread, the finest difference the index can show; a star whose bin
// still has a spread of 0 (min_spread 0) gets no score.
std::vector<std::optional<double>> similar_magnitude_scores(std::span<const MagnitudeAndIndex> stars,
                                                            double min_spread = 0);

}  // namespace varisift
