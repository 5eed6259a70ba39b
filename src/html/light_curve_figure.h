// The light curve of a reported star as an SVG figure: time (JD) against
// magnitude, bright at the top, the nights of the series shaded, each
// measurement drawn by its use (used, outlier, in an image judged bad), the
// median and the outlier fences as lines.
#pragma once

#include <string>

#include "detect/star_results.h"
#include "store/observation_store.h"

namespace varisift {

std::string light_curve_svg(const ObservationStore& store, const StarResult& result);

}  // namespace varisift
