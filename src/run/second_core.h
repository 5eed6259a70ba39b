// Starting work on the machine's second core. Where no thread can be
// started (the system is out of them), the caller gets none and does the
// work itself: the result is the same either way, only slower.
#pragma once

#include <system_error>
#include <thread>
#include <utility>

namespace varisift {

// A thread running `work`, or an empty (not joinable) one.
template <typename Work>
std::thread start_on_second_core(Work&& work) {
  try {
    return std::thread(std::forward<Work>(work));
  } catch (const std::system_error&) {
    return std::thread();
  }
}

}  // namespace varisift
