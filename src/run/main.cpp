// Varisift: finds probable variable stars in the measurement log of a series
// of sky images. No arguments, no configuration: see the README.
#include <csignal>
#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "run/run_driver.h"

int main() {
#ifdef _WIN32
  // Lines end in CR LF by themselves; the console must not add another CR.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
#ifdef SIGPIPE
  // A console that goes away (a closed pipe) must not end the run: writes
  // that fail are simply lost, and the report is still completed.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  varisift::run_varisift(stdout);
  return 0;
}
