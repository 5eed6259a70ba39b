// The variability indices of every star.
#include "indices/star_indices.h"

namespace varisift {

std::vector<StarIndices> variability_indices(const ObservationStore& store, const DetectionResults& results) {
  (void)store;
  return std::vector<StarIndices>(results.stars.size());
}

}  // namespace varisift
