// The light curve of a reported star as an SVG figure: magnitude, bright at
// the top, against time in one panel per night of the series (hours of the
// Julian day, the night's UT dates above it), each measurement drawn by its
// use (used, outlier, in an image judged bad), the median and the outlier
// fences as lines, or as arrows at the edge when they lie beyond the
// measurements, and wild outliers in a strip off the scale.
#pragma once

#include <string>

#include "detect/star_results.h"
#include "store/observation_store.h"

namespace varisift {

std::string light_curve_svg(const ObservationStore& store, const StarResult& result);

}  // namespace varisift
