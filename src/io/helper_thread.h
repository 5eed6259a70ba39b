// Starting a helper thread for a share of the work. Where no thread can be
// started (the system is out of them), the caller gets none and does the
// work itself: the result is the same either way, only slower. Nothing is
// pinned to a core; the system places the thread.
#pragma once

#include <system_error>
#include <thread>
#include <utility>

namespace varisift {

// A thread running `work`, or an empty (not joinable) one.
template <typename Work>
std::thread start_helper_thread(Work&& work) {
  try {
    return std::thread(std::forward<Work>(work));
  } catch (const std::system_error&) {
    return std::thread();
  }
}

}  // namespace varisift
