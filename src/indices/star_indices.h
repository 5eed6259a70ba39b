// Variability indices of every star beside the fixed criteria: the
// interquartile range, the median absolute deviation and the inverse von
// Neumann ratio of its report-pass light curve, each judged against the
// stars of similar median magnitude, and a flag from those scores.
#pragma once

#include <optional>
#include <vector>

#include "detect/star_results.h"

namespace varisift {

struct StarIndices {
  // IQR and MAD in magnitudes, unscaled (not turned into a normal
  // distribution's sigma); 1/eta has no unit. Empty where the star's curve
  // does not reach the statistics; 1/eta also for a constant curve.
  std::optional<double> iqr;
  std::optional<double> mad;
  std::optional<double> inv_eta;
  // (index - expected) / spread among stars of similar magnitude; empty
  // where the index is empty, and for 1/eta where the spread is 0 (the IQR
  // and MAD spreads have a floor).
  std::optional<double> iqr_score;
  std::optional<double> mad_score;
  std::optional<double> inv_eta_score;
  // The index flag; empty where the star has no curve.
  std::optional<bool> flag;
};

// The indices of every star (star s at index s - 1), from the report pass's
// results.
std::vector<StarIndices> variability_indices(const DetectionResults& results);

}  // namespace varisift
