// The stop request of a watch, set by a signal handler.
#include "io/stop_request.h"

#include <atomic>
#include <csignal>
#include <thread>

namespace varisift {

namespace {

// The program's one piece of global state: a signal handler can reach
// nothing else. The flag is lock-free, as a handler needs (on Windows the
// handler runs on a thread of its own).
std::atomic<bool> stop_flag{false};
static_assert(std::atomic<bool>::is_always_lock_free);

// A stop is seen within this time; waking ten times a second costs a few
// microseconds of processor time per second.
constexpr std::chrono::milliseconds sleep_slice{100};

void note_stop_request(int signal_number) {
  stop_flag.store(true);
  // Windows resets a handler to the default before it runs, so a second
  // Ctrl+C would end the program in the middle of the final run.
  std::signal(signal_number, note_stop_request);
}

}  // namespace

void catch_stop_requests() {
  std::signal(SIGINT, note_stop_request);
#ifdef SIGBREAK
  std::signal(SIGBREAK, note_stop_request);
#endif
}

bool stop_requested() { return stop_flag.load(); }

bool sleep_until_stop_requested(std::chrono::steady_clock::time_point until) {
  for (;;) {
    if (stop_requested()) return true;
    const auto now = std::chrono::steady_clock::now();
    if (now >= until) return false;
    std::this_thread::sleep_for(until - now < sleep_slice ? until - now : sleep_slice);
  }
}

}  // namespace varisift
