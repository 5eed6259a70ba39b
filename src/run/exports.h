// Writing the exports after a run that went to its end: the CSV files, the
// AAVSO file and the HTML page, each only when asked for, each whether or
// not another could be written.
#pragma once

#include <string>
#include <vector>

#include "detect/star_results.h"
#include "export/export_request.h"
#include "html/html_report.h"
#include "store/observation_store.h"

namespace varisift {

// What the exports of a run did. Nothing was asked when the request held
// none; a run that stopped before its end wrote none.
struct ExportOutcome {
  bool asked = false;
  bool stopped = false;
  std::vector<std::string> failures;  // what could not be written, and why
  std::vector<std::string> written;   // what was written, as the user reads it
  // For a stopped run: the destinations that still hold an earlier run's files.
  std::vector<std::string> earlier;
};

// Writes every export of the request.
ExportOutcome write_exports(const ObservationStore& store, const DetectionResults& results,
                            const ExportRequest& request, const ReportPageContext& page);

// The outcome of a run that asked for exports and stopped before its end.
ExportOutcome stopped_before_exports(const ExportRequest& request);

}  // namespace varisift
