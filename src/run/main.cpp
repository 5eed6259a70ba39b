// Varisift: finds probable variable stars in the measurement log of a series
// of sky images. `varisift --help` lists the options; see the README.
#include <csignal>
#include <cstdio>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "io/console_pause.h"
#include "run/program.h"

int main(int argc, char** argv) {
#ifdef _WIN32
  // Lines end in CR LF by themselves; the console must not add another CR.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
#ifdef SIGPIPE
  // A console that goes away (a closed pipe) must not end the run: writes
  // that fail are simply lost, and the report is still completed.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  std::vector<std::string_view> arguments;
  for (int k = 1; k < argc; ++k) arguments.emplace_back(argv[k]);
  const int status = varisift::run_program(stdout, stderr, arguments);
  varisift::wait_for_enter_in_own_console();
  return status;
}
