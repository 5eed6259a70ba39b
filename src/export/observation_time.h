// The time stamps an observation sent to the AAVSO may carry. The log's
// stamp becomes the Julian date of the DATE field, and the calendar
// arithmetic turns any digits into some date: month 13 or year 0 would reach
// the database as a plausible JD. Only a real calendar date and time between
// 1990 and 2100, the years of digital cameras, is taken.
#pragma once

#include <string_view>

namespace varisift {

// Whether stamp (YYYYMMDDhhmmss) is a date from 1990-01-01 to 2100-12-31
// with every field in its calendar range: month 1-12, the day within its
// month (29 February only in leap years), hour 0-23, minute and second 0-59.
bool submittable_time_stamp(std::string_view stamp);

}  // namespace varisift
