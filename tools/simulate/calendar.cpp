// Day counts after the well-known era algorithm for the Gregorian calendar.
#include "calendar.h"

#include <cmath>

namespace varisift::simulate {

namespace {

constexpr std::int64_t days_per_era = 146097;
constexpr std::int64_t years_per_era = 400;
constexpr std::int64_t unix_epoch_shift = 719468;  // days from 0000-03-01 to 1970-01-01
constexpr std::int64_t millionths = 1000000;

std::int64_t floor_div(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) {
    --q;
  }
  return q;
}

}  // namespace

std::int64_t days_from_civil(int year, int month, int day) {
  const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
  const std::int64_t era = floor_div(y, years_per_era);
  const std::int64_t year_of_era = y - era * years_per_era;
  const std::int64_t shifted_month = month > 2 ? month - 3 : month + 9;
  const std::int64_t day_of_year = (153 * shifted_month + 2) / 5 + day - 1;
  const std::int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * days_per_era + day_of_era - unix_epoch_shift;
}

CalendarTime calendar_time(std::int64_t tenths) {
  CalendarTime t;
  const std::int64_t days = floor_div(tenths, tenths_per_day);
  std::int64_t rest = tenths - days * tenths_per_day;
  t.tenth = static_cast<int>(rest % tenths_per_second);
  rest /= tenths_per_second;
  t.second = static_cast<int>(rest % 60);
  t.minute = static_cast<int>((rest / 60) % 60);
  t.hour = static_cast<int>(rest / 3600);

  const std::int64_t z = days + unix_epoch_shift;
  const std::int64_t era = floor_div(z, days_per_era);
  const std::int64_t day_of_era = z - era * days_per_era;
  const std::int64_t year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t shifted_month = (5 * day_of_year + 2) / 153;
  t.day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  t.month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  t.year = static_cast<int>(year_of_era + era * years_per_era + (t.month <= 2 ? 1 : 0));
  return t;
}

std::int64_t tenths_at(int year, int month, int day, double hours) {
  const double hour_tenths = std::floor(hours * 3600.0 * tenths_per_second + 0.5);
  return days_from_civil(year, month, day) * tenths_per_day + static_cast<std::int64_t>(hour_tenths);
}

std::int64_t day_fraction_millionths(std::int64_t tenths) {
  const std::int64_t days = floor_div(tenths, tenths_per_day);
  const std::int64_t in_day = tenths - days * tenths_per_day;
  std::int64_t fraction = (in_day * millionths + tenths_per_day / 2) / tenths_per_day;
  if (fraction >= millionths) {
    fraction = millionths - 1;
  }
  return fraction;
}

}  // namespace varisift::simulate
