// The period of a star on the page, under its light curve: what the search
// found in one row of facts (the period and its error, the epoch, the
// amplitude, the range with its passband, the false-alarm probability, the
// cycles seen and the flag), the periodogram strip and the phase plot.
#pragma once

#include <string>
#include <string_view>

#include "detect/star_results.h"
#include "export/star_periods.h"
#include "store/observation_store.h"

namespace varisift {

// The section of star r; a short note when no search could run. The range
// is that of the star's valid measurements (mag_min to mag_max of
// stars.csv), in the passband given (the --filter code), or `mag` when none
// is.
std::string period_section(const ObservationStore& store, const StarResult& r, const StarPeriod& period,
                           std::string_view passband);

}  // namespace varisift
