// The variability indices of every star: each curve's indices, worked out
// by the report pass beside the criteria, then the scores of each index
// against stars of similar median magnitude, then the flag.
#include "indices/star_indices.h"

#include "indices/index_flag.h"
#include "indices/magnitude_bins.h"
#include "store/value_text.h"

namespace varisift {

namespace {

// The finest difference each index can show, which stands in for a bin's
// spread where the spread is smaller. The log gives magnitudes in steps of
// 0.01 mag. The quartiles by position lie a quarter, a half or three
// quarters of the way between two sorted magnitudes, so the IQR moves in
// steps of 0.0025 mag; the MAD's median lies on or half-way between two
// values, in steps of 0.005 mag. Among bright constant stars most curves
// share one IQR and one MAD, the bin's spread is 0, and without the floor
// no bright star, variable or not, would get a score. 1/eta is a ratio of
// sums that takes any value, and has no floor.
constexpr double magnitude_step = 0.01;
constexpr double iqr_step = magnitude_step / 4;
constexpr double mad_step = magnitude_step / 2;

// The scores of one index (member `index`) against the stars that have
// it, into member `score`.
using IndexMember = std::optional<double> StarIndices::*;

void score_index(std::vector<StarIndices>& indices, const DetectionResults& results, IndexMember index,
                 IndexMember score, double min_spread) {
  std::vector<MagnitudeAndIndex> stars;
  std::vector<std::size_t> star_index;
  for (std::size_t i = 0; i < indices.size(); ++i) {
    const std::optional<double>& value = indices[i].*index;
    if (!value) continue;
    stars.push_back({results.stars[i].median, *value});
    star_index.push_back(i);
  }
  std::vector<std::optional<double>> scores = similar_magnitude_scores(stars, min_spread);
  for (std::size_t k = 0; k < scores.size(); ++k) indices[star_index[k]].*score = scores[k];
}

}  // namespace

std::vector<StarIndices> variability_indices(const DetectionResults& results) {
  const std::size_t n = results.stars.size();
  std::vector<StarIndices> indices(n);
  for (std::size_t i = 0; i < n; ++i) {
    const StarResult& r = results.stars[i];
    if (!r.has_statistics) continue;
    indices[i].iqr = r.indices.iqr / centimag_per_mag;
    indices[i].mad = r.indices.mad / centimag_per_mag;
    indices[i].inv_eta = r.indices.inv_eta;
  }
  score_index(indices, results, &StarIndices::iqr, &StarIndices::iqr_score, iqr_step);
  score_index(indices, results, &StarIndices::mad, &StarIndices::mad_score, mad_step);
  score_index(indices, results, &StarIndices::inv_eta, &StarIndices::inv_eta_score, 0);
  for (std::size_t i = 0; i < indices.size(); ++i) {
    if (!results.stars[i].has_statistics) continue;
    indices[i].flag = index_flag({indices[i].iqr_score, indices[i].mad_score, indices[i].inv_eta_score});
  }
  return indices;
}

}  // namespace varisift
