// What the periodogram strip and the phase plot show and how.
#include "html/period_figures.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "html/svg_curve.h"
#include "html/svg_plot.h"
#include "text/decimal_text.h"

namespace varisift {

namespace {

constexpr int strip_height = 200;
constexpr int phase_plot_height = 300;
// Room around the data, as a share of its span, and the smallest spans.
constexpr double frequency_padding_share = 0.01;
constexpr double power_headroom = 1.08;
constexpr double min_power_shown = 0.05;
constexpr double magnitude_padding_share = 0.08;
constexpr double min_mags_shown = 0.2;
// Phases shown: two cycles, so that a minimum at phase 0 shows whole.
constexpr double cycles_shown = 2;
constexpr double phase_padding = 0.02;
// Model points per cycle: a smooth curve at the figure's width.
constexpr int model_points_per_cycle = 300;
// The nightly aliases shaded: within 3 % of 1 to 4 cycles per day.
constexpr int nightly_harmonics = 4;
constexpr double alias_share = 0.03;

std::string period_text(double days) { return fixed_decimals(days, 6) + " d"; }

std::string peak_title(const PeriodResult& r) {
  std::string title = "chosen peak: " + fixed_decimals(r.peak_frequency, 5) + " c/d, power " +
                      fixed_decimals(r.peak_power, 3) + ", 1/f = " + period_text(1 / r.peak_frequency);
  if (r.eclipsing) title += "; eclipsing, period 2/f";
  return title;
}

}  // namespace

std::string periodogram_svg(const PeriodResult& result, int star) {
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

  for (int k = 1; k <= nightly_harmonics; ++k) {
    const double from = std::max(k * (1 - alias_share), x.range.low);
    const double to = std::min(k * (1 + alias_share), x.range.high);
    if (from < to) plot.band(from, to, "alias-band", "");
  }
  std::vector<DotPoint> curve;
  curve.reserve(result.power.size());
  for (std::size_t k = 0; k < result.power.size(); ++k) curve.push_back({grid.at(k), result.power[k]});
  plot.legend({{Marker::disc, "periodogram", "periodogram", true},
               {Marker::diamond, "chosen-peak", "chosen peak, P = " + period_text(result.period_d)},
               {Marker::square, "alias-band", "within 3 % of 1 to 4 c/d"}});
  return with_overlay(
      plot.render("periodogram", label),
      curve_path(plot, curve, "periodogram") +
          diamond_marker(plot, result.peak_frequency, result.peak_power, "chosen-peak", peak_title(result)));
}

std::string phase_plot_svg(const PeriodResult& result, std::span<const double> times,
                           std::span<const double> magnitudes, int star) {
  const std::string label = "Phase plot of star " + std::to_string(star);
  Axis x{{-phase_padding, cycles_shown + phase_padding}, "phase"};
  if (!result.epoch_jd || !result.model) {
    SvgPlot plot(PlotLayout{.height = phase_plot_height}, x, Axis{{0, 1}, "magnitude", true});
    plot.note("Period longer than half the span of the data: no phase plot");
    return plot.render("phase-plot", label);
  }
  const double period = result.period_d;
  const double epoch = *result.epoch_jd;
  std::vector<DotPoint> points;
  for (std::size_t i = 0; i < times.size() && i < magnitudes.size(); ++i) {
    const double cycles = (times[i] - epoch) / period;
    const double phase = cycles - std::floor(cycles);
    points.push_back({phase, magnitudes[i]});
    points.push_back({phase + 1, magnitudes[i]});
  }
  std::vector<DotPoint> model;
  const int model_points = static_cast<int>(cycles_shown) * model_points_per_cycle;
  for (int i = 0; i <= model_points; ++i) {
    const double phase = cycles_shown * i / model_points;
    model.push_back({phase, result.model->magnitude_at(epoch + phase * period)});
  }
  double faintest = model.front().y, brightest = model.front().y;
  for (const std::vector<DotPoint>* set : {&points, &model})
    for (const DotPoint& p : *set) {
      faintest = std::max(faintest, p.y);
      brightest = std::min(brightest, p.y);
    }
  Axis y{padded_range(brightest, faintest, magnitude_padding_share, min_mags_shown), "magnitude", true};
  x.title = "phase (P = " + period_text(period) + ", 0 at " + (result.eclipsing ? "minimum" : "maximum") + " light)";
  SvgPlot plot(PlotLayout{.height = phase_plot_height}, x, y);
  plot.dots(points, "phase-point");
  plot.legend({{Marker::disc, "phase-point", "measurement (" + std::to_string(times.size()) + ", drawn twice)"},
               {Marker::disc, "model-curve", "three-harmonic model", true}});
  return with_overlay(plot.render("phase-plot", label), curve_path(plot, model, "model-curve"));
}

}  // namespace varisift
