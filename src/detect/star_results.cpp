// Recording the report pass's results of a star.
#include "detect/star_results.h"

#include "stars/curve_statistics.h"

namespace varisift {

void record_curve(StarResult& result, const LightCurve& curve) {
  result.star = curve.star;
  result.valid_count = curve.count;
  result.curve_min = curve.curve_min;
  result.curve_max = curve.curve_max;
  result.trend_reference = curve.trend_reference;
}

void record_statistics(StarResult& result, const LightCurve& curve, bool with_indices) {
  result.has_statistics = true;
  result.median = curve.median;
  result.lower_quartile = curve.lower_quartile;
  result.upper_quartile = curve.upper_quartile;
  result.lower_fence = curve.lower_fence;
  result.upper_fence = curve.upper_fence;
  result.inside_fences = 0;
  for (std::size_t k = 0; k < curve.count; ++k) {
    std::int16_t x = curve.in_time_order[k];
    if (inside_fences(x, curve.lower_fence, curve.upper_fence)) ++result.inside_fences;
  }
  if (!with_indices) return;
  result.indices = curve_indices(std::span<const std::int16_t>(curve.in_time_order.data(), curve.count),
                                 std::span<const std::int16_t>(curve.sorted.data(), curve.count));
}

void record_criteria(StarResult& result, const StarAnalysis& analysis) {
  result.reached_criteria = true;
  result.path_criterion = analysis.path_criterion.total;
  result.square_criterion = analysis.square_criterion.total;
  result.weighted_criterion = analysis.weighted_criterion.total;
}

void record_row(StarResult& result, std::int16_t candidate, std::int64_t row_ra, std::int64_t row_dec,
                std::uint32_t vsx_match) {
  result.candidate = candidate;
  result.row_ra = row_ra;
  result.row_dec = row_dec;
  result.vsx_match = vsx_match;
}

}  // namespace varisift
