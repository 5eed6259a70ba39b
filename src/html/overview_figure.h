// The overview of all stars: the IQR score and the IQR of every star's
// light curve against its median magnitude, the stars of the results table
// and those flagged only by the variability indices picked out.
#pragma once

#include <string>
#include <vector>

#include "detect/star_results.h"
#include "indices/star_indices.h"

namespace varisift {

// Two SVG figures, the score above the IQR. A star without a median or
// without the value (no indices computed, too few measurements) is left out.
std::string overview_svgs(const DetectionResults& results, const std::vector<StarIndices>& indices);

}  // namespace varisift
