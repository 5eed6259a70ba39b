// The local date and time of the run header.
#pragma once

#include <ctime>
#include <string>

namespace varisift {

// MM-DD-YYYY of the given local time, for example 12-07-2026.
std::string date_text(const std::tm& local);
// HH:MM:SS on the 24-hour clock, for example 09:05:30.
std::string time_text(const std::tm& local);
// The machine's local time now.
std::tm local_time_now();

}  // namespace varisift
