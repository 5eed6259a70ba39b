// What a light curve shows and how each measurement is drawn.
#include "html/light_curve_figure.h"

#include <cstdint>
#include <string_view>
#include <vector>

#include "detect/star_measurements.h"
#include "html/magnitude_scale.h"
#include "html/night_panels.h"
#include "html/page_text.h"
#include "html/series_nights.h"
#include "html/svg_plot.h"
#include "store/value_text.h"

namespace varisift {

namespace {

struct UseStyle {
  Marker marker;
  const char* css_class;
  const char* legend;
  const char* title_note;
};

UseStyle style_of(MeasurementUse use) {
  switch (use) {
    case MeasurementUse::used:
      return {Marker::disc, "used", "used", ""};
    case MeasurementUse::outlier:
      return {Marker::triangle, "outlier", "outlier", ", outlier"};
    case MeasurementUse::bad_image:
      return {Marker::cross, "bad", "in an image judged bad", ", image judged bad"};
  }
  return {Marker::disc, "used", "used", ""};
}

std::string point_title(const Image& image, const StarMeasurement& m) {
  std::string title = latin1_to_utf8(image.name) + ", JD " + julian_date_text(m.julian_e5) + ", " +
                      magnitude_text(m.magnitude) + " mag";
  if (m.corrected != m.magnitude) title += " (corrected " + magnitude_text(m.corrected) + ")";
  return title + style_of(m.use).title_note;
}

// The time axis: a panel per night, captioned by the Julian day whose hours
// its ticks count.
std::vector<AxisPanel> time_panels(const std::vector<NightPanel>& panels) {
  std::vector<AxisPanel> axis;
  for (const NightPanel& panel : panels) {
    std::string day = std::to_string(panel.julian_day);
    axis.push_back({panel.hours, panel.left, panel.right, {"hours of JD " + day, "JD " + day}});
  }
  return axis;
}

// A reference value (the median, a fence) as a line across the plot, or as
// an arrow at the edge it lies beyond.
void reference_line(SvgPlot& plot, const MagnitudeScale& scale, std::int16_t value, std::string_view css_class,
                    const std::string& label) {
  const double mag = value / centimag_per_mag;
  switch (scale.beyond(mag)) {
    case Beyond::none:
      plot.horizontal_line(mag, css_class, label);
      return;
    case Beyond::bright:
      plot.edge_arrow(true, "edge-arrow", label);
      return;
    case Beyond::faint:
      plot.edge_arrow(false, "edge-arrow", label);
      return;
  }
}

}  // namespace

std::string light_curve_svg(const ObservationStore& store, const StarResult& result) {
  const std::vector<StarMeasurement> measurements = star_measurements(store, result);
  const SeriesNights series = nights_of(store);

  const PlotLayout layout;
  const std::vector<NightPanel> panels =
      night_panels(series.nights, static_cast<double>(layout.width - layout.left - layout.right));

  std::vector<double> magnitudes;
  for (const StarMeasurement& m : measurements) magnitudes.push_back(m.corrected / centimag_per_mag);
  const MagnitudeScale scale = magnitude_scale(magnitudes);
  std::string magnitude_title = store.parameters.trend_correction != 0 ? "magnitude (trend-corrected)" : "magnitude";
  SvgPlot plot(layout, time_panels(panels), Axis{scale.axis, magnitude_title, true, scale.shown.high, scale.shown.low});

  for (std::size_t i = 0; i < panels.size(); ++i)
    plot.band(panels[i].hours.low, panels[i].hours.high, i % 2 == 0 ? "night" : "night alt", series.nights[i].label(),
              i);
  if (scale.bright_strip) plot.horizontal_line(scale.shown.low, "off-scale", "above: off scale");
  if (scale.faint_strip) plot.horizontal_line(scale.shown.high, "off-scale", "below: off scale");

  if (result.has_statistics) {
    reference_line(plot, scale, result.median, "median-line", "median " + magnitude_text(result.median));
    reference_line(plot, scale, result.lower_fence, "fence", "fence " + magnitude_text(result.lower_fence));
    reference_line(plot, scale, result.upper_fence, "fence", "fence " + magnitude_text(result.upper_fence));
  }

  int counts[3] = {0, 0, 0};
  for (const StarMeasurement& m : measurements) {
    UseStyle style = style_of(m.use);
    const std::size_t night = series.night_of_image[m.image];
    plot.point(hours_after(panels[night].julian_day, m.julian_e5), scale.place(m.corrected / centimag_per_mag),
               style.marker, style.css_class, point_title(store.images[m.image], m), night);
    ++counts[static_cast<int>(m.use)];
  }

  std::vector<LegendEntry> legend;
  for (MeasurementUse use : {MeasurementUse::used, MeasurementUse::outlier, MeasurementUse::bad_image}) {
    UseStyle style = style_of(use);
    legend.push_back({style.marker, style.css_class,
                      std::string(style.legend) + " (" + std::to_string(counts[static_cast<int>(use)]) + ")"});
  }
  legend.push_back({Marker::disc, "fence", "outlier fences", true});
  plot.legend(legend);

  return plot.render("light-curve", "Light curve of star " + std::to_string(result.star));
}

}  // namespace varisift
