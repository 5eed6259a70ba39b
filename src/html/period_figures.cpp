// What the periodogram strip and the phase plot show and how.
#include "html/period_figures.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "export/star_periods.h"
#include "html/magnitude_scale.h"
#include "html/svg_plot.h"
#include "periods/period_flag.h"
#include "text/decimal_text.h"

namespace varisift {

namespace {

constexpr int strip_height = 190;
constexpr int phase_plot_height = 300;
constexpr int frequency_decimals = 5;
constexpr int power_decimals = 3;
// Room around the periodogram, as a share of its span, and the smallest
// power range shown.
constexpr double frequency_padding_share = 0.01;
constexpr double power_headroom = 1.08;
constexpr double min_power_shown = 0.05;
// Phases shown: two cycles, so that a minimum at phase 0 shows whole.
constexpr double cycles_shown = 2;
constexpr double phase_padding = 0.02;
// Model points per cycle: at the figure's width a point every four pixels,
// which draws the three harmonics smoothly.
constexpr int model_points_per_cycle = 120;

std::string period_text(double days) { return fixed_decimals(days, period_decimals) + " d"; }

std::string peak_title(const PeriodResult& r) {
  std::string title = "chosen peak: " + fixed_decimals(r.peak_frequency, frequency_decimals) + " c/d, power " +
                      fixed_decimals(r.peak_power, power_decimals) + ", 1/f = " + period_text(1 / r.peak_frequency);
  if (r.eclipsing) title += "; eclipsing, period 2/f";
  return title;
}

// The measurements at their phase in the first cycle and again in the
// second, used ones or outliers.
std::vector<DotPoint> phase_points(const PeriodData& data, const MagnitudeScale& scale, double epoch, double period,
                                   bool outliers) {
  std::vector<DotPoint> points;
  for (std::size_t i = 0; i < data.times.size(); ++i) {
    if (data.outlier[i] != outliers) continue;
    const double cycles = (data.times[i] - epoch) / period;
    const double phase = cycles - std::floor(cycles);
    const double y = scale.place(data.magnitudes[i]);
    points.push_back({phase, y});
    points.push_back({phase + 1, y});
  }
  return points;
}

// The model over the phases shown, kept within the magnitudes shown: where
// phases without measurements let it swing beyond them, it runs along the
// frame's edge rather than off the plot.
std::vector<DotPoint> model_points(const HarmonicModel& model, const MagnitudeScale& scale, double epoch,
                                   double period) {
  std::vector<DotPoint> points;
  const int count = static_cast<int>(cycles_shown) * model_points_per_cycle;
  for (int i = 0; i <= count; ++i) {
    const double phase = cycles_shown * i / count;
    const double mag = model.magnitude_at(epoch + phase * period);
    points.push_back({phase, std::clamp(mag, scale.shown.low, scale.shown.high)});
  }
  return points;
}

}  // namespace

std::string periodogram_svg(const PeriodResult& result, std::uint32_t star) {
  const FrequencyGrid& grid = result.grid;
  const double last = grid.count > 0 ? grid.last() : grid.first;
  double highest = result.peak_power;
  for (double p : result.power) highest = std::max(highest, p);
  Axis x{padded_range(grid.first, last, frequency_padding_share, 0), "frequency (cycles per day)"};
  Axis y{{0, std::max(min_power_shown, highest * power_headroom)}, "power"};
  SvgPlot plot(PlotLayout{.height = strip_height}, x, y);
  const std::string label = "Periodogram of star " + std::to_string(star);
  if (result.power.empty()) {
    plot.note("No periodogram kept");
    return plot.render("periodogram", label);
  }

  // The nightly aliases shaded: the frequencies the flag `alias` names.
  bool aliases_shown = false;
  for (int k = 1; k <= nightly_alias_harmonics; ++k) {
    const double from = std::max(k * (1 - nightly_alias_share), x.range.low);
    const double to = std::min(k * (1 + nightly_alias_share), x.range.high);
    if (from >= to) continue;
    plot.band(from, to, "alias-band", "");
    aliases_shown = true;
  }
  std::vector<DotPoint> curve;
  curve.reserve(result.power.size());
  for (std::size_t k = 0; k < result.power.size(); ++k) curve.push_back({grid.at(k), result.power[k]});
  plot.curve(curve, "periodogram");
  plot.point(result.peak_frequency, result.peak_power, Marker::diamond, "chosen-peak", peak_title(result));
  std::vector<LegendEntry> legend{{Marker::disc, "periodogram", "generalised Lomb-Scargle power", true},
                                  {Marker::diamond, "chosen-peak", "chosen peak"}};
  if (aliases_shown) legend.push_back({Marker::square, "alias-band", "within 3 % of 1 to 4 c/d"});
  plot.legend(legend);
  return plot.render("periodogram", label);
}

std::string phase_plot_svg(const PeriodResult& result, const PeriodData& data, std::uint32_t star,
                           bool trend_corrected) {
  const std::string label = "Phase plot of star " + std::to_string(star);
  const std::string magnitude_title = trend_corrected ? "magnitude (trend-corrected)" : "magnitude";
  if (!result.epoch_jd || !result.model) return "";
  Axis x{{-phase_padding, cycles_shown + phase_padding}, "phase"};
  const MagnitudeScale scale = magnitude_scale(data.magnitudes);
  const double period = result.period_d;
  const double epoch = *result.epoch_jd;
  x.title = "phase (P = " + period_text(period) + ", 0 at " + (result.eclipsing ? "minimum" : "maximum") + " light)";
  SvgPlot plot(PlotLayout{.height = phase_plot_height}, x,
               Axis{scale.axis, magnitude_title, true, scale.shown.high, scale.shown.low});
  if (scale.bright_strip) plot.horizontal_line(scale.shown.low, "off-scale", "above: off scale");
  if (scale.faint_strip) plot.horizontal_line(scale.shown.high, "off-scale", "below: off scale");

  const std::vector<DotPoint> used = phase_points(data, scale, epoch, period, false);
  const std::vector<DotPoint> outliers = phase_points(data, scale, epoch, period, true);
  plot.dots(used, "phase-point");
  plot.dots(outliers, "phase-outlier");
  plot.curve(model_points(*result.model, scale, epoch, period), "model-curve");
  std::vector<LegendEntry> legend{{Marker::disc, "phase-key", "used (" + std::to_string(used.size() / 2) + ")"}};
  if (!outliers.empty())
    legend.push_back({Marker::disc, "phase-outlier-key", "outlier (" + std::to_string(outliers.size() / 2) + ")"});
  legend.push_back({Marker::disc, "model-curve", "three-harmonic model", true});
  plot.legend(legend);
  return plot.render("phase-plot", label);
}

}  // namespace varisift
