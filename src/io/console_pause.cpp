// Waiting for Enter in a console window that closes with the program.
#include "io/console_pause.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

#include <cstdio>
#include <string_view>

namespace varisift {

bool waits_for_enter(const ConsoleFacts& console) {
  return console.processes == 1 && console.output_is_console && console.input_is_console && !console.unix_terminal;
}

#ifdef _WIN32

namespace {

constexpr std::string_view enter_prompt = "Press Enter to close this window.\r\n";

// A handle that is a console (and not a file or a pipe) has a console mode.
bool is_console(DWORD standard_handle) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(standard_handle), &mode) != 0;
}

// Two places are enough to tell one process from more.
std::size_t console_process_count() {
  DWORD processes[2];
  return GetConsoleProcessList(processes, 2);
}

// Wine's system library names the Wine version; Windows' does not. A Unix
// terminal serves as Wine's console through a window that is never shown.
bool in_unix_terminal() {
  HMODULE system_library = GetModuleHandleA("ntdll.dll");
  bool under_wine = system_library != nullptr && GetProcAddress(system_library, "wine_get_version") != nullptr;
  HWND window = GetConsoleWindow();
  return under_wine && (window == nullptr || !IsWindowVisible(window));
}

}  // namespace

void wait_for_enter_in_own_console() {
  ConsoleFacts console;
  console.processes = console_process_count();
  console.output_is_console = is_console(STD_OUTPUT_HANDLE);
  console.input_is_console = is_console(STD_INPUT_HANDLE);
  console.unix_terminal = in_unix_terminal();
  if (!waits_for_enter(console)) return;
  std::fflush(stdout);
  std::fflush(stderr);
  DWORD written = 0;
  WriteConsoleA(GetStdHandle(STD_OUTPUT_HANDLE), enter_prompt.data(), static_cast<DWORD>(enter_prompt.size()), &written,
                nullptr);
  // The console reads a whole line: the read returns once Enter is pressed.
  char line[256];
  DWORD read = 0;
  ReadConsoleA(GetStdHandle(STD_INPUT_HANDLE), line, sizeof line, &read, nullptr);
}

#else

void wait_for_enter_in_own_console() {}

#endif

}  // namespace varisift
