// What the report pass found for every identified star, kept when an output
// beyond the console and the report asks for it (the CSV, AAVSO and HTML
// exports): the light curve's extremes and order statistics, the criteria,
// and for a reported star its results row's position and catalogue match.
#pragma once

#include <cstdint>
#include <vector>

#include "detect/star_analysis.h"
#include "stars/curve_indices.h"

namespace varisift {

struct StarResult {
  std::uint32_t star = 0;
  // Valid measurements of the star in the report pass (curve_count); the
  // extremes of their corrected magnitudes when there is at least one.
  std::uint16_t valid_count = 0;
  std::int16_t curve_min = 0;
  std::int16_t curve_max = 0;
  // Order statistics, set when the curve had more than
  // min_selected_measurements values; 1/100 mag.
  bool has_statistics = false;
  std::int16_t median = 0;
  std::int16_t lower_quartile = 0;
  std::int16_t upper_quartile = 0;
  std::int16_t lower_fence = 0;
  std::int16_t upper_fence = 0;
  std::int16_t trend_reference = 0;
  std::uint16_t inside_fences = 0;  // measurements strictly between the fences
  // IQR, MAD (1/100 mag) and 1/eta of the curve, beside the criteria, when
  // the indices are asked for.
  CurveIndices indices{};
  // The three criteria (totals, whole numbers), set once the star passed the
  // tests before them (enough values in range and identifications, a range
  // above the limit).
  bool reached_criteria = false;
  double path_criterion = 0;
  double square_criterion = 0;
  double weighted_criterion = 0;
  // The candidate number of the results table; 0 for a star not reported.
  std::int16_t candidate = 0;
  // For a reported star: the position of its results row (ms of time, 1/100
  // arcsec) and its catalogue entry (1-based, 0 = no match).
  std::int64_t row_ra = 0;
  std::int64_t row_dec = 0;
  std::uint32_t vsx_match = 0;
};

// One result per star, star s at index s - 1, filled by the report pass
// when `wanted` is set before the detection runs; the curve indices only
// when `indices_wanted` is set too.
struct DetectionResults {
  bool wanted = false;
  bool indices_wanted = false;
  std::vector<StarResult> stars;
};

// Records of one star in the report pass, each once its step is done: the
// curve built, its statistics, its criteria, its results row.
void record_curve(StarResult& result, const LightCurve& curve);
void record_statistics(StarResult& result, const LightCurve& curve, bool with_indices);
void record_criteria(StarResult& result, const StarAnalysis& analysis);
void record_row(StarResult& result, std::int16_t candidate, std::int64_t row_ra, std::int64_t row_dec,
                std::uint32_t vsx_match);

}  // namespace varisift
