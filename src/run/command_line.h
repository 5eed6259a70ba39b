// The command line: `varisift [OPTIONS] [DIR]`. A small table of options,
// read by hand: each option once, its value after a blank or an "=", numbers
// in plain decimal exactly as the parameter block prints them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/parameters.h"
#include "export/export_request.h"

namespace varisift {

// The polls of a watch: every interval_seconds (2 s to an hour), and the
// watch ends by itself after idle_exit_seconds without growth of the log.
inline constexpr std::uint16_t default_watch_seconds = 30;
inline constexpr std::uint16_t min_watch_seconds = 2;
inline constexpr std::uint16_t max_watch_seconds = 3600;
inline constexpr std::uint32_t max_watch_idle_exit_seconds = 86400;

struct WatchSettings {
  std::uint16_t interval_seconds = default_watch_seconds;
  std::optional<std::uint32_t> idle_exit_seconds;
};

// What a command line asks for.
struct CommandLine {
  enum class Action { run, help, version };
  Action action = Action::run;

  // The folder of Skymensor.log as given ("." when none was).
  std::string folder = ".";
  bool folder_given = false;
  // Files named by options, as given (relative to the folder Varisift is
  // started in).
  std::optional<std::string> catalogue;
  std::optional<std::string> report;
  DetectionParameters parameters;
  // Files written after the run.
  ExportRequest exports;
  // With --watch, the exports are refreshed while the log grows (run/watch.h).
  bool watch = false;
  WatchSettings watch_settings;
  // Whether any option or folder was given: a run without arguments behaves
  // exactly as the program always has.
  bool any_argument = false;
};

// The command line, or what is wrong with it.
struct ParsedCommandLine {
  CommandLine command;
  std::string error;  // "" when the command line is right
};

// Reads the arguments after the program's name.
ParsedCommandLine parse_command_line(const std::vector<std::string_view>& arguments);

// The usage text of --help, lines without line ends.
std::vector<std::string> usage_lines();

}  // namespace varisift
