// The simulate program's command line: a preset, then options that override
// it, the output folder and what else to write.
#pragma once

#include <string>
#include <vector>

#include "series.h"

namespace varisift::simulate {

struct CommandLine {
  SeriesOptions options;      // the preset (if any) with the options applied
  std::string out_dir = ".";  // folder for Skymensor.log and vsx.dat
  bool write_truth = false;   // also write truth.txt
  bool show_help = false;
  bool list_presets = false;
  std::string error;  // empty when the command line is good
};

// Reads the arguments (without the program name). The preset is applied
// first wherever it stands, so "--images 5 --preset tiny" gives 5 images.
CommandLine parse_command_line(const std::vector<std::string>& args);

// The help text.
std::string usage_text();

}  // namespace varisift::simulate
