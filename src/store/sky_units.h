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

}  // namespace varisift
