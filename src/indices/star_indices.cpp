// The variability indices of every star: each curve's indices, then the
// scores of each index against stars of similar median magnitude, then the
// flag.
#include "indices/star_indices.h"

#include <memory>
#include <thread>

#include "indices/curve_indices.h"
#include "indices/index_flag.h"
#include "indices/magnitude_bins.h"
#include "io/helper_thread.h"
#include "stars/light_curve.h"

namespace varisift {

namespace {

constexpr double hundredths_per_magnitude = 100.0;
// Fewer stars than this are not worth a second thread.
constexpr std::size_t parallel_star_count = 4096;

// The curve indices of stars [first, end) that reached the statistics.
void curve_indices_of(const ObservationStore& store, const DetectionResults& results, std::size_t first,
                      std::size_t end, std::vector<StarIndices>& indices) {
  auto curve = std::make_unique<LightCurve>();
  for (std::size_t i = first; i < end; ++i) {
    if (!results.stars[i].has_statistics) continue;
    build_light_curve(store, static_cast<std::uint32_t>(i + 1), *curve);
    CurveIndices c = curve_indices(std::span<const std::int16_t>(curve->in_time_order.data(), curve->count));
    indices[i].iqr = c.iqr / hundredths_per_magnitude;
    indices[i].mad = c.mad / hundredths_per_magnitude;
    indices[i].inv_eta = c.inv_eta;
  }
}

// The star where the measurements of the curves to work on reach half
// their total: the work of the two cores is then about the same (the
// stars made first are seen in the most images, so half the stars would
// not be half the work).
std::size_t halfway_star(const DetectionResults& results) {
  std::uint64_t total = 0;
  for (const StarResult& r : results.stars)
    if (r.has_statistics) total += r.valid_count;
  std::uint64_t sum = 0;
  std::size_t i = 0;
  while (i < results.stars.size() && 2 * sum < total) {
    if (results.stars[i].has_statistics) sum += results.stars[i].valid_count;
    ++i;
  }
  return i;
}

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
  const std::size_t n = results.stars.size();
  std::vector<StarIndices> indices(n);
  // Sorting each curve is most of the work: the stars are shared between
  // two cores where there are many (each writes only its own stars).
  const std::size_t half = halfway_star(results);
  std::thread second;
  if (n >= parallel_star_count && std::thread::hardware_concurrency() > 1)
    second = start_helper_thread([&] { curve_indices_of(store, results, half, n, indices); });
  if (second.joinable()) {
    curve_indices_of(store, results, 0, half, indices);
    second.join();
  } else {
    curve_indices_of(store, results, 0, n, indices);
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
