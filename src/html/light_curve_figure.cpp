// What a light curve shows and how each measurement is drawn.
#include "html/light_curve_figure.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "detect/star_measurements.h"
#include "html/page_text.h"
#include "html/svg_plot.h"
#include "store/time_keys.h"
#include "store/value_text.h"
#include "text/decimal_text.h"

namespace varisift {

namespace {

constexpr std::int64_t e5_per_day = 100000;
constexpr double centimag_per_mag = 100;
// Room around the data: a share of the span on each side (more on the
// magnitudes, to keep the fences off the frame), and the smallest spans
// shown (a series of one image, a curve of equal magnitudes).
constexpr double time_padding_share = 0.03;
constexpr double magnitude_padding_share = 0.08;
constexpr double min_days_shown = 0.02;
constexpr double min_mags_shown = 0.2;
// Length of the date YYYYMMDD at the start of a time stamp, and of
// "YYYY-MM-" in the date as the page writes it.
constexpr std::size_t date_length = 8;
constexpr std::size_t month_length = 8;
// Images more than a quarter of a day apart belong to different nights: the
// gaps within a night (clouds, a change of field) are shorter, the day
// between two nights is longer.
constexpr std::int64_t night_gap_e5 = 25000;

// A night of the series: images in time order without a gap of more than
// night_gap_e5 between them, named by the UT dates of their time stamps
// ("2019-10-12", or "2019-10-12/13" for a night across 0 h UT).
struct Night {
  std::string first_date;  // YYYY-MM-DD
  std::string last_date;
  std::int64_t first_e5 = 0;
  std::int64_t last_e5 = 0;

  std::string label() const {
    if (last_date == first_date) return first_date;
    bool same_month = last_date.size() == first_date.size() && last_date.size() > month_length &&
                      last_date.compare(0, month_length, first_date, 0, month_length) == 0;
    return first_date + "/" + (same_month ? last_date.substr(month_length) : last_date);
  }
};

std::string ut_date(const std::string& stamp) {
  if (stamp.size() < date_length) return stamp;
  return stamp.substr(0, 4) + "-" + stamp.substr(4, 2) + "-" + stamp.substr(6, 2);
}

std::vector<Night> nights_of(const ObservationStore& store) {
  std::vector<Night> nights;
  for (std::size_t p = 1; p < store.image_order.size(); ++p) {
    const std::string& stamp = store.image_at(p).time;
    std::int64_t when = julian_e5_of_stamp(stamp);
    if (nights.empty() || when - nights.back().last_e5 > night_gap_e5 || when < nights.back().last_e5) {
      nights.push_back({ut_date(stamp), ut_date(stamp), when, when});
    } else {
      nights.back().last_date = ut_date(stamp);
      nights.back().last_e5 = when;
    }
  }
  return nights;
}

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

}  // namespace

std::string light_curve_svg(const ObservationStore& store, const StarResult& result) {
  const std::vector<StarMeasurement> measurements = star_measurements(store, result);
  const std::vector<Night> nights = nights_of(store);

  // Days are counted from the whole Julian day before the first image.
  std::int64_t series_first = nights.empty() ? 0 : nights.front().first_e5;
  std::int64_t series_last = series_first;
  for (const Night& n : nights) {
    series_first = std::min(series_first, n.first_e5);
    series_last = std::max(series_last, n.last_e5);
  }
  const std::int64_t day_zero = series_first / e5_per_day * e5_per_day;
  auto days = [&](std::int64_t julian_e5) { return static_cast<double>(julian_e5 - day_zero) / e5_per_day; };

  std::int16_t faintest = result.upper_fence;
  std::int16_t brightest = result.lower_fence;
  if (!result.has_statistics && !measurements.empty()) faintest = brightest = measurements.front().corrected;
  for (const StarMeasurement& m : measurements) {
    faintest = std::max(faintest, m.corrected);
    brightest = std::min(brightest, m.corrected);
  }

  Axis x{padded_range(days(series_first), days(series_last), time_padding_share, min_days_shown),
         "JD \u2212 " + std::to_string(day_zero / e5_per_day)};
  std::string magnitude_title = store.parameters.trend_correction != 0 ? "magnitude (trend-corrected)" : "magnitude";
  Axis y{
      padded_range(brightest / centimag_per_mag, faintest / centimag_per_mag, magnitude_padding_share, min_mags_shown),
      magnitude_title, true};
  SvgPlot plot(PlotLayout{}, x, y);

  // A night's band reaches a little beyond its first and last image, so that
  // a night of one image shows too.
  const double band_margin = std::max((x.range.high - x.range.low) / 200, 0.002);
  for (std::size_t i = 0; i < nights.size(); ++i)
    plot.band(days(nights[i].first_e5) - band_margin, days(nights[i].last_e5) + band_margin,
              i % 2 == 0 ? "night" : "night alt", nights[i].label());

  if (result.has_statistics) {
    plot.horizontal_line(result.median / centimag_per_mag, "median-line", "median " + magnitude_text(result.median));
    plot.horizontal_line(result.lower_fence / centimag_per_mag, "fence", "fence " + magnitude_text(result.lower_fence));
    plot.horizontal_line(result.upper_fence / centimag_per_mag, "fence", "fence " + magnitude_text(result.upper_fence));
  }

  int counts[3] = {0, 0, 0};
  for (const StarMeasurement& m : measurements) {
    UseStyle style = style_of(m.use);
    plot.point(days(m.julian_e5), m.corrected / centimag_per_mag, style.marker, style.css_class,
               point_title(store.images[m.image], m));
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
