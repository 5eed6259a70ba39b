// The run: every phase once, in order, over one observation store.
#pragma once

#include <cstdint>
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

// A refresh of a watch (run/watch.h): the analysis of the log's first
// log_bytes bytes, exactly as a run on a copy of the log cut there, which
// writes nothing to the console or the report, only its exports; the page
// asks the browser to load it again after page_reload_seconds.
struct RefreshRun {
  std::uint64_t log_bytes = 0;
  std::uint16_t page_reload_seconds = 0;
};

// What a run is given: its files, its parameters, and a catalogue the user
// named, already read in full.
struct RunPlan {
  RunFiles files;
  DetectionParameters parameters;
  std::optional<VsxCatalogue> named_catalogue;
  // A catalogue read once for the runs of a watch, lent to each run and
  // given back at its end, with the console text its reading wrote.
  VsxCatalogue* lent_catalogue = nullptr;
  std::string lent_catalogue_text;
  std::optional<RefreshRun> refresh;
  // Written after a run that went to its end.
  ExportRequest exports;
  std::string folder_shown;  // the folder as given on the command line
};

// What a run found, for the console line of a watch.
struct RunFacts {
  std::string stop_line;  // why the run stopped; "" when it went to its end
  std::uint32_t images_with_table = 0;
  std::uint32_t stars = 0;
  std::vector<std::uint32_t> candidates;  // star numbers of the results table's candidates
};

// The banner at the top of the console.
void write_banner(ReportChannel& out);

// The eleven lines of the "Used parameters:" block.
std::vector<std::string> parameter_block(const DetectionParameters& parameters);

// The parameter block to the console and then to the report file, an empty
// line to each, and the "Used log file " line to both.
void write_parameter_block(ReportChannel& out, const DetectionParameters& parameters);

// Runs Varisift, writing progress to console, then the exports. Every path,
// the stops included, returns normally with everything flushed and closed.
// Facts, when asked for, tell what the run found.
ExportOutcome run_varisift(std::FILE* console, RunPlan plan, RunFacts* facts = nullptr);

}  // namespace varisift
