// The units positions are held in, and the conversions between them: right
// ascension in milliseconds of time, declination in hundredths of an
// arcsecond (negative south).
#pragma once

#include <cstdint>
#include <numbers>

namespace varisift {

inline constexpr std::int64_t ms_per_hour = 3600000;
inline constexpr std::int64_t ms_per_minute = 60000;
inline constexpr std::int64_t ms_per_second = 1000;
inline constexpr std::int64_t centiarcsec_per_degree = 360000;
inline constexpr std::int64_t centiarcsec_per_arcminute = 6000;
inline constexpr std::int64_t centiarcsec_per_arcsecond = 100;

// A declination in 1/100 arcsec as radians: value / 360000 x pi / 180,
// evaluated in that order (the order fixes the last bit of every cosine).
inline double declination_radians(double centiarcsec) {
  return centiarcsec / static_cast<double>(centiarcsec_per_degree) * std::numbers::pi / 180.0;
}

// The angle between two positions on the sky, in arcseconds (haversine
// formula, exact for small separations and across 0h).
double separation_arcsec(std::int64_t ra_a, std::int64_t dec_a, std::int64_t ra_b, std::int64_t dec_b);

// Right ascension in degrees and declination in degrees.
inline double ra_degrees(std::int64_t ra_ms) { return static_cast<double>(ra_ms) / (ms_per_hour / 15.0); }
inline double dec_degrees(std::int64_t dec_centiarcsec) {
  return static_cast<double>(dec_centiarcsec) / static_cast<double>(centiarcsec_per_degree);
}

}  // namespace varisift
