// The command line: `varisift [OPTIONS] [DIR]`. A small table of options,
// read by hand: each option once, its value after a blank or an "=", numbers
// in plain decimal exactly as the parameter block prints them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/parameters.h"
#include "export/export_request.h"

namespace varisift {

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
