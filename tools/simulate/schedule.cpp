// Nights, exposures, conditions and sessions; see schedule.h.
#include "schedule.h"

#include <algorithm>
#include <cmath>

#include "calendar.h"
#include "portable_math.h"
#include "text_format.h"

namespace varisift::simulate {

namespace {

constexpr double lost_night_probability = 0.25;
constexpr double first_exposure_spread_hours = 0.25;
constexpr double cadence_jitter = 0.05;          // relative
constexpr double seeing_step_fraction = 0.12;    // of the seeing range, per image
constexpr double airmass_extinction_max = 0.25;  // mag
constexpr double cloud_min_extinction = 0.8;
constexpr double cloud_max_extinction = 2.5;
constexpr double cloud_min_bias = 0.05;  // calibration left this much too faint
constexpr double cloud_max_bias = 0.30;
constexpr double cloud_max_gradient = 0.25;  // mag across the field
constexpr double drift_memory = 0.8;         // of the zero-point random walk
constexpr double pointing_sigma_arcsec = 3.0;
constexpr double morning_hour = 8.0;  // sessions start the morning after
constexpr double morning_spread_hours = 1.5;
constexpr std::int64_t min_session_gap_seconds = 2 * 3600;
constexpr std::int64_t session_gap_spread_seconds = 1800;
constexpr int file_number_digits = 4;
constexpr double minutes_per_degree_of_ra = 4.0;  // 24 h = 360 degrees

// Images per night, adding up to options.images.
std::vector<int> night_sizes(const SeriesOptions& options) {
  std::vector<int> sizes;
  if (options.images_per_night > 0) {
    for (int left = options.images; left > 0; left -= options.images_per_night) {
      sizes.push_back(std::min(left, options.images_per_night));
    }
    return sizes;
  }
  const int nights = std::clamp(options.nights, 1, options.images);
  for (int n = 0; n < nights; ++n) {
    sizes.push_back(options.images / nights + (n < options.images % nights ? 1 : 0));
  }
  return sizes;
}

std::string date_folder_text(std::int64_t tenths) {
  const CalendarTime t = calendar_time(tenths);
  std::string text;
  append_zero_padded(text, t.year, 4);
  text += '-';
  append_zero_padded(text, t.month, 2);
  text += '-';
  append_zero_padded(text, t.day, 2);
  return text;
}

void set_conditions(const SeriesOptions& options, Image& image, double& seeing, double& drift, Random& random) {
  const double range = options.seeing_max_arcsec - options.seeing_min_arcsec;
  seeing = std::clamp(seeing + random.normal(0.0, seeing_step_fraction * range + 0.01), options.seeing_min_arcsec,
                      options.seeing_max_arcsec);
  drift = drift_memory * drift + random.normal(0.0, options.zero_point_drift_mag);
  image.seeing_arcsec = seeing;
  image.zero_point_offset_mag = drift;
  image.extinction_mag = random.uniform(0.0, airmass_extinction_max);
  image.cloudy = random.chance(options.cloudy_probability);
  if (image.cloudy) {
    image.extinction_mag += random.uniform(cloud_min_extinction, cloud_max_extinction);
    image.zero_point_offset_mag += random.uniform(cloud_min_bias, cloud_max_bias);
    image.cloud_gradient_mag = random.uniform(-cloud_max_gradient, cloud_max_gradient);
  }
  image.pointing_ra_arcsec = random.normal(0.0, pointing_sigma_arcsec);
  image.pointing_dec_arcsec = random.normal(0.0, pointing_sigma_arcsec);
  // White noise keeps the draws (the same sky, seeing and clouds as the
  // realistic series of the seed) but drops what they would add to every
  // magnitude of the image.
  if (options.noise == NoiseModel::white) {
    image.zero_point_offset_mag = 0.0;
    image.cloud_gradient_mag = 0.0;
  }
}

}  // namespace

std::string default_field_name(double center_ra_deg, double center_dec_deg) {
  long long minutes = std::llround(center_ra_deg * minutes_per_degree_of_ra);
  minutes %= 24 * 60;
  if (minutes < 0) {
    minutes += 24 * 60;
  }
  std::string name = "F";
  append_zero_padded(name, minutes / 60, 2);
  append_zero_padded(name, minutes % 60, 2);
  name += center_dec_deg < 0 ? '-' : '+';
  append_zero_padded(name, static_cast<long long>(std::fabs(center_dec_deg)), 2);
  return name;
}

std::vector<Image> plan_images(const SeriesOptions& options, const std::string& field_name, Random& random) {
  std::vector<Image> images;
  const std::vector<int> sizes = night_sizes(options);
  const std::int64_t first_day = days_from_civil(options.start_year, options.start_month, options.start_day);
  std::int64_t day = first_day;
  double seeing = random.uniform(options.seeing_min_arcsec, options.seeing_max_arcsec);
  double drift = 0.0;
  int number = 0;
  for (int night = 0; night < static_cast<int>(sizes.size()); ++night) {
    if (night > 0) {
      day += random.chance(lost_night_probability) ? 2 : 1;
    }
    const double start_hours = options.night_start_hour + random.uniform(0.0, first_exposure_spread_hours);
    std::int64_t time =
        day * tenths_per_day + static_cast<std::int64_t>(std::floor(start_hours * 3600.0 * tenths_per_second));
    const std::string folder = "D:\\Astro\\" + field_name + "\\" + date_folder_text(time);
    for (int k = 0; k < sizes[static_cast<std::size_t>(night)]; ++k) {
      if (k > 0) {
        const double step = options.cadence_seconds * random.uniform(1.0 - cadence_jitter, 1.0 + cadence_jitter);
        time += static_cast<std::int64_t>(std::floor(step * tenths_per_second)) + 1;
      }
      Image image;
      ++number;
      image.name = field_name + "-";
      append_zero_padded(image.name, number, file_number_digits);
      image.name += "-V.fit";
      image.folder = folder;
      image.time_tenths = time;
      image.night = night;
      set_conditions(options, image, seeing, drift, random);
      images.push_back(image);
    }
  }
  return images;
}

std::vector<Session> plan_sessions(const SeriesOptions& options, const std::vector<Image>& images, Random& random) {
  std::vector<Session> sessions;
  const int count = static_cast<int>(images.size());
  if (count == 0) {
    return sessions;
  }
  const int session_count = std::clamp(options.sessions, 1, count);
  int first = 0;
  int previous_first = 0;
  std::int64_t previous_start = 0;
  for (int s = 0; s < session_count; ++s) {
    const int size = count / session_count + (s < count % session_count ? 1 : 0);
    Session session;
    if (s > 0) {
      const int relisted = std::clamp(options.relisted_images, 0, first - previous_first);
      for (int i = first - relisted; i < first; ++i) {
        session.images.push_back(i);
      }
    }
    for (int i = first; i < first + size; ++i) {
      session.images.push_back(i);
    }
    // The morning after the night of the run's last image (local clock).
    const Image& last = images[static_cast<std::size_t>(first + size - 1)];
    const std::int64_t night_day =
        last.time_tenths / tenths_per_day - (calendar_time(last.time_tenths).hour < 12 ? 1 : 0);
    const double hours = morning_hour + random.uniform(0.0, morning_spread_hours);
    std::int64_t start = (night_day + 1) * seconds_per_day + static_cast<std::int64_t>(hours * 3600.0);
    const std::int64_t after_last = last.time_tenths / tenths_per_second + min_session_gap_seconds;
    start = std::max(start, after_last);
    if (s > 0 && start < previous_start + min_session_gap_seconds) {
      start = previous_start + min_session_gap_seconds +
              static_cast<std::int64_t>(random.below(session_gap_spread_seconds));
    }
    session.start_seconds = start;
    for (int n = 0; n < static_cast<int>(session.images.size()); ++n) {
      PhotometryTable table;
      table.image = session.images[static_cast<std::size_t>(n)];
      table.number_in_session = n + 1;
      session.tables.push_back(table);
    }
    for (int n = 0; n < static_cast<int>(session.images.size()); ++n) {
      if (random.chance(options.remeasure_probability)) {
        PhotometryTable table;
        table.image = session.images[static_cast<std::size_t>(n)];
        table.number_in_session = n + 1;
        session.tables.push_back(table);
      }
    }
    sessions.push_back(session);
    previous_first = first;
    previous_start = start;
    first += size;
  }
  return sessions;
}

}  // namespace varisift::simulate
