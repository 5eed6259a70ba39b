// Keeping a console window open until the user has read it. Started by a
// double click, a console program gets a window of its own that closes the
// moment the program ends, so the user would see nothing of the run. When
// Varisift is alone in its console, it therefore waits for Enter before it
// ends. Started from a shell (which shares the console), with its output or
// input redirected, or anywhere but on Windows, it ends at once.
#pragma once

#include <cstddef>

namespace varisift {

// What the system tells about the console a run was started in.
struct ConsoleFacts {
  std::size_t processes = 0;       // processes attached to it, Varisift included; 0: no console
  bool output_is_console = false;  // standard output is the console, not a file or a pipe
  bool input_is_console = false;   // standard input is the console, so Enter can be pressed
  // Under Wine, started from a Unix terminal: the shell there is no Windows
  // process, so Varisift seems alone in a console that has no window.
  bool unix_terminal = false;
};

// The rule: wait only when Varisift is alone in a console of its own that is
// both its output and its input.
bool waits_for_enter(const ConsoleFacts& console);

// Asks the system for the facts and, where the rule holds, prompts and waits
// for Enter on the console.
void wait_for_enter_in_own_console();

}  // namespace varisift
