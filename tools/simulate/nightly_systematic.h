// An airmass-like magnitude term that repeats every night: the same function
// of the time of day each night, as extinction left uncorrected by the
// calibration would leave it. A constant star then shows power at 1 cycle per
// day and its harmonics, where a period search meets its aliases.
#pragma once

#include <vector>

#include "series.h"

namespace varisift::simulate {

// Sets Image::nightly_offset_mag of every image (which must be in time order)
// from options.nightly_systematic_mag: 0 at the lowest airmass the series
// reaches, that many magnitudes at the highest. The field culminates at the
// time of day of the middle of the first night, every day at the same time.
void set_nightly_systematic(const SeriesOptions& options, std::vector<Image>& images);

}  // namespace varisift::simulate
