// Everything the detection learns about one star in one pass: its light
// curve with the order statistics, the sums of the in-range walk, the three
// criteria and the ranges they are normalised by. The reporting of a
// candidate reads this one record.
#pragma once

#include <cstdint>

#include "stars/light_curve.h"

namespace varisift {

struct WalkSums {
  std::uint16_t inlier_count = 1;   // stays 1 when no value is in range
  std::uint32_t path_sum = 0;       // sum of |step|
  std::uint32_t square_sum = 0;     // sum of step^2
  std::uint32_t weighted_path = 0;  // path_sum plus the reversal weights
  std::uint32_t reversal_count = 0;
};

// Total and per-measurement value of one criterion (whole numbers as reals).
struct Criterion {
  double total = 0;
  double per_measurement = 0;
};

struct StarAnalysis {
  LightCurve curve;
  WalkSums walk;
  std::int16_t inlier_range = 0;  // inlier_max - inlier_min
  std::int16_t full_range = 0;    // curve_max - curve_min
  Criterion path_criterion;       // 1st: path over the full range
  Criterion square_criterion;     // 2nd: root of the squares over the inlier range
  Criterion weighted_criterion;   // 3rd: weighted path over the inlier range; selects
  bool criteria_reached = false;  // the criteria were computed for this star
  std::int16_t candidate_number = 0;
};

}  // namespace varisift
