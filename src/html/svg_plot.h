// A small hand-written SVG plotter: a frame with two linear axes and ticks
// at round values, shaded bands, horizontal lines, arrows at the frame's
// edge, points of several shapes, curves and a legend, rendered into a
// string. The
// horizontal axis may be broken into panels side by side, each with a scale
// of its own; the vertical axis is shared. It knows nothing of stars or
// magnitudes; the figures of the page decide what to plot.
//
// Text arguments are UTF-8 and are escaped here. Coordinates are written
// with one decimal (a tenth of a pixel), so the bytes are fixed by the data.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace varisift {

// Tick values at the multiples of a round step.
struct TickSet {
  double step = 0;   // mantissa x 10^exponent
  int mantissa = 0;  // 1, 2 or 5; 0 when there are no ticks
  int exponent = 0;
  int decimals = 0;            // decimals a label of that step needs
  std::vector<double> values;  // the multiples of step in [low, high], ascending
};

// The smallest round step (1, 2 or 5 x 10^k) that puts at most max_count
// ticks into [low, high], and those ticks. No ticks for a range that is
// empty, reversed or not finite.
TickSet round_ticks(double low, double high, int max_count);

// The label of a tick value, with the step's decimals.
std::string tick_label(double value, const TickSet& ticks);

struct Range {
  double low = 0;
  double high = 1;
};

// [low, high] widened by fraction of its span on each side, after widening
// it to at least min_span around its middle.
Range padded_range(double low, double high, double fraction, double min_span);

enum class Marker { disc, square, triangle, cross, diamond };

struct Axis {
  Range range;
  std::string title;
  // Values grow down the page (for the vertical axis: magnitudes, bright at
  // the top).
  bool downward = false;
  // No ticks beyond this value or below tick_floor (the part of an axis
  // beyond them means something else, such as a strip for values off the
  // scale).
  double tick_limit = std::numeric_limits<double>::infinity();
  double tick_floor = -std::numeric_limits<double>::infinity();
};

// One panel of a horizontal axis broken into panels: the values of range
// over the pixels from left to right, counted from the frame's left edge.
// Each panel has a frame, ticks and a caption under them of its own; the
// first of captions that fits the panel's width is written.
struct AxisPanel {
  Range range;
  double left = 0;
  double right = 0;
  std::vector<std::string> captions;
};

// Size of the picture and the margins around the plotting frame, in pixels.
struct PlotLayout {
  int width = 1120;
  int height = 320;
  int left = 64;
  int right = 96;  // room for the labels of horizontal lines
  int top = 44;    // room for the legend and the band labels
  int bottom = 44;
};

struct LegendEntry {
  Marker marker = Marker::disc;
  std::string css_class;
  std::string text;
  bool line = false;  // a short line in the style of css_class instead of the marker
};

// A point drawn in the merged dot layer.
struct DotPoint {
  double x = 0;
  double y = 0;
};

class SvgPlot {
 public:
  // One panel over the whole frame, captioned by the axis title.
  SvgPlot(const PlotLayout& layout, const Axis& x, const Axis& y);
  // Panels from left to right, not overlapping, within the frame's width.
  SvgPlot(const PlotLayout& layout, std::vector<AxisPanel> x_panels, const Axis& y);

  // The pixel of x in panel (values outside its range lie outside it).
  double x_pixel(double x, std::size_t panel = 0) const;
  double y_pixel(double y) const;

  // A shaded vertical band from x_from to x_to in panel over the frame's
  // height, its label above the frame at its left end when the label has
  // room after the previous one.
  void band(double x_from, double x_to, std::string_view css_class, std::string_view label, std::size_t panel = 0);
  // A line across every panel at y, its label beside it right of the frame
  // (moved up or down when it would run into one there).
  void horizontal_line(double y, std::string_view css_class, std::string_view label);
  // An arrow right of the frame at its top or bottom edge, pointing out of
  // the frame, with its label beside it: a line that lies beyond that edge.
  void edge_arrow(bool at_top, std::string_view css_class, std::string_view label);
  // One point of the given shape in panel, with a title the browser shows
  // on hover.
  void point(double x, double y, Marker marker, std::string_view css_class, std::string_view title,
             std::size_t panel = 0);
  // Many points of one style without titles, as one path of dots: each
  // point goes to its whole pixel and each pixel is drawn once, so the
  // bytes grow with the pixels covered rather than with the points.
  void dots(const std::vector<DotPoint>& points, std::string_view css_class);
  // A line through many points in their order, as one path thinned to the
  // pixel columns it crosses (html/pixel_columns.h), so that its bytes grow
  // with the plot's width rather than with the points. Points far off the
  // plot (a million pixels) are left out.
  void curve(const std::vector<DotPoint>& points, std::string_view css_class);
  // The legend in one row at the top of the picture, left to right.
  void legend(const std::vector<LegendEntry>& entries);
  // A text in the middle of the frame (for a plot with nothing to show).
  void note(std::string_view text);

  // The whole <svg> element with its axes; label is its accessible name.
  std::string render(std::string_view css_class, std::string_view label) const;

 private:
  std::string axes() const;
  // The baseline nearest to wanted for a label right of the frame that
  // keeps clear of the labels placed there before it; it is placed too.
  double free_side_baseline(double wanted);

  PlotLayout layout_;
  std::vector<AxisPanel> x_panels_;
  double x_tick_limit_ = std::numeric_limits<double>::infinity();
  Axis y_;
  std::string background_;  // bands, drawn below the grid
  std::string body_;        // lines and points in the order given
  std::string legend_;
  double band_label_end_ = 0;           // pixel where the last band label ends
  std::vector<double> side_baselines_;  // of the labels right of the frame
};

}  // namespace varisift
