// The low-precision Sun and the light time across the Earth's orbit.
#include "periods/heliocentric_time.h"

#include <cmath>
#include <numbers>

namespace varisift {

namespace {

constexpr double j2000 = 2451545.0;  // JD of 2000 January 1.5
constexpr double days_per_century = 36525;
constexpr double seconds_per_day = 86400;
// Light time for 1 au: 149,597,870,700 m (IAU 2012 Resolution B2) over
// 299,792,458 m/s.
constexpr double au_light_seconds = 499.004784;
// The mean obliquity of the ecliptic at J2000, degrees.
constexpr double obliquity_j2000 = 23.4393;
// The annual aberration the almanac's mean longitude includes (20.5"),
// removed for the Sun's geometric direction, degrees.
constexpr double aberration_deg = 0.00569;
// General precession in longitude, 5028.8" per century (Capitaine et al.
// 2003, A&A 412, 567), degrees per century.
constexpr double precession_deg_per_century = 1.3969;

double radians(double degrees) { return degrees * (std::numbers::pi / 180); }
double degrees(double radians) { return radians * (180 / std::numbers::pi); }

double within_circle(double degrees) {
  const double d = std::fmod(degrees, 360.0);
  return d < 0 ? d + 360 : d;
}

}  // namespace

SunPosition sun_position(double julian_date) {
  // Days from J2000; UT serves for TT, whose 69 s offset moves the result by
  // less than 0.01 s.
  const double n = julian_date - j2000;
  const double mean_longitude = within_circle(280.460 + 0.9856474 * n);
  const double mean_anomaly = radians(within_circle(357.528 + 0.9856003 * n));
  const double longitude_of_date = mean_longitude + 1.915 * std::sin(mean_anomaly) + 0.020 * std::sin(2 * mean_anomaly);
  SunPosition sun;
  sun.distance_au = 1.00014 - 0.01671 * std::cos(mean_anomaly) - 0.00014 * std::cos(2 * mean_anomaly);
  // The almanac's longitude is apparent and of the equinox of date; the
  // star's position is geometric and of J2000. Without this step the
  // precession since 2000 costs up to 6 s of light time by 2050.
  const double longitude =
      radians(longitude_of_date + aberration_deg - precession_deg_per_century * (n / days_per_century));
  const double obliquity = radians(obliquity_j2000);
  sun.ra_deg = within_circle(degrees(std::atan2(std::cos(obliquity) * std::sin(longitude), std::cos(longitude))));
  sun.dec_deg = degrees(std::asin(std::sin(obliquity) * std::sin(longitude)));
  return sun;
}

double heliocentric_correction(double julian_date, double ra_deg, double dec_deg) {
  const SunPosition sun = sun_position(julian_date);
  const double d = radians(dec_deg);
  const double d_sun = radians(sun.dec_deg);
  const double cosine =
      std::sin(d) * std::sin(d_sun) + std::cos(d) * std::cos(d_sun) * std::cos(radians(ra_deg - sun.ra_deg));
  return -sun.distance_au * au_light_seconds * cosine / seconds_per_day;
}

double heliocentric_julian_date(double julian_date, double ra_deg, double dec_deg) {
  return julian_date + heliocentric_correction(julian_date, ra_deg, dec_deg);
}

}  // namespace varisift
