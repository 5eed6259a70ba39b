// The variability indices of every star: each curve's indices, then the
// scores of each index against stars of similar median magnitude, then the
// flag.
#include "indices/star_indices.h"

#include <memory>

#include "indices/curve_indices.h"
#include "indices/index_flag.h"
#include "indices/magnitude_bins.h"
#include "stars/light_curve.h"

namespace varisift {

namespace {

constexpr double hundredths_per_magnitude = 100.0;

// The scores of one index (member `index`) against the stars that have
// it, into member `score`.
using IndexMember = std::optional<double> StarIndices::*;

void score_index(std::vector<StarIndices>& indices, const DetectionResults& results, IndexMember index,
                 IndexMember score) {
  std::vector<MagnitudeAndIndex> stars;
  std::vector<std::size_t> star_index;
  for (std::size_t i = 0; i < indices.size(); ++i) {
    const std::optional<double>& value = indices[i].*index;
    if (!value) continue;
    stars.push_back({results.stars[i].median, *value});
    star_index.push_back(i);
  }
  std::vector<std::optional<double>> scores = similar_magnitude_scores(stars);
  for (std::size_t k = 0; k < scores.size(); ++k) indices[star_index[k]].*score = scores[k];
}

}  // namespace

std::vector<StarIndices> variability_indices(const ObservationStore& store, const DetectionResults& results) {
  std::vector<StarIndices> indices(results.stars.size());
  auto curve = std::make_unique<LightCurve>();
  for (std::size_t i = 0; i < results.stars.size(); ++i) {
    if (!results.stars[i].has_statistics) continue;
    build_light_curve(store, static_cast<std::uint32_t>(i + 1), *curve);
    CurveIndices c = curve_indices(std::span<const std::int16_t>(curve->in_time_order.data(), curve->count));
    indices[i].iqr = c.iqr / hundredths_per_magnitude;
    indices[i].mad = c.mad / hundredths_per_magnitude;
    indices[i].inv_eta = c.inv_eta;
  }
  score_index(indices, results, &StarIndices::iqr, &StarIndices::iqr_score);
  score_index(indices, results, &StarIndices::mad, &StarIndices::mad_score);
  score_index(indices, results, &StarIndices::inv_eta, &StarIndices::inv_eta_score);
  for (std::size_t i = 0; i < indices.size(); ++i) {
    if (!results.stars[i].has_statistics) continue;
    indices[i].flag = index_flag({indices[i].iqr_score, indices[i].mad_score, indices[i].inv_eta_score});
  }
  return indices;
}

}  // namespace varisift
