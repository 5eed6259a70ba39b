// What the image times of a series sample of a variable's light curve: the
// facts that decide whether its period can be found from the series at all,
// computed from the truth at every image time (whether or not the star was
// detected there).
#pragma once

#include <cstdint>

#include "series.h"

namespace varisift::simulate {

// Phase bins counted by `phase_coverage`.
constexpr int coverage_phase_bins = 20;
// Images an eclipse must hold to count in `eclipses`.
constexpr int images_per_counted_eclipse = 3;

struct Sampling {
  double epoch_jd = 0;        // Julian date (UT) of the epoch phase nearest the middle of the images
  double span_mag = 0;        // largest minus smallest true magnitude at the image times
  double cycles = 0;          // time from the first to the last image over the period
  double phase_coverage = 0;  // share of the phase bins holding at least one image
  int eclipses = 0;           // primary and secondary eclipses holding enough images (eclipsing stars)
};

// The facts of one variable (a period above zero) in a series with images.
Sampling sampling_of(const Series& series, const SkyObject& star);

// Julian date of an instant in tenths of a second since 1970 (UT).
double julian_date(std::int64_t tenths);

}  // namespace varisift::simulate
