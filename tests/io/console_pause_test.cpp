// The console waits for Enter only when Varisift is alone in a console of
// its own that is both its output and its input.
#include "io/console_pause.h"

#include <gtest/gtest.h>

namespace varisift {
namespace {

TEST(ConsolePause, WaitsOnlyAloneInAConsoleOfItsOwn) {
  struct Case {
    const char* start;
    ConsoleFacts console;
    bool waits;
  };
  const Case cases[] = {
      {"double click", {1, true, true, false}, true},
      {"from a shell, which shares the console", {2, true, true, false}, false},
      {"from a shell started by another program", {3, true, true, false}, false},
      {"without a console", {0, false, false, false}, false},
      {"output to a file or a pipe", {1, false, true, false}, false},
      {"input from a file: no one could press Enter", {1, true, false, false}, false},
      {"under Wine from a Unix terminal", {1, true, true, true}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(waits_for_enter(c.console), c.waits) << c.start;
}

TEST(ConsolePause, WithItsOutputCapturedItEndsAtOnce) {
  // The test runner captures the output, so on every system this returns
  // without a prompt (a wait here would end in the runner's time-out).
  wait_for_enter_in_own_console();
  SUCCEED();
}

}  // namespace
}  // namespace varisift
