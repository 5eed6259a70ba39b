// Three variability indices of one light curve: the interquartile range,
// the median absolute deviation and the inverse von Neumann ratio 1/eta.
// IQR and MAD follow any change of the star's brightness and shrug off
// single outliers; 1/eta rises when neighbouring measurements in time are
// closer to each other than the curve's spread, i.e. for changes slower
// than the gaps between images.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace varisift {

struct CurveIndices {
  double iqr = 0;  // in the curve's unit, unscaled (no 1/1.34898); a multiple of 1/4
  double mad = 0;  // in the curve's unit, unscaled (no x 1.4826)
  // Dimensionless; empty for fewer than two values or a constant curve.
  std::optional<double> inv_eta;
};

// The indices of the magnitudes in time order (any unit; Varisift's curves
// are in 1/100 mag).
//  - IQR = Q3 - Q1, the quartiles by position: Q(p) lies at h = (n - 1) p in
//    the sorted values, interpolated linearly between the two around it.
//    Never by value: with magnitudes in steps of 0.01 many values equal the
//    median, and a split by value would leave the upper half to the few
//    deviating points (an eclipse's minima).
//  - MAD = median of |m - Q2|, Q2 the median.
//  - 1/eta = sum (m - mean)^2 / sum of (next m - m)^2 over neighbours in
//    time, worked out in whole numbers and divided once, so the value is
//    the correctly rounded quotient on every platform.
// Medians of an even count are the mean of the two middle values. An empty
// curve has IQR and MAD 0.
// `sorted` holds the same values in ascending order (the curve's statistics
// sort them anyway).
CurveIndices curve_indices(std::span<const std::int16_t> in_time_order, std::span<const std::int16_t> sorted);

}  // namespace varisift
