// The nightly airmass-like term; see nightly_systematic.h.
#include "nightly_systematic.h"

#include <algorithm>
#include <cmath>

#include "calendar.h"
#include "portable_math.h"

namespace varisift::simulate {

namespace {

constexpr double two_pi = 6.28318530717958647692;

// sin(altitude) = sin(latitude) sin(dec) + cos(latitude) cos(dec) cos(hour
// angle) for a field at declination +30 seen from latitude 45: 72 degrees
// high when it culminates, 21 degrees six hours away from it. One shape for
// every field keeps the term's meaning independent of where the field lies.
constexpr double fixed_altitude_term = 0.35355339059327376;  // sin 45 sin 30
constexpr double hour_angle_term = 0.61237243569579452;      // cos 45 cos 30
// Far from the meridian the field would set; the airmass stops growing at 10.
constexpr double lowest_sin_altitude = 0.1;
// Below this spread of airmass the series has no nightly shape to scale.
constexpr double least_airmass_range = 1e-9;

double airmass_at_hour_angle(double hour_angle_radians) {
  const double sin_altitude = fixed_altitude_term + hour_angle_term * portable_cos(hour_angle_radians);
  return 1.0 / std::max(sin_altitude, lowest_sin_altitude);
}

// The hour angle in radians, in (-pi, pi], of an instant when the field
// culminates each day at `culmination` (tenths of a second into the day).
double hour_angle(std::int64_t tenths, std::int64_t culmination) {
  std::int64_t from_meridian = (tenths - culmination) % tenths_per_day;
  if (from_meridian < 0) {
    from_meridian += tenths_per_day;
  }
  if (from_meridian > tenths_per_day / 2) {
    from_meridian -= tenths_per_day;
  }
  return two_pi * static_cast<double>(from_meridian) / static_cast<double>(tenths_per_day);
}

// Time of day of the middle of the first night.
std::int64_t middle_of_first_night(const std::vector<Image>& images) {
  std::int64_t last = images.front().time_tenths;
  for (const Image& image : images) {
    if (image.night == images.front().night) {
      last = image.time_tenths;
    }
  }
  const std::int64_t middle = images.front().time_tenths + (last - images.front().time_tenths) / 2;
  return middle % tenths_per_day;
}

}  // namespace

void set_nightly_systematic(const SeriesOptions& options, std::vector<Image>& images) {
  if (options.nightly_systematic_mag == 0.0 || images.empty()) {
    return;
  }
  const std::int64_t culmination = middle_of_first_night(images);
  std::vector<double> airmass;
  airmass.reserve(images.size());
  for (const Image& image : images) {
    airmass.push_back(airmass_at_hour_angle(hour_angle(image.time_tenths, culmination)));
  }
  const auto [lowest, highest] = std::minmax_element(airmass.begin(), airmass.end());
  const double range = *highest - *lowest;
  if (range < least_airmass_range) {
    return;
  }
  for (std::size_t i = 0; i < images.size(); ++i) {
    images[i].nightly_offset_mag = options.nightly_systematic_mag * (airmass[i] - *lowest) / range;
  }
}

}  // namespace varisift::simulate
