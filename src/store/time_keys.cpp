// Julian-date keys of time stamps.
#include "store/time_keys.h"

#include <cmath>

#include "text/number_text.h"
#include "text/text.h"

namespace varisift {

namespace {
// The Gregorian correction applies to years after this one.
constexpr int last_julian_calendar_year = 1581;
// Julian date 1524.5 in key units: the offset of the day count below.
constexpr double key_offset = 152450000.0;
}  // namespace

std::int64_t julian_e5(std::int16_t year_in, std::int16_t month_in, std::int16_t day, std::int16_t hour,
                       std::int16_t minute, std::int16_t second) {
  int year = year_in;
  int month = month_in;
  if (month < 3) {
    month = month + 12;
    year = year - 1;
  }
  double a = 0.0;
  double b = 0.0;
  if (year > last_julian_calendar_year) {
    a = std::floor(year / 100.0);
    b = 2.0 - a + std::floor(a / 4.0);
  }
  double j = std::floor(365.25 * (year + 4716));
  j = j + std::floor(30.6001 * (month + 1));
  j = j + day;
  j = j + hour / 24.0;
  j = j + minute / 1440.0;
  j = j + second / 86400.0;
  j = j + b;
  return round_to_int64(j * static_cast<double>(julian_e5_per_day) - key_offset);
}

std::int64_t julian_e5_of_stamp(std::string_view stamp) {
  auto part = [&](int start, int width) { return round_to_s16(text_to_number(mid_text(stamp, start, width))); };
  return julian_e5(part(1, 4), part(5, 2), part(7, 2), part(9, 2), part(11, 2), part(13, 2));
}

}  // namespace varisift
