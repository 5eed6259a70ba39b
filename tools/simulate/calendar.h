// Civil dates and clock times of the simulated observations, from a count of
// tenths of a second since 1970-01-01 00:00:00.0 UT. Integer arithmetic only
// (proleptic Gregorian calendar), so every platform agrees.
#pragma once

#include <cstdint>

namespace varisift::simulate {

constexpr std::int64_t tenths_per_second = 10;
constexpr std::int64_t seconds_per_day = 86400;
constexpr std::int64_t tenths_per_day = seconds_per_day * tenths_per_second;

struct CalendarTime {
  int year = 1970;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int tenth = 0;
};

// Days since 1970-01-01 of a civil date (month 1-12, day 1-31).
std::int64_t days_from_civil(int year, int month, int day);

// The date and time of an instant in tenths of a second since 1970.
CalendarTime calendar_time(std::int64_t tenths);

// Tenths of a second since 1970 of a date and a time of day in hours.
std::int64_t tenths_at(int year, int month, int day, double hours);

// Fraction of the day of an instant in millionths (0..999999), rounded and
// kept below one day, as written in the dates of minor-planet reports.
std::int64_t day_fraction_millionths(std::int64_t tenths);

}  // namespace varisift::simulate
