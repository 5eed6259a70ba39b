// stars.csv: one row per identified star, in star number order, with what
// the report pass found for it, the catalogue entry nearest to it, the
// index columns beside the criteria, and the entry of the results table.
#pragma once

#include <string>
#include <vector>

#include "detect/star_results.h"
#include "export/export_data.h"
#include "store/observation_store.h"

namespace varisift {

// The whole file, header row first.
std::string stars_csv(const ObservationStore& store, const DetectionResults& results, const ExportData& data);

}  // namespace varisift
