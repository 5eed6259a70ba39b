// The figures of a star whose period was searched: the periodogram as a
// strip, power against frequency with the chosen peak marked and the
// nightly alias frequencies shaded, and the phase plot, the measurements
// and the three-harmonic model over phases 0 to 2, phase 0 at the epoch.
#pragma once

#include <cstdint>
#include <string>

#include "export/period_data.h"
#include "periods/period_search.h"

namespace varisift {

// Needs the result's periodogram (PeriodSettings::keep_periodogram);
// without it the strip says so.
std::string periodogram_svg(const PeriodResult& result, std::uint32_t star);

// The star's measurements as searched; outliers are drawn apart. The
// magnitude axis follows the light curves' rule (html/magnitude_scale.h).
// Empty where the result has no epoch and model (a period flagged `long`).
std::string phase_plot_svg(const PeriodResult& result, const PeriodData& data, std::uint32_t star,
                           bool trend_corrected);

}  // namespace varisift
