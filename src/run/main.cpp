// Varisift: finds probable variable stars in the measurement log of a series
// of sky images. `varisift --help` lists the options; see the README.
#include <csignal>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "text/utf16_text.h"
#endif

#include "io/console_pause.h"
#include "run/program.h"

namespace {

int run(const std::vector<std::string>& texts) {
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
  const std::vector<std::string_view> arguments(texts.begin(), texts.end());
  const int status = varisift::run_program(stdout, stderr, arguments);
  varisift::wait_for_enter_in_own_console();
  return status;
}

}  // namespace

#ifdef _WIN32
// Windows hands the arguments over in UTF-16, whatever the ANSI code page:
// they become UTF-8 here, once, so that a name such as Łódź or 観測 reaches
// the program, its messages and the page as typed.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> texts;
  for (int k = 1; k < argc; ++k) {
    const std::wstring_view wide(argv[k]);
    texts.push_back(varisift::utf16_to_utf8(std::u16string(wide.begin(), wide.end())));
  }
  return run(texts);
}
#else
// The arguments' bytes are the names as the system knows them.
int main(int argc, char** argv) { return run(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
