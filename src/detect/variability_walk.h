// The in-range walk over a star's light curve in time order, the three
// variability criteria and the selection tests of a candidate.
#pragma once

#include <cstdint>
#include <vector>

#include "detect/star_analysis.h"
#include "store/observation_store.h"

namespace varisift {

// Walks the valid magnitudes of the curve in time order. Values strictly
// between the fences add their steps to the sums; the others count as
// outliers of their image.
WalkSums walk_in_range(const LightCurve& curve, ObservationStore& store);

// The walk sums of a list of in-range magnitudes, in time order (the walk
// without fences and outlier counting).
WalkSums walk_values(const std::int16_t* values, std::size_t count);

// Sets the three criteria from the ranges and the walk.
void compute_criteria(StarAnalysis& a);

// Sets the ranges and applies the four selection tests in order: more than
// min_total_measurements in range, more than min_selected_measurements
// identifications, an inlier range above min_mag_interval, and a
// per-measurement 3rd criterion below min_variation (as lowered to the
// number of images). The criteria are
// computed once the range test has passed, so they never divide by a zero
// inlier range.
bool select_candidate(StarAnalysis& a, std::uint8_t star_images, const DetectionParameters& parameters);

}  // namespace varisift
