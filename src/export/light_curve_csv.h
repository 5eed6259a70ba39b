// lc_<star>.csv: the light curve of a star, one row per measurement in time
// order with its Julian date, the log's magnitude, the trend-corrected
// magnitude when the correction is on (the detection judged that one), the
// image (UTF-8) and how the detection used it.
#pragma once

#include <string>

#include "detect/star_results.h"
#include "store/observation_store.h"

namespace varisift {

// The file name of star s's light curve: "lc_<s>.csv".
std::string light_curve_file_name(std::uint32_t star);

// The whole file, header row first.
std::string light_curve_csv(const ObservationStore& store, const StarResult& result);

}  // namespace varisift
