// The files of a run, as the command line places them: the log and the
// catalogue beside it in the folder of the series, the report there too,
// unless options name other files. Every check that needs the file system is
// made here, before the first byte of the run is written.
#pragma once

#include <string>

#include "run/command_line.h"

namespace varisift {

struct RunFiles {
  std::string log;               // path of Skymensor.log
  std::string catalogue;         // path of the catalogue
  bool catalogue_named = false;  // by --vsx: read completely before the run
  std::string report;            // path of the report
  // The report's name in the message of a failed open: its plain name beside
  // the log, the path as given with --report.
  std::string report_shown;
};

// The files of the command line, or what is wrong with them: a folder that is
// not there, a report in a folder that is not there, a report that is the
// log or the catalogue. `error` is "" when they can be used.
RunFiles place_run_files(const CommandLine& command, std::string& error);

}  // namespace varisift
