// Which stars the overview shows and in which style.
//
// At capacity the field holds about 28,000 stars. The stars that nothing
// flags go into one path of dots, one dot per pixel whatever the number of
// stars on it, without titles; only the stars of the results table and the
// stars flagged by the indices are drawn one by one with their titles. The
// file then grows with the pixels covered (at most the plot's area) and
// with the flagged stars, not with the size of the field.
#include "html/overview_figure.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "html/page_text.h"
#include "html/svg_plot.h"
#include "store/value_text.h"
#include "text/decimal_text.h"

namespace varisift {

namespace {

constexpr double padding_share = 0.04;
constexpr double min_mags_shown = 0.5;
constexpr double min_values_shown = 0.1;
// The share of the stars whose values always fill the frame, and the height
// of the strip for the values far above them, as a share of the frame.
constexpr double bulk_share = 0.99;
constexpr double strip_share = 0.1;
constexpr int plot_height = 340;
constexpr int empty_plot_height = 72;

enum class StarKind { other, candidate, index_flagged };

struct OverviewStar {
  const StarResult* result = nullptr;
  StarKind kind = StarKind::other;
  double median = 0;  // mag
  double iqr = 0;     // mag
  double value = 0;   // what the plot shows
  std::optional<double> score;
};

// One of the two plots: its value, names and how to write the value.
struct Panel {
  std::optional<double> StarIndices::*value;
  const char* name;  // in titles and the accessible name
  const char* axis_title;
};

// The vertical scale of a panel. The values of 99 % of the stars fill the
// frame; a few far beyond them (a star next to a bright one, a minor planet
// taken for a star) would squash all others into one line, so values more
// than twice the span of that 99 % above the lowest go to a strip at the top
// of the frame, above a line that says so; their titles keep their values.
struct VerticalScale {
  Range range;                                           // of the axis, the strip included
  double cap = std::numeric_limits<double>::infinity();  // largest value drawn at its place
  bool clipped = false;
  double strip_value = 0;  // where the values above cap are drawn
};

VerticalScale vertical_scale(std::vector<double> values) {
  VerticalScale scale;
  if (values.empty()) {
    scale.range = {0, 1};
    return scale;
  }
  std::sort(values.begin(), values.end());
  const double low = values.front();
  const double high = values.back();
  const double bulk_top = values[static_cast<std::size_t>(bulk_share * static_cast<double>(values.size() - 1))];
  const double cap = bulk_top + (bulk_top - low);
  if (!(high > cap) || !(cap > low)) {
    scale.range = padded_range(low, high, padding_share, min_values_shown);
    return scale;
  }
  Range inside = padded_range(low, cap, padding_share, min_values_shown);
  const double strip = (inside.high - inside.low) * strip_share;
  scale.range = {inside.low, inside.high + strip};
  scale.cap = inside.high;
  scale.clipped = true;
  scale.strip_value = inside.high + strip / 2;
  return scale;
}

std::string star_title(const OverviewStar& s) {
  std::string title = "star " + std::to_string(s.result->star);
  if (s.kind == StarKind::candidate)
    title += " (candidate " + std::to_string(s.result->candidate) + ")";
  else if (s.kind == StarKind::index_flagged)
    title += " (flagged by the indices)";
  title += ": median " + fixed_decimals(s.median, 2) + " mag, IQR " + fixed_decimals(s.iqr, 3) + " mag";
  if (s.score) title += ", IQR score " + fixed_decimals(*s.score, 2);
  return title;
}

// The stars that have the panel's value, with their kind.
std::vector<OverviewStar> stars_with_value(const DetectionResults& results, const std::vector<StarIndices>& indices,
                                           const Panel& panel) {
  std::vector<OverviewStar> stars;
  for (std::size_t i = 0; i < results.stars.size() && i < indices.size(); ++i) {
    const StarResult& r = results.stars[i];
    const StarIndices& ind = indices[i];
    const std::optional<double>& value = ind.*panel.value;
    if (!r.has_statistics || !value || !std::isfinite(*value)) continue;
    OverviewStar s;
    s.result = &r;
    s.kind =
        r.candidate > 0 ? StarKind::candidate : (ind.flag.value_or(false) ? StarKind::index_flagged : StarKind::other);
    s.median = r.median / centimag_per_mag;
    s.iqr = ind.iqr.value_or(0);
    s.value = *value;
    if (ind.iqr_score && std::isfinite(*ind.iqr_score)) s.score = ind.iqr_score;
    stars.push_back(s);
  }
  return stars;
}

std::string panel_svg(const std::vector<OverviewStar>& stars, const Panel& panel) {
  Range x_range{0, 1};
  std::vector<double> values;
  for (const OverviewStar& s : stars) values.push_back(s.value);
  VerticalScale scale = vertical_scale(values);
  if (!stars.empty()) {
    auto [low, high] = std::minmax_element(stars.begin(), stars.end(),
                                           [](const auto& a, const auto& b) { return a.median < b.median; });
    x_range = padded_range(low->median, high->median, padding_share, min_mags_shown);
  }
  SvgPlot plot(PlotLayout{.height = plot_height}, Axis{x_range, "median magnitude"},
               Axis{scale.range, panel.axis_title, false, scale.cap});
  if (scale.clipped) plot.horizontal_line(scale.cap, "off-scale", "above: off scale");
  auto shown = [&](double value) { return value > scale.cap ? scale.strip_value : value; };

  std::vector<DotPoint> others;
  int counts[3] = {0, 0, 0};
  for (const OverviewStar& s : stars) {
    ++counts[static_cast<int>(s.kind)];
    if (s.kind == StarKind::other) others.push_back({s.median, shown(s.value)});
  }
  plot.dots(others, "star");
  for (StarKind kind : {StarKind::index_flagged, StarKind::candidate})
    for (const OverviewStar& s : stars)
      if (s.kind == kind)
        plot.point(s.median, shown(s.value), kind == StarKind::candidate ? Marker::diamond : Marker::square,
                   kind == StarKind::candidate ? "candidate" : "index-flagged", star_title(s));

  if (stars.empty()) plot.note(std::string("No star has ") + panel.name + " in this run.");
  plot.legend({{Marker::disc, "star-key", "other stars (" + std::to_string(counts[0]) + ")"},
               {Marker::diamond, "candidate", "results table (" + std::to_string(counts[1]) + ")"},
               {Marker::square, "index-flagged", "flagged by the indices only (" + std::to_string(counts[2]) + ")"}});
  return plot.render("overview", std::string(panel.axis_title) + " against median magnitude, all stars");
}

}  // namespace

std::string overview_svgs(const DetectionResults& results, const std::vector<StarIndices>& indices) {
  const Panel score_panel{&StarIndices::iqr_score, "an IQR score", "IQR score"};
  const Panel iqr_panel{&StarIndices::iqr, "an IQR", "IQR (mag)"};
  const std::vector<OverviewStar> scored = stars_with_value(results, indices, score_panel);
  const std::vector<OverviewStar> measured = stars_with_value(results, indices, iqr_panel);
  if (scored.empty() && measured.empty()) {
    // Two empty plots would fill a screen with nothing: one low frame says why.
    const Axis no_ticks{{0, 1}, "", false, -std::numeric_limits<double>::infinity()};
    SvgPlot plot(PlotLayout{.height = empty_plot_height, .top = 8, .bottom = 8}, no_ticks, no_ticks);
    plot.note("No star has variability indices in this run.");
    return plot.render("overview", "No star has variability indices in this run.");
  }
  return panel_svg(scored, score_panel) + panel_svg(measured, iqr_panel);
}

}  // namespace varisift
