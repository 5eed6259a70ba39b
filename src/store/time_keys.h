// Time keys of the images: the time stamp text YYYYMMDDhhmmss, ordered as
// text, and the Julian-date key in units of 1/100000 day that gives time
// spans. Also the signed 16-bit extremes used by the later phases.
#pragma once

#include <cstdint>
#include <string_view>

namespace varisift {

// The unit of the Julian-date key: 1/100000 day.
inline constexpr std::int64_t julian_e5_per_day = 100000;

// Julian date x 100000 of a calendar date and time (Gregorian from 1582),
// evaluated in IEEE double exactly in the order of its formula and rounded
// to nearest, ties to even.
std::int64_t julian_e5(std::int16_t year, std::int16_t month, std::int16_t day, std::int16_t hour, std::int16_t minute,
                       std::int16_t second);

// julian_e5 of a time stamp text, each part read as a number and rounded to
// a 16-bit integer.
std::int64_t julian_e5_of_stamp(std::string_view stamp);

inline std::int16_t max16(std::int16_t a, std::int16_t b) { return a > b ? a : b; }
inline std::int16_t min16(std::int16_t a, std::int16_t b) { return a < b ? a : b; }

}  // namespace varisift
