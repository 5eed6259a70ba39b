// The run: every phase once, in order, over one observation store.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "base/parameters.h"
#include "export/export_request.h"
#include "run/exports.h"
#include "run/run_files.h"
#include "store/vsx_catalogue.h"

namespace varisift {

class ReportChannel;

// What a run is given: its files, its parameters, and a catalogue the user
// named, already read in full.
struct RunPlan {
  RunFiles files;
  DetectionParameters parameters;
  std::optional<VsxCatalogue> named_catalogue;
  // Written after a run that went to its end.
  ExportRequest exports;
  std::string folder_shown;  // the folder as given on the command line
};

// The eleven lines of the "Used parameters:" block.
std::vector<std::string> parameter_block(const DetectionParameters& parameters);

// The parameter block to the console and then to the report file, an empty
// line to each, and the "Used log file " line to both.
void write_parameter_block(ReportChannel& out, const DetectionParameters& parameters);

// Runs Varisift, writing progress to console, then the exports. Every path,
// the stops included, returns normally with everything flushed and closed.
ExportOutcome run_varisift(std::FILE* console, RunPlan plan);

}  // namespace varisift
