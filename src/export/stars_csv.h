// stars.csv: one row per identified star, in star number order, with what
// the report pass found for it, the index columns beside the criteria.
#pragma once

#include <string>
#include <vector>

#include "detect/star_results.h"
#include "indices/star_indices.h"
#include "store/observation_store.h"

namespace varisift {

// The whole file, header row first.
std::string stars_csv(const ObservationStore& store, const DetectionResults& results,
                      const std::vector<StarIndices>& indices);

}  // namespace varisift
