// generate_series: the steps of a simulation in order, each drawing from its
// own random stream of the seed.
#include <algorithm>
#include <thread>
#include <vector>

#include "calendar.h"
#include "catalogue.h"
#include "nightly_systematic.h"
#include "observe.h"
#include "random.h"
#include "schedule.h"
#include "series.h"
#include "sky_field.h"

namespace varisift::simulate {

namespace {

// Stream numbers of the parts of a series.
constexpr std::uint64_t field_stream = 1;
constexpr std::uint64_t variable_stream = 2;
constexpr std::uint64_t schedule_stream = 3;
constexpr std::uint64_t mover_stream = 4;
constexpr std::uint64_t session_stream = 5;
constexpr std::uint64_t catalogue_stream = 6;

constexpr double max_field_arcmin = 600.0;
constexpr double arcmin_per_degree = 60.0;
constexpr double pole_margin_deg = 0.01;
constexpr double min_cadence_seconds = 1.0;
constexpr int max_threads = 8;

int days_in_month(int year, int month) {
  const int next_year = month == 12 ? year + 1 : year;
  const int next_month = month == 12 ? 1 : month + 1;
  return static_cast<int>(days_from_civil(next_year, next_month, 1) - days_from_civil(year, month, 1));
}

SeriesOptions normalised(const SeriesOptions& input) {
  SeriesOptions o = input;
  o.images = std::max(o.images, 1);
  o.nights = std::max(o.nights, 1);
  o.images_per_night = std::max(o.images_per_night, 0);
  o.sessions = std::max(o.sessions, 1);
  o.relisted_images = std::max(o.relisted_images, 0);
  o.remeasure_probability = std::clamp(o.remeasure_probability, 0.0, 1.0);
  o.start_month = std::clamp(o.start_month, 1, 12);
  o.start_day = std::clamp(o.start_day, 1, days_in_month(o.start_year, o.start_month));
  o.cadence_seconds = std::max(o.cadence_seconds, min_cadence_seconds);
  o.field_arcmin = std::clamp(o.field_arcmin, 0.1, max_field_arcmin);
  const double half_deg = o.field_arcmin / arcmin_per_degree / 2.0;
  o.center_dec_deg =
      std::clamp(o.center_dec_deg, -90.0 + half_deg + pole_margin_deg, 90.0 - half_deg - pole_margin_deg);
  o.stars = std::max(o.stars, 0);
  o.variables = std::clamp(o.variables, 0, o.stars);
  o.faint_margin_mag = std::max(o.faint_margin_mag, 0.0);
  o.bright_mag = std::min(o.bright_mag, o.limit_mag + o.faint_margin_mag);
  o.dropout_width_mag = std::max(o.dropout_width_mag, 0.0);
  o.spurious_per_image = std::max(o.spurious_per_image, 0);
  o.min_amplitude_mag = std::max(o.min_amplitude_mag, 0.001);
  o.max_amplitude_mag = std::max(o.max_amplitude_mag, o.min_amplitude_mag);
  o.seeing_min_arcsec = std::max(o.seeing_min_arcsec, 0.5);
  o.seeing_max_arcsec = std::max(o.seeing_max_arcsec, o.seeing_min_arcsec);
  o.zero_point_drift_mag = std::max(o.zero_point_drift_mag, 0.0);
  o.cloudy_probability = std::clamp(o.cloudy_probability, 0.0, 1.0);
  o.outlier_probability = std::clamp(o.outlier_probability, 0.0, 1.0);
  o.nightly_systematic_mag = std::max(o.nightly_systematic_mag, 0.0);
  o.vsx_flag2_fraction = std::clamp(o.vsx_flag2_fraction, 0.0, 1.0);
  o.vsx_filler = std::max(o.vsx_filler, 0);
  o.max_lines_per_image = std::max(o.max_lines_per_image, 1);
  o.reference_stars = std::max(o.reference_stars, 0);
  return o;
}

// Every table draws from its own stream, so the tables can be measured in
// any order, and in parallel, with the same result.
void measure_all(Series& series) {
  struct Job {
    PhotometryTable* table;
    int repeat;
  };
  std::vector<Job> jobs;
  std::vector<int> repeats(series.images.size(), 0);
  for (Session& session : series.sessions) {
    for (PhotometryTable& table : session.tables) {
      jobs.push_back({&table, repeats[static_cast<std::size_t>(table.image)]++});
    }
  }
  const std::vector<StarPlace> places = star_places(series.options, series.objects);
  const unsigned hardware = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t workers =
      std::min<std::size_t>({static_cast<std::size_t>(hardware), static_cast<std::size_t>(max_threads), jobs.size()});
  auto work = [&series, &places, &jobs, workers](std::size_t first) {
    for (std::size_t j = first; j < jobs.size(); j += workers) {
      measure_table(series, places, jobs[j].repeat, *jobs[j].table);
    }
  };
  if (workers <= 1) {
    work(0);
    return;
  }
  std::vector<std::thread> threads;
  for (std::size_t w = 0; w < workers; ++w) {
    threads.emplace_back(work, w);
  }
  for (std::thread& t : threads) {
    t.join();
  }
}

}  // namespace

Series generate_series(const SeriesOptions& options) {
  Series series;
  series.options = normalised(options);
  const SeriesOptions& o = series.options;
  series.field_name = o.field_name.empty() ? default_field_name(o.center_ra_deg, o.center_dec_deg) : o.field_name;

  Random field_random(stream_seed(o.seed, field_stream));
  series.objects = place_stars(o, field_random);
  Random variable_random(stream_seed(o.seed, variable_stream));
  choose_variables(o, series.objects, variable_random);
  Random schedule_random(stream_seed(o.seed, schedule_stream));
  series.images = plan_images(o, series.field_name, schedule_random);
  set_nightly_systematic(o, series.images);
  Random mover_random(stream_seed(o.seed, mover_stream));
  series.mover = plan_moving_object(o, series.images, mover_random);
  Random session_random(stream_seed(o.seed, session_stream));
  series.sessions = plan_sessions(o, series.images, session_random);
  Random catalogue_random(stream_seed(o.seed, catalogue_stream));
  series.vsx = build_catalogue(o, series.objects, catalogue_random);
  measure_all(series);
  return series;
}

}  // namespace varisift::simulate
