// The vertical scale of a plot of magnitudes (a light curve; a phase plot
// uses the same rule): it covers the measurements with a margin and nothing
// else, so that a curve fills its plot.
//
// Contract of magnitude_scale(magnitudes):
// - shown is the range of the measurements widened to at least 0.1 mag
//   around its middle, with 6 % of that on each side. Every measurement
//   that is not far outside lies within it.
// - Far outside are the measurements at either end of the sorted values
//   that lie beyond a gap wider than twice the span of the measurements
//   between them (at least 0.1 mag): wild outliers, which would squash the
//   curve into a line. They are at most one in twenty of the measurements
//   at each end (but one always may be) and leave at least three others;
//   of the groups that qualify, the one with the most measurements goes
//   (on a tie, the one with more at the faint end).
//   A real variation is a run of values without such a gap, or more than
//   a few of them, and stays on the scale.
// - A strip a tenth of shown's span lies beyond each edge of shown where
//   measurements lie far outside it; place() draws them in its middle, and
//   the axis includes the strips. No strip, and axis equals shown, when
//   nothing is far outside.
// - Reference values that are not measurements (the median, the outlier
//   fences) do not widen the scale: beyond() says whether one lies beyond
//   an edge of shown, where a plot marks it at that edge instead of
//   drawing it.
// Magnitudes grow downward on the page: the low end is the bright end.
#pragma once

#include <vector>

#include "html/svg_plot.h"

namespace varisift {

enum class Beyond { none, bright, faint };

struct MagnitudeScale {
  Range axis;   // of the whole axis, strips included
  Range shown;  // magnitudes drawn at their place
  bool bright_strip = false;
  bool faint_strip = false;

  // Where a measurement of magnitude mag is drawn.
  double place(double mag) const;
  // Whether a reference value lies beyond the bright or the faint edge of
  // shown.
  Beyond beyond(double mag) const;
};

MagnitudeScale magnitude_scale(std::vector<double> magnitudes);

}  // namespace varisift
