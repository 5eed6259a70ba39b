// The figures of a star whose period was searched: the periodogram as a
// strip, power against frequency with the chosen peak marked and the
// nightly alias frequencies shaded, and the phase plot, the measurements
// and the three-harmonic model over phases 0 to 2, phase 0 at the epoch.
#pragma once

#include <span>
#include <string>

#include "periods/period_search.h"

namespace varisift {

// Needs the result's periodogram (PeriodSettings::keep_periodogram);
// without it the strip says so.
std::string periodogram_svg(const PeriodResult& result, int star);

// The star's times (JD) and magnitudes as searched. A period flagged
// `long` has no epoch and no model: the plot says so.
std::string phase_plot_svg(const PeriodResult& result, std::span<const double> times,
                           std::span<const double> magnitudes, int star);

}  // namespace varisift
