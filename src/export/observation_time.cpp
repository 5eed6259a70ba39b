// Checking a time stamp against the calendar.
#include "export/observation_time.h"

namespace varisift {

namespace {

constexpr int first_year = 1990;
constexpr int last_year = 2100;
constexpr std::size_t stamp_length = 14;  // YYYYMMDDhhmmss

// The number of the digits at [start, start + count), -1 when one is no digit.
int digits_at(std::string_view stamp, std::size_t start, std::size_t count) {
  int value = 0;
  for (std::size_t k = start; k < start + count; ++k) {
    if (stamp[k] < '0' || stamp[k] > '9') return -1;
    value = value * 10 + (stamp[k] - '0');
  }
  return value;
}

bool leap_year(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int days_in_month(int year, int month) {
  constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && leap_year(year) ? 29 : days[month - 1];
}

}  // namespace

bool submittable_time_stamp(std::string_view stamp) {
  if (stamp.size() != stamp_length) return false;
  const int year = digits_at(stamp, 0, 4);
  const int month = digits_at(stamp, 4, 2);
  const int day = digits_at(stamp, 6, 2);
  const int hour = digits_at(stamp, 8, 2);
  const int minute = digits_at(stamp, 10, 2);
  const int second = digits_at(stamp, 12, 2);
  if (year < first_year || year > last_year) return false;
  if (month < 1 || month > 12) return false;
  if (day < 1 || day > days_in_month(year, month)) return false;
  return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

}  // namespace varisift
