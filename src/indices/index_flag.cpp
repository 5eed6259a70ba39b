// The thresholds of the index flag.
#include "indices/index_flag.h"

namespace varisift {

namespace {

// PLACEHOLDER thresholds, to be chosen on simulated series.
constexpr double iqr_alone = 5.0;
constexpr double iqr_with_mad = 3.4;
constexpr double mad_with_iqr = 4.1;
constexpr double inv_eta_alone = 5.0;
constexpr double iqr_and_mad_with_inv_eta = 3.0;

bool above(const std::optional<double>& score, double threshold) { return score && *score > threshold; }

}  // namespace

bool index_flag(const IndexScores& scores) {
  if (above(scores.iqr, iqr_alone)) return true;
  if (above(scores.iqr, iqr_with_mad) && above(scores.mad, mad_with_iqr)) return true;
  return above(scores.inv_eta, inv_eta_alone) && above(scores.iqr, iqr_and_mad_with_inv_eta) &&
         above(scores.mad, iqr_and_mad_with_inv_eta);
}

}  // namespace varisift
