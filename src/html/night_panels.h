// The time axis of a light curve broken at the nights of the series: one
// panel per night, side by side in time order with a small gap, each as wide
// as its night is long but never narrower than a minimum, so that a short
// night beside long ones stays readable and the empty days between nights
// take no room. A panel shows the hours of the Julian day of its night's
// first image (Julian days begin at 12 h UT, so a night seen from Europe or
// Africa lies within one of them; a night across its end counts on past
// 24 h).
#pragma once

#include <cstdint>
#include <vector>

#include "html/series_nights.h"
#include "html/svg_plot.h"

namespace varisift {

struct NightPanel {
  double left = 0;  // pixels from the left edge of the plot's frame
  double right = 0;
  std::int64_t julian_day = 0;  // the whole Julian date before the night's first image
  Range hours;                  // hours after julian_day, from the panel's left edge to its right
};

// The panels of the nights over a frame frame_width pixels wide: the first
// starts at 0 and the last ends at frame_width. Widths follow the nights'
// spans (a night shorter than half an hour counts as half an hour) and are
// at least seven tenths of an equal share of the width; gaps of 8 pixels
// lie between them, narrower when many nights would make the gaps take more
// than a quarter of the width. Inside a panel the night's first and last
// image lie a few pixels from its edges, so that their markers stay inside.
std::vector<NightPanel> night_panels(const std::vector<Night>& nights, double frame_width);

// Hours from the start of Julian day julian_day to the Julian date julian_e5
// (x 100000).
double hours_after(std::int64_t julian_day, std::int64_t julian_e5);

}  // namespace varisift
