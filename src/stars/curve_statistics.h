// Order statistics of a light curve: median, quartiles, outlier fences a
// fixed multiple of the quartile distance outside the quartiles, and the
// extreme magnitudes inside the fences.
#pragma once

#include <cstdint>
#include <span>

#include "stars/light_curve.h"

namespace varisift {

struct Quartiles {
  std::int16_t lower = 0;
  std::int16_t median = 0;
  std::int16_t upper = 0;
};

// One rule for the fractions 1/2, 1/4 and 3/4 of n sorted values: where n
// times the fraction is a whole number k, the mean of the k-th and (k+1)-th
// value rounded half up; otherwise the value at the next whole position.
// An empty list has all quartiles 0.
Quartiles quartiles_of_sorted(std::span<const std::int16_t> sorted);

// Outlier fences factor_tenths / 10 quartile distances below the lower and
// above the upper quartile, each rounded to the nearest whole number, halves
// up, and kept to the 16 bits that fit.
struct Fences {
  std::int16_t lower = 0;
  std::int16_t upper = 0;
};
Fences quartile_fences(const Quartiles& q, std::uint32_t factor_tenths);

// Whether a magnitude lies strictly between the fences, the measurements the
// detection walks; a value on a fence is an outlier.
inline bool inside_fences(std::int16_t x, std::int16_t lower_fence, std::int16_t upper_fence) {
  return x > lower_fence && x < upper_fence;
}

// Sorts the curve and sets median, quartiles, fences and inlier extremes.
void light_curve_statistics(LightCurve& curve, std::uint32_t factor_tenths);

}  // namespace varisift
