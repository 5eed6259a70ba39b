// Placing stars, variables and the minor planet; see sky_field.h.
#include "sky_field.h"

#include <algorithm>
#include <cmath>

#include "calendar.h"
#include "portable_math.h"
#include "sky_geometry.h"

namespace varisift::simulate {

namespace {

constexpr double count_slope = 0.3;                // log10 N rises by 0.3 per magnitude
constexpr double catalogue_position_sigma = 0.05;  // arcseconds
constexpr double catalogue_mag_sigma = 0.03;
constexpr double variable_margin_mag = 2.0;  // variables at least this far above the limit

constexpr double pulsating_min_period = 0.05;  // days (1.2 hours)
constexpr double pulsating_max_period = 1.0;
constexpr double eclipsing_min_period = 0.3;
constexpr double eclipsing_max_period = 5.0;
constexpr double trend_min_period = 2.0;
constexpr double trend_max_period = 60.0;
constexpr double min_rise_fraction = 0.12;
constexpr double max_rise_fraction = 0.35;
constexpr double min_eclipse_half_width = 0.04;
constexpr double max_eclipse_half_width = 0.10;
constexpr double min_secondary_depth = 0.05;
constexpr double max_secondary_depth = 0.6;

constexpr double mover_min_mag = 15.5;
constexpr double mover_max_mag = 17.5;
constexpr double mover_track_fraction = 0.45;  // of the field side, each way from the middle
constexpr double mover_offset_fraction = 0.3;  // sideways offset of the track
constexpr double minutes_per_day = 1440.0;
constexpr double centi = 100.0;
constexpr double tenths = 10.0;
// Half-month letters of minor-planet designations (no I).
constexpr char half_month_letters[] = "ABCDEFGHJKLMNOPQRSTUVWXY";

double magnitude_from_counts(double bright, double faint, double u) {
  const double low = portable_pow10(count_slope * bright);
  const double high = portable_pow10(count_slope * faint);
  return portable_log10(low + u * (high - low)) / count_slope;
}

void set_variable(SkyObject& star, VariableKind kind, const SeriesOptions& options, Random& random) {
  star.kind = kind;
  star.amplitude_mag = random.log_uniform(options.min_amplitude_mag, options.max_amplitude_mag);
  star.phase = random.uniform();
  switch (kind) {
    case VariableKind::pulsating:
      star.period_days = random.log_uniform(pulsating_min_period, pulsating_max_period);
      star.shape = random.uniform(min_rise_fraction, max_rise_fraction);
      break;
    case VariableKind::eclipsing:
      star.period_days = random.log_uniform(eclipsing_min_period, eclipsing_max_period);
      star.shape = random.uniform(min_eclipse_half_width, max_eclipse_half_width);
      star.secondary_depth = random.uniform(min_secondary_depth, max_secondary_depth);
      break;
    case VariableKind::trend:
      star.period_days = random.log_uniform(trend_min_period, trend_max_period);
      break;
    case VariableKind::constant:
      star.amplitude_mag = 0;
      break;
  }
}

// Designations in the packed style of minor-planet reports.
void name_mover(MovingObject& mover, std::int64_t tenths_time, Random& random) {
  const CalendarTime t = calendar_time(tenths_time);
  const int half_month = (t.month - 1) * 2 + (t.day > 15 ? 1 : 0);
  const char letter = half_month_letters[half_month];
  const char order = static_cast<char>('A' + random.below(25));
  const int cycle = static_cast<int>(random.below(100));
  const int year = t.year % 100;
  std::string year_text = {static_cast<char>('0' + year / 10), static_cast<char>('0' + year % 10)};
  std::string cycle_text = {static_cast<char>('0' + cycle / 10), static_cast<char>('0' + cycle % 10)};
  mover.designation = "K" + year_text + letter + cycle_text + order;
  mover.long_designation = "K" + year_text + letter + "00" + cycle_text + order;
}

}  // namespace

std::vector<SkyObject> place_stars(const SeriesOptions& options, Random& random) {
  std::vector<SkyObject> stars;
  stars.reserve(static_cast<std::size_t>(options.stars));
  const double half = options.field_arcmin * 60.0 / 2.0;
  const double faint = options.limit_mag + options.faint_margin_mag;
  for (int i = 0; i < options.stars; ++i) {
    SkyObject star;
    const double xi = random.uniform(-half, half);
    const double eta = random.uniform(-half, half);
    position_at(options.center_ra_deg, options.center_dec_deg, xi, eta, star.ra_deg, star.dec_deg);
    star.mag = magnitude_from_counts(options.bright_mag, faint, random.uniform());
    star.catalogue_ra_error_arcsec = random.normal(0.0, catalogue_position_sigma);
    star.catalogue_dec_error_arcsec = random.normal(0.0, catalogue_position_sigma);
    star.catalogue_mag_error = random.normal(0.0, catalogue_mag_sigma);
    stars.push_back(star);
  }
  return stars;
}

void choose_variables(const SeriesOptions& options, std::vector<SkyObject>& objects, Random& random) {
  // Candidates: bright enough stars first, then the rest, each group in index order.
  std::vector<int> preferred;
  std::vector<int> others;
  for (int i = 0; i < static_cast<int>(objects.size()); ++i) {
    if (objects[static_cast<std::size_t>(i)].mag <= options.limit_mag - variable_margin_mag) {
      preferred.push_back(i);
    } else {
      others.push_back(i);
    }
  }
  // Partial Fisher-Yates shuffle of each group, preferred ones drawn first.
  const int wanted = std::min(options.variables, static_cast<int>(objects.size()));
  std::vector<int> chosen;
  for (std::vector<int>* group : {&preferred, &others}) {
    std::vector<int>& g = *group;
    for (std::size_t k = 0; k < g.size() && static_cast<int>(chosen.size()) < wanted; ++k) {
      const std::size_t pick = k + static_cast<std::size_t>(random.below(g.size() - k));
      std::swap(g[k], g[pick]);
      chosen.push_back(g[k]);
    }
  }
  for (std::size_t k = 0; k < chosen.size(); ++k) {
    const VariableKind kind = options.variable_kinds.empty()
                                  ? VariableKind::pulsating
                                  : options.variable_kinds[k % options.variable_kinds.size()];
    set_variable(objects[static_cast<std::size_t>(chosen[k])], kind, options, random);
  }
}

MovingObject plan_moving_object(const SeriesOptions& options, const std::vector<Image>& images, Random& random) {
  MovingObject mover;
  if (!options.moving_object || images.empty()) {
    return mover;
  }
  // The first night's span of time.
  const std::int64_t start = images.front().time_tenths;
  std::int64_t end = start;
  for (const Image& image : images) {
    if (image.night == images.front().night) {
      end = image.time_tenths;
    }
  }
  if (end - start < static_cast<std::int64_t>(options.cadence_seconds * tenths_per_second)) {
    end = start + static_cast<std::int64_t>(options.cadence_seconds * tenths_per_second) + 1;
  }
  const double days = static_cast<double>(end - start) / static_cast<double>(tenths_per_day);

  const double side = options.field_arcmin * 60.0;
  const double angle = random.uniform(0.0, 360.0);  // position angle, north through east
  const double east = portable_sin_deg(angle);
  const double north = portable_cos_deg(angle);
  const double sideways = random.uniform(-mover_offset_fraction, mover_offset_fraction) * side;
  const double start_xi = -mover_track_fraction * side * east + sideways * north;
  const double start_eta = -mover_track_fraction * side * north - sideways * east;
  const double track = 2.0 * mover_track_fraction * side;

  mover.present = true;
  position_at(options.center_ra_deg, options.center_dec_deg, start_xi, start_eta, mover.ra_deg, mover.dec_deg);
  mover.ra_rate_arcsec_per_day = track * east / days;
  mover.dec_rate_arcsec_per_day = track * north / days;
  mover.mag = random.uniform(mover_min_mag, mover_max_mag);
  mover.t0_tenths = start;
  mover.speed_centi_arcsec_per_min = static_cast<int>(std::llround(track / (days * minutes_per_day) * centi));
  mover.position_angle_tenths = static_cast<int>(std::llround(angle * tenths));
  name_mover(mover, start, random);
  return mover;
}

void moving_object_position(const MovingObject& mover, std::int64_t tenths_time, double& ra_deg, double& dec_deg) {
  const double days = static_cast<double>(tenths_time - mover.t0_tenths) / static_cast<double>(tenths_per_day);
  const double xi = mover.ra_rate_arcsec_per_day * days;
  const double eta = mover.dec_rate_arcsec_per_day * days;
  position_at(mover.ra_deg, mover.dec_deg, xi, eta, ra_deg, dec_deg);
}

}  // namespace varisift::simulate
