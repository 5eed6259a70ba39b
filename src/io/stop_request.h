// Ctrl+C (and Ctrl+Break on Windows) asks a watch to end. The handler only
// notes the request; the watch sees it between its polls, so that a refresh
// under way finishes its files and the final run follows.
#pragma once

#include <chrono>

namespace varisift {

// From now on Ctrl+C and Ctrl+Break are noted instead of ending the program.
void catch_stop_requests();

// Whether Ctrl+C or Ctrl+Break was pressed since catch_stop_requests().
bool stop_requested();

// Sleeps until the time point in short slices, so that idling costs next to
// no processor time; returns true at once when a stop is requested.
bool sleep_until_stop_requested(std::chrono::steady_clock::time_point until);

}  // namespace varisift
