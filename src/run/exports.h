// Writing the exports after a run that went to its end: the CSV files, the
// AAVSO file and the HTML page, each only when asked for.
#pragma once

#include <string>
#include <vector>

#include "detect/star_results.h"
#include "export/export_request.h"
#include "html/html_report.h"
#include "store/observation_store.h"

namespace varisift {

// Writes every export of the request. Returns "" when all were written, else
// what failed; `written` names what was written, as the user reads it.
std::string write_exports(const ObservationStore& store, const DetectionResults& results, const ExportRequest& request,
                          const ReportPageContext& page, std::vector<std::string>& written);

}  // namespace varisift
