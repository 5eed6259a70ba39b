// The presets; see presets.h. "typical" is the default options unchanged.
#include "presets.h"

namespace varisift::simulate {

namespace {

constexpr double degrees_per_hour = 15.0;

SeriesOptions tiny() {
  SeriesOptions o;
  o.images = 8;
  o.stars = 30;
  o.variables = 3;
  o.field_arcmin = 6.0;
  o.vsx_filler = 5;
  o.spurious_per_image = 1;
  o.reference_stars = 20;
  return o;
}

SeriesOptions single() {
  SeriesOptions o;
  o.images = 1;
  o.stars = 50;
  o.variables = 2;
  o.moving_object = false;
  o.vsx_filler = 5;
  return o;
}

SeriesOptions cloudy() {
  SeriesOptions o;
  o.images = 60;
  o.stars = 400;
  o.cloudy_probability = 0.3;
  o.outlier_probability = 0.005;
  o.zero_point_drift_mag = 0.02;
  return o;
}

// The field of the period-search series: 900 stars at the density of the
// typical field (some 160 of them bright enough for variables) and 60
// variables with amplitudes of 0.1 to 2 mag, pulsating and eclipsing in turn
// and a trend after every four. Periods are drawn as everywhere (pulsating
// 1.2 h to 1 d, eclipsing 0.3 to 5 d, trends 2 to 60 d), so 20 seeds give
// about a hundred variables of each shape whose period the series can show.
SeriesOptions period_field() {
  SeriesOptions o;
  o.stars = 900;
  o.field_arcmin = 21.0;
  o.variables = 60;
  o.min_amplitude_mag = 0.1;
  o.variable_kinds = {VariableKind::pulsating, VariableKind::eclipsing, VariableKind::pulsating,
                      VariableKind::eclipsing, VariableKind::trend};
  return o;
}

// One night of 120 images, 10 hours at the usual 5-minute cadence.
SeriesOptions long_night() {
  SeriesOptions o = period_field();
  o.images = 120;
  return o;
}

// Three nights of 70 images (5.8 hours each, the last night one image short
// of 70 so the series stays within the reader's 209 images), each measured
// in its own session.
SeriesOptions three_nights() {
  SeriesOptions o = period_field();
  o.images = 209;
  o.images_per_night = 70;
  o.sessions = 3;
  return o;
}

// Ten nights of 20 images at a 10-minute cadence: 3.2 hours each, longer
// than the shortest periods, with the nights' daily gaps between them.
SeriesOptions ten_nights() {
  SeriesOptions o = period_field();
  o.images = 200;
  o.images_per_night = 20;
  o.cadence_seconds = 600.0;
  o.sessions = 10;
  return o;
}

// South of the equator by a few arcminutes: declinations "-00 ..", a few
// stars just north, nights that start after 0 h UT (hours " 1:" to " 9:").
SeriesOptions southern() {
  SeriesOptions o;
  o.center_ra_deg = 5.0 * degrees_per_hour + 35.0 / 4.0;
  o.center_dec_deg = -4.0 / 60.0;
  o.field_arcmin = 20.0;
  o.stars = 400;
  o.images = 50;
  o.nights = 2;
  o.night_start_hour = 1.0;
  o.flipped = FlipNote::no;
  o.line_ending = LineEnding::lf;
  return o;
}

// Several nights across the end of February of a leap year, four sessions
// that list some images again, some images measured twice, a mirrored
// camera and mixed line ends.
SeriesOptions sessions() {
  SeriesOptions o;
  o.images = 90;
  o.nights = 3;
  o.sessions = 4;
  o.relisted_images = 3;
  o.remeasure_probability = 0.05;
  o.start_year = 2020;
  o.start_month = 2;
  o.start_day = 27;
  o.night_start_hour = 20.5;
  o.flipped = FlipNote::horizontally;
  o.line_ending = LineEnding::mixed;
  return o;
}

// Two degrees from the north pole: one arcminute of field spans several
// minutes of right ascension.
SeriesOptions pole() {
  SeriesOptions o;
  o.center_ra_deg = 12.0 * degrees_per_hour;
  o.center_dec_deg = 88.0;
  o.field_arcmin = 20.0;
  o.images = 30;
  return o;
}

// Centred on 0 h: stars at 23h59m.. and 00h00m.., on New Year's Eve so the
// time stamps change date and year during the night.
SeriesOptions ra0() {
  SeriesOptions o;
  o.center_ra_deg = 0.0;
  o.center_dec_deg = 15.0;
  o.field_arcmin = 20.0;
  o.stars = 400;
  o.start_year = 2019;
  o.start_month = 12;
  o.start_day = 31;
  o.night_start_hour = 21.0;
  return o;
}

// The capacity of the reader: 209 images of 19999 lines each.
SeriesOptions full() {
  SeriesOptions o;
  o.images = 209;
  o.nights = 3;
  o.sessions = 3;
  o.stars = 29000;
  o.faint_margin_mag = 0.3;
  o.field_arcmin = 60.0;
  o.variables = 60;
  o.cloudy_probability = 0.02;
  o.vsx_filler = 2000;
  o.reference_stars = 200;
  o.spurious_per_image = 5;
  o.max_lines_per_image = 19999;
  return o;
}

struct Entry {
  Preset preset;
  SeriesOptions (*make)();
};

const std::vector<Entry>& entries() {
  static const std::vector<Entry> all = {
      {{"typical", "40 images of 300 stars in one night, 12 variables, a minor planet"},
       [] { return SeriesOptions{}; }},
      {{"tiny", "8 images of 30 stars, 3 variables"}, tiny},
      {{"single", "one image only"}, single},
      {{"cloudy", "60 images, about a third of them through clouds"}, cloudy},
      {{"long-night", "120 images in one night of 10 hours, 900 stars, 60 variables"}, long_night},
      {{"three-nights", "3 nights of 70 images (209 in all), 900 stars, 60 variables"}, three_nights},
      {{"ten-nights", "10 nights of 20 images (3.2 hours each), 900 stars, 60 variables"}, ten_nights},
      {{"southern", "field just south of the equator (-00 degrees), LF line ends"}, southern},
      {{"sessions", "3 nights, 4 sessions listing images again, images measured twice"}, sessions},
      {{"pole", "field at declination +88"}, pole},
      {{"ra0", "field across right ascension 0 h, night across New Year"}, ra0},
      {{"full", "209 images of 19999 lines (about 460 MB)"}, full},
  };
  return all;
}

}  // namespace

const std::vector<Preset>& presets() {
  static const std::vector<Preset> list = [] {
    std::vector<Preset> out;
    for (const Entry& e : entries()) {
      out.push_back(e.preset);
    }
    return out;
  }();
  return list;
}

bool apply_preset(std::string_view name, SeriesOptions& options) {
  for (const Entry& e : entries()) {
    if (e.preset.name == name) {
      const std::uint64_t seed = options.seed;
      options = e.make();
      options.seed = seed;
      return true;
    }
  }
  return false;
}

}  // namespace varisift::simulate
