// The HTML report: one self-contained page with the run's header and
// parameters, the candidates table, a light curve per candidate with its
// period and an overview of a variability index against magnitude for all
// stars.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "detect/star_results.h"
#include "export/export_data.h"
#include "store/observation_store.h"

namespace varisift {

// What the page says about the run beyond the store.
struct ReportPageContext {
  std::string folder_shown;                  // the folder as given on the command line
  std::string run_time;                      // "MM-DD-YYYY HH:MM:SS" of the run header
  std::vector<std::string> parameter_lines;  // the "Used parameters:" block
  std::string version;                       // the program's version
  std::string passband;                      // the --filter code, empty without it
  // A watch's page loads itself again after this many seconds (0: never),
  // so that a browser left open follows the night.
  std::uint16_t reload_seconds = 0;
};

// The whole page, UTF-8 (the log's Latin-1 bytes converted).
std::string html_report(const ObservationStore& store, const DetectionResults& results, const ExportData& data,
                        const ReportPageContext& context);

}  // namespace varisift
